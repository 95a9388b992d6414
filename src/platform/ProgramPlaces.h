#pragma once
// Where a program finds the files it ships with: installed (<prefix>/bin beside
// <prefix>/share/kestrund) or run from the build tree (the build's demo set, the source
// tree's help pages). Everything is found from the program's own location.

#include <string>

namespace kestrund {

struct TProgramPlaces {
    bool Installed = false;
    std::string DemoSet;    // the demo set's gtset555.til; empty when there is none
    std::string HelpFolder; // the help pages (index.html); empty when there are none
};

// The data folder of an installed program: programPath's folder is named bin and
// ../share/kestrund beside it is a folder; else empty.
std::string InstalledDataFolder(const std::string& programPath);

TProgramPlaces FindProgramPlaces(const std::string& programPath);

// The running program's file, from the system when it says (Linux), else argv0 made absolute.
std::string RunningProgramPath(const char* argv0);

// The lines --help ends with: where the demo set and the help pages are.
std::string ProgramPlacesText(const TProgramPlaces& places);

} // namespace kestrund
