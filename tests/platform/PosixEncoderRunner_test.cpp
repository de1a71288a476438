#include "platform/PosixEncoderRunner.h"

#include "conversion/CommandLineQuoting.h"
#include "platform/TestFolder.h"
#include "platform/TestPosters.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Pieces as the callback saw them, from whichever thread served it.
class Recorder {
public:
    IEncoderRunner::OutputCallback Callback() {
        return [this](const std::string& piece) {
            std::lock_guard lock(mutex_);
            pieces_.push_back(piece);
            threads_.push_back(std::this_thread::get_id());
        };
    }
    std::vector<std::string> Pieces() const {
        std::lock_guard lock(mutex_);
        return pieces_;
    }
    std::vector<std::thread::id> Threads() const {
        std::lock_guard lock(mutex_);
        return threads_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> pieces_;
    std::vector<std::thread::id> threads_;
};

constexpr AdvanceSystemTiming kQuick{50ms, 10ms};

class PlatformEncoderRunner : public ::testing::Test {
protected:
    PlatformEncoderRunner()
        : folder_("kestrava-runner"),
          programFolder_(folder_.MakeFolder("Program Files/Kestrava Dir")),
          favc_(folder_.CopyHelper("Program Files/Kestrava Dir/favc")) {}

    std::string Line(const std::string& arguments) const { return favc_.string() + " " + arguments; }

    // Runs a line to its end on a bare worker, whose handler is called on the worker thread
    // right away; the pieces seen.
    std::vector<std::string> RunToEnd(const std::string& line, AdvanceSystemTiming timing = kQuick) {
        Recorder recorder;
        {
            TAdvanceSystem system(line, recorder.Callback(), programFolder_.string(), timing);
            system.Resume();
        }  // waits for the run to finish
        return recorder.Pieces();
    }

