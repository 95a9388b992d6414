#include "CliArgs.h"

#include <algorithm>

namespace kestrund::cli {

TCliArgs::TCliArgs(std::span<const std::string> args, std::span<const TCliOption> options)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            if (!optionsEnded && arg.size() > 1 && arg[0] == '-')
                throw ECliUsageError("unknown option '" + arg + "'");
            FPositionals.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const TCliOption& o) { return o.Name == name; });
        if (option == options.end())
            throw ECliUsageError("unknown option '" + name + "'");
        if (!option->Repeatable && Has(name))
            throw ECliUsageError("option '" + name + "' given more than once");
        std::string value;
        if (option->TakesValue) {
            if (equals != std::string::npos)
                value = arg.substr(equals + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else
                throw ECliUsageError("option '" + name + "' needs a value");
        } else if (equals != std::string::npos) {
            throw ECliUsageError("option '" + name + "' takes no value");
        }
        FOptions.emplace_back(name, std::move(value));
    }
}

bool TCliArgs::Has(std::string_view name) const
{
    return std::any_of(FOptions.begin(), FOptions.end(), [&](const auto& o) { return o.first == name; });
}

std::optional<std::string> TCliArgs::Value(std::string_view name) const
{
    for (auto it = FOptions.rbegin(); it != FOptions.rend(); ++it)
        if (it->first == name)
            return it->second;
    return std::nullopt;
}

std::vector<std::string> TCliArgs::Values(std::string_view name) const
{
    std::vector<std::string> values;
    for (const auto& o : FOptions)
        if (o.first == name)
            values.push_back(o.second);
    return values;
}

void TCliArgs::ExpectPositionals(std::initializer_list<std::string_view> names) const
{
    if (FPositionals.size() < names.size())
        throw ECliUsageError("missing " + std::string(names.begin()[FPositionals.size()]));
    if (FPositionals.size() > names.size())
        throw ECliUsageError("unexpected argument '" + FPositionals[names.size()] + "'");
}

std::uint8_t ParseColorModeOption(const TCliArgs& args)
{
    const std::optional<std::string> mode = args.Value("--mode");
    if (!mode || *mode == "555")
        return 0;
    if (*mode == "565")
        return 1;
    throw ECliUsageError("--mode must be 555 or 565, not '" + *mode + "'");
}

} // namespace kestrund::cli
