#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The running processes the program may see (on Linux: the current user's, zombies excluded).
// src/platform implements it over /proc; tests use a fake.
class IProcessTable {
public:
    struct Entry {
        std::uint32_t Pid = 0;
        std::string ExeName;  // file name of the executable, no folder part
        std::string ExePath;  // full path of the executable, when known
    };

    virtual ~IProcessTable() = default;
    // A snapshot in table order; empty when it cannot be taken.
    virtual std::vector<Entry> Snapshot() const = 0;
    // Asks the process to end (it may then finish its output) and makes sure it is gone a short
    // while later. False when the request could not be delivered.
    virtual bool Terminate(std::uint32_t pid) = 0;
};
