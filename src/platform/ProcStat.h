#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>

// What the program reads from /proc/<pid>/stat.
struct ProcStat {
    char State = '?';              // 'R', 'S', 'Z', ...
    std::uint64_t Flags = 0;       // the kernel's PF_* flags
    std::uint64_t StartTime = 0;   // clock ticks after boot; tells a reused pid apart
};

// Nothing when the process is gone or the file cannot be read.
std::optional<ProcStat> ReadProcStat(pid_t pid);

// Parses the text of a stat file; nothing when it is malformed.
std::optional<ProcStat> ParseProcStat(const char* text);
