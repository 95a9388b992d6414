#pragma once
// Reading a script and its pictures into a tile set. The import goes on past bad
// elements, logging each, and stops only where the script's frame is broken.

#include "Errors.h"
#include "ImportLog.h"
#include "TileFile.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kestrund {

// Result codes of an import.
enum : int {
    srSuccess = 0,
    srNotAScript = 1,
    srColors = 2,
    srTileRuleCount = 3, // then 4 borders, 5 tiles, 6 rivers, 7 improvements, 8 variation rules
    srImprovementLine = 13,
    srReadError = 15,
    srRunning = 16,
    srElementErrors = 17,
};

// Ends an import early where it cannot go on (for example the script ends in the
// middle of a section). What was imported so far stays in the set.
class EScriptImportError : public EKestrundError {
public:
    using EKestrundError::EKestrundError;
};

// Where a long import has got to: section 0..5, element number within the section.
struct TImportProgress {
    int Section;
    std::size_t Element;
    std::size_t Count;
};
using TImportProgressFn = std::function<void(const TImportProgress&)>;

// Simple level: messages go into log (the caller writes the file), none when null.
int ImportScript(TTileFile& set, const std::string& fileName, std::vector<std::string>* log, bool append,
                 const TImportProgressFn& progress = {});

// Extensive (1) or Total (2) level: the import writes the log file itself. Raises
// EScriptNameError, before anything is read or written, when the log is the script.
int ImportScriptLogged(TTileFile& set, const std::string& fileName, const std::string& logFileName, bool append,
                       int level, const TImportProgressFn& progress = {});

} // namespace kestrund

namespace kestrund {

// The editor's and the command line's import: by log level (anything but 1 and 2 is
// the Simple level, whose log the function writes to logFileName afterwards). When
// the import fails unexpectedly (or its log cannot be written: ELogWriteError) the set
// is put back as it was before and the failure is raised again. A log that would be
// the script itself is refused first (EScriptNameError), with nothing read or written.
int ImportScriptInto(TTileFile& set, const std::string& fileName, const std::string& logFileName, bool append,
                     int logLevel, const TImportProgressFn& progress = {});

} // namespace kestrund
