#pragma once
// The command lines the program answers without opening its window.

#include <optional>
#include <string>

// The text `--help` or `--version`, given alone, prints to standard output;
// nothing for every other command line, which starts the window.
std::optional<std::string> InformationRequested(int argc, const char* const argv[]);
