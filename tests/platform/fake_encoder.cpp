// Helper program of the platform tests. The tests copy it under the name of an encoder (or a
// name of their own) and choose what it does with the first argument:
//   status COUNT INTERVAL_MS       a banner, then COUNT status lines INTERVAL_MS apart
//   burst BYTES LINGER_MS [NUL_AT] BYTES (at most 4096) in one write, letter 'A' + n in
//                                  the n-th 1023-byte stretch, a zero byte at NUL_AT; then
//                                  waits LINGER_MS and exits
//   silent MS                      prints nothing, exits after MS
//   exit CODE                      exits at once
//   echo ARG...                    writes args.txt in the working folder: the working folder,
//                                  then argv[0] and every ARG, each record ended by a zero byte
//   stdin                          watches standard input for 300 ms and prints what it saw
//   identity                       prints whether it leads its own session, has a terminal,
//                                  and how many descriptors beyond the standard three it holds
//   sleep MS                       prints "ready", then waits MS
//   ignore-term MS                 ignores SIGTERM, prints "ready", then waits MS
//   finish-on-term MS              prints "ready"; the first SIGTERM lets it finish its file
//                                  for MS and exit 0, a second one ends it at once with 9
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

void WriteAll(int descriptor, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(descriptor, data, length);
        if (written < 0) {
            std::exit(3);
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
}

void Say(const std::string& text) { WriteAll(STDOUT_FILENO, text.data(), text.size()); }

void SleepMs(long ms) {
    // Sleeps the whole time even when a signal arrives.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_until(until);
    }
}

long Number(int argc, char** argv, int index, long fallback) {
    return index < argc ? std::strtol(argv[index], nullptr, 10) : fallback;
}

int Status(int argc, char** argv) {
    const long count = Number(argc, argv, 2, 3);
    const long interval = Number(argc, argv, 3, 100);
    Say("fake encoder version 1.0, for tests\n");
    for (long i = 1; i <= count; ++i) {
        Say("frame=" + std::to_string(i * 25) + " q=2.0 size=" + std::to_string(i * 10) +
            "kB time=" + std::to_string(i) + ".00 bitrate=66.3kbits/s status-" +
            std::to_string(i) + "\n");
        SleepMs(interval);
    }
    return 0;
}

int Burst(int argc, char** argv) {
    const long bytes = Number(argc, argv, 2, 3000);
    const long linger = Number(argc, argv, 3, 0);
    const long nulAt = Number(argc, argv, 4, -1);
    if (bytes <= 0 || bytes > 4096) {
        return 2;
    }
    std::string data(static_cast<std::size_t>(bytes), ' ');
    for (long i = 0; i < bytes; ++i) {
        data[static_cast<std::size_t>(i)] = static_cast<char>('A' + (i / 1023) % 26);
    }
    if (nulAt >= 0 && nulAt < bytes) {
        data[static_cast<std::size_t>(nulAt)] = '\0';
    }
    // At most PIPE_BUF bytes: the reader sees all of them or none.
    WriteAll(STDOUT_FILENO, data.data(), data.size());
    SleepMs(linger);
    return 0;
}

int Echo(int argc, char** argv) {
    char folder[4096];
    if (::getcwd(folder, sizeof folder) == nullptr) {
        return 2;
    }
    std::string report = std::string(folder) + '\0';
    for (int i = 0; i < argc; ++i) {
        if (i == 1) {
            continue;  // the mode
        }
        report += argv[i];
        report += '\0';
    }
    const int file = ::open("args.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) {
        return 2;
    }
    WriteAll(file, report.data(), report.size());
    return ::close(file) == 0 ? 0 : 2;
}

int Stdin() {
    pollfd watch{STDIN_FILENO, POLLIN, 0};
    const int ready = ::poll(&watch, 1, 300);
    if (ready == 0) {
        Say("stdin-open\n");
        return 0;
    }
    if (ready < 0) {
        Say("stdin-error\n");
        return 0;
    }
    char byte = 0;
    const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
    Say(got == 0 ? "stdin-eof\n" : got > 0 ? "stdin-data\n" : "stdin-error\n");
    return 0;
}

int Identity() {
    const bool leader = ::getsid(0) == ::getpid();
    const int terminal = ::open("/dev/tty", O_RDONLY | O_CLOEXEC);
    if (terminal >= 0) {
        ::close(terminal);
    }
    int extra = 0;
    DIR* descriptors = ::opendir("/proc/self/fd");
    if (descriptors == nullptr) {
        return 2;
    }
    const int own = ::dirfd(descriptors);
    while (const dirent* item = ::readdir(descriptors)) {
        const int descriptor = std::atoi(item->d_name);
        if (item->d_name[0] != '.' && descriptor > 2 && descriptor != own) {
            ++extra;
        }
    }
    ::closedir(descriptors);
    Say("session-leader=" + std::to_string(leader ? 1 : 0) +
        " terminal=" + std::to_string(terminal >= 0 ? 1 : 0) +
        " extra-fds=" + std::to_string(extra) + "\n");
    return 0;
}

volatile std::sig_atomic_t termsSeen = 0;

void OnTerm(int) {
    if (++termsSeen > 1) _exit(9);
}

int FinishOnTerm(int argc, char** argv) {
    if (std::signal(SIGTERM, OnTerm) == SIG_ERR) return 2;
    Say("ready\n");
    while (termsSeen == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    SleepMs(Number(argc, argv, 2, 500));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "status") return Status(argc, argv);
    if (mode == "burst") return Burst(argc, argv);
    if (mode == "silent") {
        SleepMs(Number(argc, argv, 2, 100));
        return 0;
    }
    if (mode == "exit") return static_cast<int>(Number(argc, argv, 2, 0));
    if (mode == "echo") return Echo(argc, argv);
    if (mode == "stdin") return Stdin();
    if (mode == "identity") return Identity();
    if (mode == "finish-on-term") return FinishOnTerm(argc, argv);
    if (mode == "sleep" || mode == "ignore-term") {
        if (mode == "ignore-term" && std::signal(SIGTERM, SIG_IGN) == SIG_ERR) {
            return 2;
        }
        Say("ready\n");
        SleepMs(Number(argc, argv, 2, 5000));
        return 0;
    }
    std::fprintf(stderr, "fake encoder: unknown mode '%s'\n", mode.c_str());
    return 2;
}
