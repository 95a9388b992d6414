#pragma once
// Command-line parsing shared by the verbs of kestrund-cli: positional arguments and
// "--name value" / "--name=value" options declared per verb.

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestrund::cli {

// A command line that does not fit the verb's usage (exit status 2).
class ECliUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TCliOption {
    std::string_view Name; // with the leading "--"
    bool TakesValue = true;
    bool Repeatable = false;
};

class TCliArgs {
public:
    // Raises ECliUsageError for unknown options, missing values and options given twice
    // that may appear only once. "--" ends the options.
    TCliArgs(std::span<const std::string> args, std::span<const TCliOption> options);

    const std::vector<std::string>& Positionals() const { return FPositionals; }
    bool Has(std::string_view name) const;
    std::optional<std::string> Value(std::string_view name) const;
    // Every value of a repeatable option, in command-line order.
    std::vector<std::string> Values(std::string_view name) const;

    // Requires exactly these positional arguments (names are for the message).
    void ExpectPositionals(std::initializer_list<std::string_view> names) const;

private:
    std::vector<std::string> FPositionals;
    std::vector<std::pair<std::string, std::string>> FOptions;
};

// "--mode 555|565": 0 or 1, 0 when absent.
std::uint8_t ParseColorModeOption(const TCliArgs& args);

} // namespace kestrund::cli
