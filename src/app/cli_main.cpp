// kestrund-cli: the editor's file work without windows.

#include "CliCommands.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kestrund::cli::RunCli(args, std::cout, std::cerr);
}
