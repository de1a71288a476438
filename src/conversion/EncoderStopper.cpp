#include "conversion/EncoderStopper.h"

#include "media/SourceList.h"

TEncoderStopper::TEncoderStopper(TSysFunc& sys, const TAppFunc& appFunc, IScheduler& scheduler,
                                 TPathNaming naming)
    : sys_(sys), appFunc_(appFunc), scheduler_(scheduler), naming_(std::move(naming)) {}

std::uint32_t TEncoderStopper::FindProcessByName(const std::string& name) {
    const std::uint32_t pid = sys_.GetProcessIdByName(name);
    if (pid == 0) appFunc_.WriteLog("Get Process id error.");
    return pid;
}

bool TEncoderStopper::KillProcessByName(const std::string& name) {
    const std::string wanted = UpperAscii(name);
    bool delivered = false;
    for (const IProcessTable::Entry& entry : sys_.Table().Snapshot()) {
        if (UpperAscii(entry.ExeName) == wanted || UpperAscii(entry.ExePath) == wanted)
            delivered = sys_.Table().Terminate(entry.Pid);
    }
    if (!delivered) appFunc_.WriteLog("Terminate process error.");
    return delivered;
}

void TEncoderStopper::StopEncoder(const std::string& path, std::function<void()> done) {
    const size_t slash = path.rfind(naming_.Separator);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    Loop(name, 0, [this, done] {
        Loop(naming_.FavcName, 0, [done] {
            if (done) done();
        });
    });
}

void TEncoderStopper::Loop(const std::string& name, int pass, std::function<void()> next) {
    if (pass >= kMaxPasses || FindProcessByName(name) == 0) {
        next();
        return;
    }
    KillProcessByName(name);
    scheduler_.After(kPassMilliseconds,
                     [this, name, pass, next] { Loop(name, pass + 1, next); });
}
