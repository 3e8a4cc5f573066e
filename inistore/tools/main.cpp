// The `txini` command-line tool: see inicommand.h for the commands and exit statuses.

#include <iostream>
#include <string>
#include <vector>

#include "inicommand.h"

int main(int argc, char **argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    txini::IniCommand command(std::cout, std::cerr);
    return command.run(arguments);
}
