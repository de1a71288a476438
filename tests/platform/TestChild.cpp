#include "platform/TestChild.h"

#include "platform/ProcStat.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

extern char** environ;

TestChild::TestChild(const std::string& program, const std::vector<std::string>& arguments) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int result =
        ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    output_ = ends[0];
    if (result != 0) {
        ::close(output_);
        throw std::runtime_error("cannot start " + program);
    }
}

TestChild::~TestChild() {
    if (!reaped_) {
        ::kill(pid_, SIGKILL);  // our own child, by pid
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    ::close(output_);
}

bool TestChild::WaitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (seen_.find(text) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd watch{output_, POLLIN, 0};
        if (::poll(&watch, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char buffer[256];
        const ssize_t got = ::read(output_, buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        seen_.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

std::optional<int> TestChild::WaitForExit(std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t result = ::waitpid(pid_, &status, WNOHANG);
        if (result == pid_) {
            reaped_ = true;
            return status;
        }
        if (result < 0 || std::chrono::steady_clock::now() >= until) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

char TestChild::State() const {
    const auto stat = ReadProcStat(pid_);
    return stat ? stat->State : '?';
}
