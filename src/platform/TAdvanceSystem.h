#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// The pauses of a run's read loop.
struct AdvanceSystemTiming {
    // After each piece of output handed over, so the display refreshes about twice a second.
    std::chrono::milliseconds HandOffPause{500};
    // In a pass that finds nothing waiting while the child still runs.
    std::chrono::milliseconds IdlePause{20};
};

// Runs one encoder command line as a child process on its own worker thread and hands the
// newest piece of what the child writes (standard output and standard error, one pipe) to
// `OnOutput`, on the worker thread, until the child has ended.
//
// The child runs in its own session without a terminal, with `programFolder` as its working
// folder; its standard input is a pipe that stays open for as long as it runs.
class TAdvanceSystem {
public:
    using OutputHandler = std::function<void(const std::string&)>;

    TAdvanceSystem(std::string commandLine, OutputHandler onOutput, std::string programFolder,
                   AdvanceSystemTiming timing = {});
    // Waits until the run has finished; pauses still to come are cut short then.
    ~TAdvanceSystem();

    TAdvanceSystem(const TAdvanceSystem&) = delete;
    TAdvanceSystem& operator=(const TAdvanceSystem&) = delete;

    // Starts the worker thread once.
    void Resume();
    // True once the run has ended: the child is gone and reaped and every pipe is closed.
    bool Finished() const { return finished_.load(); }
    // Once finished: the child's exit code, or -1 when it could not be started or was ended by
    // a signal.
    int ExitCode() const { return exitCode_.load(); }

    const std::string CommandLine;
    const OutputHandler OnOutput;

private:
    void Execute();
    void Run();
    void Pause(std::chrono::milliseconds length);

    const std::string programFolder_;
    const AdvanceSystemTiming timing_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool finishing_ = false;
    std::atomic<bool> finished_{false};
    std::atomic<int> exitCode_{-1};
    std::thread worker_;
};
