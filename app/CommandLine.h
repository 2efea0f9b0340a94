#pragma once
#include <string>
#include <vector>

// The paths given on a command line, as Windows quotes them, each made full from the current
// folder. The first word, the program itself, is not one of them.
std::vector<std::string> PathsOnCommandLine(const std::wstring& commandLine);
