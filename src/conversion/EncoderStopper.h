#pragma once

#include <functional>
#include <string>

#include "conversion/Scheduler.h"
#include "conversion/SysFunc.h"
#include "storage/AppFunc.h"
#include "storage/PathNaming.h"

// Ends encoder processes by name: asks each matching process to end, waits 100 ms, and looks
// again, until none is left or the bound is reached; then the same for the favc encoder.
class TEncoderStopper {
public:
    // Passes of one loop before it gives up on a process that will not end (100 ms each).
    static constexpr int kMaxPasses = 50;
    static constexpr int kPassMilliseconds = 100;

    TEncoderStopper(TSysFunc& sys, const TAppFunc& appFunc, IScheduler& scheduler,
                    TPathNaming naming);

    // The id of the last process of that name, or 0 (then "Get Process id error." is logged).
    std::uint32_t FindProcessByName(const std::string& name);
    // Asks every process whose executable's file name or full path equals `name` (A-Z without
    // case) to end. True when the last request was delivered; otherwise
    // "Terminate process error." is logged.
    bool KillProcessByName(const std::string& name);
    // The two loops for the file-name part of `path`, then for the favc encoder; `done` runs
    // when both have ended.
    void StopEncoder(const std::string& path, std::function<void()> done = {});

private:
    void Loop(const std::string& name, int pass, std::function<void()> next);

    TSysFunc& sys_;
    const TAppFunc& appFunc_;
    IScheduler& scheduler_;
    TPathNaming naming_;
};
