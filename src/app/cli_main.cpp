// kestrund-cli: the editor's file work without windows.

#include "CliCommands.h"
#include "ProgramPlaces.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto places = kestrund::FindProgramPlaces(kestrund::RunningProgramPath(argv[0]));
    return kestrund::cli::RunCli(args, std::cout, std::cerr, kestrund::ProgramPlacesText(places));
}
