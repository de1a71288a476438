#include "platform/ProcFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace {

std::string ProcPath(pid_t pid, const char* name) {
    return "/proc/" + std::to_string(pid) + "/" + name;
}

}  // namespace

std::optional<std::string> ReadProcFile(pid_t pid, const char* name, std::size_t limit) {
    const std::string path = ProcPath(pid, name);
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    std::string text;
    char buffer[4096];
    bool failed = false;
    while (text.size() < limit) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failed = true;
            break;
        }
        if (got == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(descriptor);  // read-only: nothing is lost if this reports an error
    if (failed) {
        return std::nullopt;
    }
    if (text.size() > limit) {
        text.resize(limit);
    }
    return text;
}

std::optional<uid_t> ReadRealUid(pid_t pid) {
    const auto status = ReadProcFile(pid, "status");
    if (!status) {
        return std::nullopt;
    }
    const std::size_t line = status->find("\nUid:");
    if (line == std::string::npos) {
        return std::nullopt;
    }
    const char* start = status->c_str() + line + 5;
    char* end = nullptr;
    const unsigned long value = std::strtoul(start, &end, 10);
    if (end == start) {
        return std::nullopt;
    }
    return static_cast<uid_t>(value);
}

std::optional<std::string> ReadExecutablePath(pid_t pid) {
    const std::string link = ProcPath(pid, "exe");
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
        return std::nullopt;
    }
    target.resize(static_cast<std::size_t>(length));
    constexpr std::string_view kDeleted = " (deleted)";
    if (target.size() > kDeleted.size() && target.ends_with(kDeleted)) {
        target.resize(target.size() - kDeleted.size());
    }
    return target;
}
