#include "platform/ProcProcessTable.h"

#include "platform/ProcFiles.h"
#include "platform/ProcStat.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>

namespace {

constexpr std::uint64_t kKernelThreadFlag = 0x00200000;  // PF_KTHREAD

// The pid a /proc entry stands for, or 0 for the other entries.
pid_t PidOfEntry(const char* name) {
    long value = 0;
    for (const char* c = name; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || value > INT_MAX / 10) {
            return 0;
        }
        value = value * 10 + (*c - '0');
    }
    return value > INT_MAX ? 0 : static_cast<pid_t>(value);
}

bool IsGone(const ProcStat& stat) { return stat.State == 'Z' || stat.State == 'X'; }

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Fills the entry for one process; false when it is not one to list.
bool DescribeProcess(pid_t pid, uid_t user, IProcessTable::Entry& entry) {
    const auto uid = ReadRealUid(pid);
    if (!uid || *uid != user) {
        return false;
    }
    const auto stat = ReadProcStat(pid);
    if (!stat || IsGone(*stat) || (stat->Flags & kKernelThreadFlag) != 0) {
        return false;
    }
    entry.Pid = static_cast<std::uint32_t>(pid);
    if (const auto path = ReadExecutablePath(pid)) {
        entry.ExePath = *path;
        entry.ExeName = FileNamePart(*path);
        return true;
    }
    auto command = ReadProcFile(pid, "comm", 64);
    if (!command) {
        return false;
    }
    while (!command->empty() && command->back() == '\n') {
        command->pop_back();
    }
    entry.ExeName = *command;
    return true;
}

}  // namespace

bool IsSignallablePid(std::uint32_t pid) {
    return pid > 0 && pid <= static_cast<std::uint32_t>(INT_MAX);
}

ProcProcessTable::ProcProcessTable(std::chrono::milliseconds killDelay)
    : delayedKill_(killDelay) {}

std::vector<IProcessTable::Entry> ProcProcessTable::Snapshot() const {
    std::vector<Entry> entries;
    DIR* directory = ::opendir("/proc");
    if (directory == nullptr) {
        return entries;
    }
    const uid_t user = ::getuid();
    while (const dirent* item = ::readdir(directory)) {
        const pid_t pid = PidOfEntry(item->d_name);
        if (pid <= 0) {
            continue;
        }
        Entry entry;
        if (DescribeProcess(pid, user, entry)) {
            entries.push_back(std::move(entry));
        }
    }
    ::closedir(directory);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.Pid < b.Pid; });
    return entries;
}

bool ProcProcessTable::Terminate(std::uint32_t pid) {
    if (!IsSignallablePid(pid)) {
        return false;
    }
    const auto target = static_cast<pid_t>(pid);
    const auto uid = ReadRealUid(target);
    const auto stat = ReadProcStat(target);
    if (!uid || *uid != ::getuid() || !stat) {
        return false;  // gone, or not one of ours
    }
    if (IsGone(*stat)) {
        return true;  // it has ended already
    }
    if (delayedKill_.IsScheduled(target, stat->StartTime)) {
        return true;  // already asked; a second SIGTERM would cut its trailer short
    }
    if (::kill(target, SIGTERM) != 0) {
        return false;
    }
    delayedKill_.Schedule(target, stat->StartTime);
    return true;
}
