#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

// The text of /proc/<pid>/<name> (at most `limit` bytes); nothing when it cannot be read,
// which for a process that has just ended is the normal case.
std::optional<std::string> ReadProcFile(pid_t pid, const char* name, std::size_t limit = 8192);

// The real user id from /proc/<pid>/status; nothing when it cannot be read.
std::optional<uid_t> ReadRealUid(pid_t pid);

// The full path of the running executable, without the " (deleted)" the kernel adds when the
// file has been removed; nothing when it cannot be read (kernel threads, other users).
std::optional<std::string> ReadExecutablePath(pid_t pid);
