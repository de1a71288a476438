#pragma once

#include <functional>
#include <memory>
#include <string>

// One run of an encoder command line on a worker thread. Destroying the runner waits until the
// run has finished, which happens about a second after the child has ended.
class IEncoderRun {
public:
    virtual ~IEncoderRun() = default;
    // True once the run has ended (the child is gone and its pipes are closed); destroying a
    // finished run does not wait.
    virtual bool Finished() const = 0;
    // Once finished: the program's exit code (0 to 255), or kNoExitCode when it could not be
    // started or was ended by a signal.
    static constexpr int kNoExitCode = -1;
    virtual int ExitCode() const = 0;
};

// Starts runs. `onOutput` receives each newest piece of the child's output on the GUI thread,
// in the order the pieces were read; a run whose program cannot be started calls it never.
class IEncoderRunner {
public:
    using OutputCallback = std::function<void(const std::string&)>;
    virtual ~IEncoderRunner() = default;
    virtual std::unique_ptr<IEncoderRun> Start(const std::string& commandLine,
                                               OutputCallback onOutput) = 0;
};