    TestFolder folder_;
    fs::path programFolder_;
    fs::path favc_;
};

TEST_F(PlatformEncoderRunner, UnstartableLineFinishesAtOnceWithoutCallback) {
    folder_.WriteFile("Program Files/Kestrava Dir/notes.txt", "not a program\n");
    const std::vector<std::pair<const char*, std::string>> lines = {
        {"empty", ""},
        {"blanks", "   "},
        {"missing program", (programFolder_ / "ravc").string() + " -y -i \"a.avi\""},
        {"missing folder", "/nonexistent-kestrava/favc -y"},
        {"not executable", (programFolder_ / "notes.txt").string() + " -y"},
        {"folder, not a file", programFolder_.string()},
    };
    for (const auto& [name, line] : lines) {
        auto poster = std::make_shared<QueuePoster>();
        Recorder recorder;
        PosixEncoderRunner runner(poster, programFolder_.string());
        const auto started = Clock::now();
        runner.Start(line, recorder.Callback()).reset();
        EXPECT_LT(Clock::now() - started, 300ms) << name;
        EXPECT_EQ(poster->Pending(), 0u) << name;
        poster->Drain();
        EXPECT_TRUE(recorder.Pieces().empty()) << name;
    }
}

TEST_F(PlatformEncoderRunner, SilentChildGivesNoCallback) {
    EXPECT_TRUE(RunToEnd(Line("silent 200")).empty());
    EXPECT_TRUE(RunToEnd(Line("exit 3")).empty());
}

TEST_F(PlatformEncoderRunner, OnlyTheNewestChunkOfWhatWaitsIsHandedOver) {
    struct BurstCase {
        const char* Name;
        std::string Arguments;
        std::string Expected;
    };
    const std::vector<BurstCase> cases = {
        // 3000 bytes: chunks of 1023, 1023 and 954; the last is all 'C'.
        {"child still running", "burst 3000 400", std::string(954, 'C')},
        {"zero byte cuts the piece", "burst 3000 400 2500", std::string(2500 - 2046, 'C')},
        // The child is gone while 4000 bytes wait: read to the end without blocking.
        {"child already ended", "burst 4000 0", std::string(4000 - 3069, 'D')},
        {"exactly one chunk", "burst 1023 0", std::string(1023, 'A')},
    };
    for (const auto& c : cases) {
        const auto started = Clock::now();
        const auto pieces = RunToEnd(Line(c.Arguments));
        EXPECT_LT(Clock::now() - started, 3s) << c.Name;
        ASSERT_EQ(pieces.size(), 1u) << c.Name;
        EXPECT_EQ(pieces[0], c.Expected) << c.Name;
    }
}

TEST_F(PlatformEncoderRunner, PiecesReachTheCallbackInOrderThroughThePoster) {
    auto poster = std::make_shared<QueuePoster>();
    Recorder recorder;
    PosixEncoderRunner runner(poster, programFolder_.string(), kQuick);
    auto run = runner.Start(Line("status 6 120"), recorder.Callback());

    // Serve the queue as the GUI thread would until the last status line has come.
    const auto until = Clock::now() + 5s;
    auto lastSeen = [&] {
        const auto pieces = recorder.Pieces();
        return !pieces.empty() && pieces.back().find("status-6") != std::string::npos;
    };
    while (!lastSeen() && Clock::now() < until) {
        poster->Drain();
        std::this_thread::sleep_for(5ms);
    }
    run.reset();

    const auto pieces = recorder.Pieces();
    ASSERT_GE(pieces.size(), 2u);
    EXPECT_EQ(pieces.front().rfind("fake encoder version 1.0", 0), 0u) << pieces.front();
    int previous = 0;
    for (const auto& piece : pieces) {
        const std::size_t at = piece.rfind("status-");
        ASSERT_NE(at, std::string::npos) << piece;
        const int number = std::stoi(piece.substr(at + 7));
        EXPECT_GT(number, previous) << piece;
        previous = number;
    }
    EXPECT_EQ(previous, 6);
    for (const auto& thread : recorder.Threads()) {
        EXPECT_EQ(thread, std::this_thread::get_id());
    }
}

TEST_F(PlatformEncoderRunner, DestroyingAfterTheChildEndedIsQuickAndDropsQueuedPieces) {
    auto poster = std::make_shared<QueuePoster>();
    Recorder recorder;
    PosixEncoderRunner runner(poster, programFolder_.string());  // the real 500 ms pause
    auto run = runner.Start(Line("status 2 0"), recorder.Callback());

    const auto until = Clock::now() + 3s;
    while (poster->Pending() == 0 && Clock::now() < until) {
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_GT(poster->Pending(), 0u);
    std::this_thread::sleep_for(100ms);  // the child prints and exits at once

    const auto started = Clock::now();
    run.reset();
    EXPECT_LT(Clock::now() - started, 1s);

    EXPECT_GT(poster->Drain(), 0u);
    EXPECT_TRUE(recorder.Pieces().empty());
}

TEST_F(PlatformEncoderRunner, DestroyingWaitsForTheChildToEnd) {
    PosixEncoderRunner runner(std::make_shared<InlinePoster>(), programFolder_.string(), kQuick);
    Recorder recorder;
    const auto started = Clock::now();
    runner.Start(Line("silent 700"), recorder.Callback()).reset();
    const auto took = Clock::now() - started;
    EXPECT_GE(took, 600ms);
    EXPECT_LT(took, 3s);
}

TEST_F(PlatformEncoderRunner, FinishedTellsWhenTheRunHasEnded) {
    PosixEncoderRunner runner(std::make_shared<QueuePoster>(), programFolder_.string(), kQuick);
    Recorder recorder;

    auto unstartable = runner.Start((programFolder_ / "missing").string(), recorder.Callback());
    auto running = runner.Start(Line("silent 300"), recorder.Callback());
    EXPECT_FALSE(running->Finished());

    const auto until = Clock::now() + 3s;
    while (!(running->Finished() && unstartable->Finished()) && Clock::now() < until) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(unstartable->Finished());
    ASSERT_TRUE(running->Finished());
    const auto started = Clock::now();
    running.reset();
    EXPECT_LT(Clock::now() - started, 50ms);
}

TEST_F(PlatformEncoderRunner, ExitCodeIsTheChildsOrNoneForALineThatDidNotStart) {
    const std::vector<std::pair<std::string, int>> cases = {
        {Line("exit 0"), 0},
        {Line("exit 3"), 3},
        {Line("exit 255"), 255},
        {(programFolder_ / "missing").string() + " -y", IEncoderRun::kNoExitCode},
        {"", IEncoderRun::kNoExitCode},
    };
    PosixEncoderRunner runner(std::make_shared<QueuePoster>(), programFolder_.string(), kQuick);
    for (const auto& [line, expected] : cases) {
        Recorder recorder;
        auto run = runner.Start(line, recorder.Callback());
        const auto until = Clock::now() + 5s;
        while (!run->Finished() && Clock::now() < until) std::this_thread::sleep_for(5ms);
        ASSERT_TRUE(run->Finished()) << line;
        EXPECT_EQ(run->ExitCode(), expected) << line;
    }
}

TEST_F(PlatformEncoderRunner, ArgumentsArriveExactlyInTheProgramFolder) {
    const std::vector<std::string> arguments = {
        "-y",
        "-i",
        "/home/user/My \"quoted\" clip.avi",
        "two  blanks",
        "-leading-dash",
        "trailing\\",
        "C:\\back\\slashes\\\\",
        "naïve ünïcode 映像.mp4",
        "tab\there",
        "",
    };
    std::string line = Line("echo");
    for (const auto& argument : arguments) {
        line += " " + QuoteArgument(argument);
    }
    EXPECT_TRUE(RunToEnd(line).empty());

    std::ifstream in(programFolder_ / "args.txt", std::ios::binary);
    ASSERT_TRUE(in) << "the helper wrote no report in the program folder";
    const std::string report{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> records;
    for (std::size_t start = 0, end; (end = report.find('\0', start)) != std::string::npos;
         start = end + 1) {
        records.push_back(report.substr(start, end - start));
    }
    ASSERT_EQ(records.size(), arguments.size() + 2);
    EXPECT_EQ(fs::path(records[0]), fs::canonical(programFolder_));
    EXPECT_EQ(records[1], favc_.string());
    EXPECT_EQ(std::vector<std::string>(records.begin() + 2, records.end()), arguments);
}

TEST_F(PlatformEncoderRunner, StandardInputStaysOpen) {
    EXPECT_EQ(RunToEnd(Line("stdin")), std::vector<std::string>{"stdin-open\n"});
}

TEST_F(PlatformEncoderRunner, ChildLeadsItsOwnSessionWithoutTerminalOrOurDescriptors) {
    // A descriptor of ours that is not close-on-exec must still not reach the child.
    const int leaky = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 0);
    const auto pieces = RunToEnd(Line("identity"));
    ::close(leaky);
    EXPECT_EQ(pieces, std::vector<std::string>{"session-leader=1 terminal=0 extra-fds=0\n"});
}

}  // namespace
