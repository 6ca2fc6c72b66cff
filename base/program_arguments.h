#pragma once

#include <string>
#include <vector>

// The command line as UTF-8 text, the program's name first. On Windows argv
// is in the system's code page, where a name such as "日本" has no letters:
// the words are read from the wide command line there.
std::vector<std::string> ProgramArguments(int argc, char** argv);
