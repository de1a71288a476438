#pragma once

#include <string>
#include <vector>

// Takes an encoder command line apart into the program's path and its arguments.
//
// The program's path stands unquoted at the start of the line and may hold blanks. As a
// Windows process start does, the first blank-separated word is taken as the program when it
// names an existing regular file; otherwise the next word is added (with the blanks between
// them as they are) until the words name one. A word without "/" is looked for in
// `programFolder`. A line that starts with a double quote names its program inside the quotes.
// What follows the program goes through SplitCommandLine.
//
// The result's first element is the program's path; empty when no program is found or the
// line is empty.
std::vector<std::string> ResolveEncoderArguments(const std::string& commandLine,
                                                 const std::string& programFolder);
