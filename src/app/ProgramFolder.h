#pragma once

#include <string>

// The folder of the running executable (/proc/self/exe), with its trailing "/".
std::string ProgramFolder();

// The user's home folder from the password database, with its trailing "/"; "/" when the
// database has no entry for the user.
std::string HomeFolder();
