#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// A process the test starts itself (standard output into a pipe the test reads). Killed by
// its pid and reaped when the test has not done so.
class TestChild {
public:
    TestChild(const std::string& program, const std::vector<std::string>& arguments);
    ~TestChild();
    TestChild(const TestChild&) = delete;
    TestChild& operator=(const TestChild&) = delete;

    pid_t Pid() const { return pid_; }
    // Reads the child's output until it holds `text`; false on timeout or end of output.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds timeout);
    // The wait status once the child has ended, nothing on timeout.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    // The /proc state letter, '?' when the process cannot be read.
    char State() const;

private:
    pid_t pid_ = -1;
    int output_ = -1;
    bool reaped_ = false;
    std::string seen_;
};
