#pragma once

#include <stdexcept>
#include <string>

// A text that had to be a number was none (a strict integer piece, a lone dot).
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, created, written or closed; the message names the file.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
