#include "base/program_arguments.h"

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }
