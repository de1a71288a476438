#pragma once

#include "conversion/ProcessTable.h"
#include "platform/DelayedKill.h"

#include <chrono>
#include <cstdint>

// The current user's processes from /proc, in ascending pid order; processes that have ended
// and wait to be reaped, and kernel threads, are left out. ExeName is the executable's file
// name (the kernel's 15-character command name only when the executable cannot be read).
//
// Terminate sends SIGTERM at once, so an encoder can still finish its file, and SIGKILL after
// `killDelay` to the same process if it is still there; the caller never waits for that.
class ProcProcessTable : public IProcessTable {
public:
    static constexpr std::chrono::milliseconds kDefaultKillDelay{2000};

    explicit ProcProcessTable(std::chrono::milliseconds killDelay = kDefaultKillDelay);

    std::vector<Entry> Snapshot() const override;
    bool Terminate(std::uint32_t pid) override;

private:
    DelayedKill delayedKill_;
};

// Whether a pid from a table may be handed to kill(2): 0 would signal our own process group
// and values beyond the positive pid range would become -1, every process there is.
bool IsSignallablePid(std::uint32_t pid);
