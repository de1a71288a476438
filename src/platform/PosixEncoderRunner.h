#pragma once

#include "conversion/EncoderRunner.h"
#include "platform/Poster.h"
#include "platform/TAdvanceSystem.h"

#include <memory>
#include <string>

// Runs encoder command lines as child processes, one worker thread per run, with the program
// folder as their working folder. Each piece of output reaches `onOutput` through the poster,
// in order; the worker never waits for it to be served. Pieces still queued when their run is
// destroyed are dropped when served.
class PosixEncoderRunner : public IEncoderRunner {
public:
    PosixEncoderRunner(std::shared_ptr<IPoster> poster, std::string programFolder,
                       AdvanceSystemTiming timing = {});

    std::unique_ptr<IEncoderRun> Start(const std::string& commandLine,
                                       OutputCallback onOutput) override;

private:
    std::shared_ptr<IPoster> poster_;
    std::string programFolder_;
    AdvanceSystemTiming timing_;
};
