#include "platform/TAdvanceSystem.h"

#include "platform/ChildSpawn.h"
#include "platform/ProgramResolution.h"

#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace {

// Reads and peeks ask for at most this much, so a piece is never longer.
constexpr std::size_t kChunkSize = 1023;

// How many bytes wait in the pipe; 0 when the system cannot tell.
int BytesWaiting(int descriptor) {
    int waiting = 0;
    if (::ioctl(descriptor, FIONREAD, &waiting) != 0 || waiting < 0) {
        return 0;
    }
    return waiting;
}

// One read of at most kChunkSize bytes; only called while bytes wait, so it never blocks.
ssize_t ReadChunk(int descriptor, std::array<char, kChunkSize + 2>& buffer) {
    buffer.fill('\0');
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer.data(), kChunkSize);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

// Reads everything that waits, chunk by chunk, each replacing the one before; the piece is
// the last chunk, cut at its first zero byte. False when nothing could be read.
bool ReadNewestPiece(int descriptor, int waiting, std::string& piece) {
    std::array<char, kChunkSize + 2> buffer{};
    bool readAny = false;
    for (;;) {
        const ssize_t got = ReadChunk(descriptor, buffer);
        if (got <= 0) {
            break;
        }
        readAny = true;
        piece.assign(buffer.data(), ::strnlen(buffer.data(), static_cast<std::size_t>(got)));
        if (static_cast<std::size_t>(waiting) <= kChunkSize ||
            static_cast<std::size_t>(got) < kChunkSize) {
            break;
        }
        waiting = BytesWaiting(descriptor);
        if (waiting == 0) {
            break;
        }
    }
    return readAny;
}

// True while the child runs; reaps it once it has ended and keeps its exit code (-1 for a
// child ended by a signal or reaped by someone else).
bool StillActive(pid_t child, int& exitCode) {
    for (;;) {
        int status = 0;
        const pid_t result = ::waitpid(child, &status, WNOHANG);
        if (result == 0) {
            return true;
        }
        if (result == child) {
            exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return false;
        }
        if (errno != EINTR) {
            // ECHILD: someone else reaped it; either way it is gone.
            return false;
        }
    }
}

}  // namespace

TAdvanceSystem::TAdvanceSystem(std::string commandLine, OutputHandler onOutput,
                               std::string programFolder, AdvanceSystemTiming timing)
    : CommandLine(std::move(commandLine)),
      OnOutput(std::move(onOutput)),
      programFolder_(std::move(programFolder)),
      timing_(timing) {}

TAdvanceSystem::~TAdvanceSystem() {
    {
        std::lock_guard lock(mutex_);
        finishing_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void TAdvanceSystem::Resume() {
    if (!worker_.joinable()) {
        worker_ = std::thread([this] { Run(); });
    }
}

void TAdvanceSystem::Pause(std::chrono::milliseconds length) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, length, [this] { return finishing_; });
}

void TAdvanceSystem::Run() {
    Execute();
    finished_.store(true);
}

void TAdvanceSystem::Execute() {
    const std::vector<std::string> arguments = ResolveEncoderArguments(CommandLine, programFolder_);
    if (arguments.empty()) {
        return;
    }

    PipeEnds input;
    if (!MakePipe(input)) {
        return;
    }
    PipeEnds output;
    if (!MakePipe(output)) {
        CloseDescriptor(input.Read);
        CloseDescriptor(input.Write);
        return;
    }

    const pid_t child = SpawnChild(arguments, programFolder_, input.Read, output.Write);
    if (child > 0) {
        bool active = true;
        int exitCode = -1;
        while (active) {
            active = StillActive(child, exitCode);  // before the peek, so the last output is still read
            const int waiting = BytesWaiting(output.Read);
            std::string piece;
            if (waiting > 0 && ReadNewestPiece(output.Read, waiting, piece)) {
                if (OnOutput) {
                    OnOutput(piece);
                }
                Pause(timing_.HandOffPause);
            } else if (active) {
                Pause(timing_.IdlePause);
            }
        }
        exitCode_.store(exitCode);
    }

    // Our copies of the child's ends stay open until here: its input never reports the end,
    // and the output is read only as far as it is known to wait.
    CloseDescriptor(input.Read);
    CloseDescriptor(output.Write);
    CloseDescriptor(output.Read);
    CloseDescriptor(input.Write);
}
