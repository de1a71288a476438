#include "platform/ProcStat.h"

#include "platform/ProcFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

std::optional<ProcStat> ParseProcStat(const char* text) {
    // "pid (comm) state ppid ...": the name may hold blanks and parentheses, so the fields
    // start after the last ')'.
    const char* close = std::strrchr(text, ')');
    if (close == nullptr || close[1] != ' ' || close[2] == '\0') {
        return std::nullopt;
    }
    ProcStat stat;
    stat.State = close[2];

    // Fields counted from 1: state is 3, flags 9, start time 22.
    const char* cursor = close + 3;
    for (int field = 4; field <= 22; ++field) {
        while (*cursor == ' ') {
            ++cursor;
        }
        if (*cursor == '\0') {
            return std::nullopt;
        }
        char* end = nullptr;
        errno = 0;
        const unsigned long long value = std::strtoull(cursor, &end, 10);
        if (end == cursor) {  // strtoull also takes the "-1" of fields like tpgid
            return std::nullopt;
        }
        if (field == 9) {
            stat.Flags = value;
        } else if (field == 22) {
            if (errno == ERANGE) {
                return std::nullopt;
            }
            stat.StartTime = value;
        }
        cursor = end;
    }
    return stat;
}

std::optional<ProcStat> ReadProcStat(pid_t pid) {
    const auto text = ReadProcFile(pid, "stat", 4096);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    return ParseProcStat(text->c_str());
}
