#pragma once

#include <string>

// The program's file version ("1.4.0.0"), carried by the build.
std::string ProgramFileVersion();

// Major and minor number of the program's file version joined by "." ("1.4"); empty when the
// version has fewer than two parts.
std::string GetFileVersionText();
