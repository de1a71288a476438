#include "platform/MpvMediaGraph.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/TestFolder.h"
#include "platform/TestPosters.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::int64_t kClipMs = 4000;
constexpr int kClipWidth = 320;  // 4:3
constexpr int kClipHeight = 240;

// Clips made once for the whole suite with the ffmpeg program: colour bars and a tone.
class Clips {
public:
    Clips() : folder_("kestrava-mpv") {
        const std::string video = "-f lavfi -i testsrc=size=" + std::to_string(kClipWidth) + "x" +
                                  std::to_string(kClipHeight) + ":rate=25:duration=4 ";
        plain_ = Make("clip.mkv", video + "-f lavfi -i sine=frequency=440:duration=4 "
                                          "-c:v mpeg4 -q:v 4 -g 25 -c:a aac -shortest");
        // Without sound the last frame starts before the end of the file.
        silent_ = Make("silent.mkv", video + "-c:v mpeg4 -q:v 4 -g 25");
        awkward_ = folder_.Path() / "a clip 'with' \"quotes\" – é ü 名前.mkv";
        fs::copy_file(plain_, awkward_);
    }
    const fs::path& Plain() const { return plain_; }
    const fs::path& Silent() const { return silent_; }
    const fs::path& Awkward() const { return awkward_; }
    const TestFolder& Folder() const { return folder_; }

private:
    fs::path Make(const std::string& name, const std::string& arguments) const {
        const fs::path clip = folder_.Path() / name;
        const std::string command =
            "ffmpeg -v error -nostdin -y " + arguments + " '" + clip.string() + "'";
        if (std::system(command.c_str()) != 0 || !fs::exists(clip)) {
            throw std::runtime_error("the ffmpeg program could not make a test clip: " + command);
        }
        return clip;
    }

    TestFolder folder_;
    fs::path plain_;
    fs::path silent_;
    fs::path awkward_;
};

const Clips& TheClips() {
    static const Clips clips;
    return clips;
}

MpvGraphOptions Headless() {
    MpvGraphOptions options;
    options.audioOutput = "null";
    return options;
}

class PlatformMpvMediaGraph : public ::testing::Test {
protected:
    QueuePoster gui;
    std::unique_ptr<MpvMediaGraph> graph = std::make_unique<MpvMediaGraph>(gui, Headless());

    // Serves the GUI thread's queue until `done` holds; false after `limit`.
    bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            gui.Drain();
            if (done()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(10ms);
        }
    }

    // Serves the queue for a while.
    void Serve(std::chrono::milliseconds span) {
        const auto until = std::chrono::steady_clock::now() + span;
        while (std::chrono::steady_clock::now() < until) {
            gui.Drain();
            std::this_thread::sleep_for(10ms);
        }
    }

    void Load(const fs::path& clip) {
        graph->SetActive(true);
        ASSERT_EQ(graph->RenderFile(clip.string()), 0) << clip;
    }
};

TEST_F(PlatformMpvMediaGraph, LoadsAnAwkwardNameAndThePositionAdvances) {
    Load(TheClips().Awkward());
    EXPECT_TRUE(graph->Active());
    EXPECT_NEAR(static_cast<double>(graph->DurationMs()), kClipMs, 100);
    // Loaded paused at the start.
    Serve(300ms);
    EXPECT_LT(graph->CurrentPositionMs(), 100);
    graph->Run();
    EXPECT_TRUE(PollUntil([&] { return graph->CurrentPositionMs() >= 600; }));
}

TEST_F(PlatformMpvMediaGraph, PauseHoldsThePositionAndRunResumes) {
    Load(TheClips().Plain());
    graph->Run();
    ASSERT_TRUE(PollUntil([&] { return graph->CurrentPositionMs() >= 300; }));
    graph->Pause();
    const std::int64_t held = graph->CurrentPositionMs();
    Serve(500ms);
    EXPECT_NEAR(static_cast<double>(graph->CurrentPositionMs()), static_cast<double>(held), 50);
    graph->Run();
    EXPECT_TRUE(PollUntil([&] { return graph->CurrentPositionMs() >= held + 300; }));
}

TEST_F(PlatformMpvMediaGraph, ExactSeekLandsWithinATenthOfASecond) {
    Load(TheClips().Plain());
    const struct {
        bool playing;
        std::int64_t target;
    } cases[] = {{false, 1500}, {false, 2730}, {false, 0}, {true, 3100}, {true, 520}};
    for (const auto& c : cases) {
        if (c.playing) graph->Run();
        else graph->Pause();
        graph->SetCurrentPositionMs(c.target);
        const std::int64_t at = graph->CurrentPositionMs();
        EXPECT_GE(at, c.target - 100) << c.target;
        EXPECT_LE(at, c.target + 100) << c.target;
    }
}

TEST_F(PlatformMpvMediaGraph, PlayedToTheEndThePositionReadsAsTheDuration) {
    for (const fs::path& clip : {TheClips().Plain(), TheClips().Silent()}) {
        Load(clip);
        graph->SetCurrentPositionMs(3500);
        graph->Run();
        ASSERT_TRUE(PollUntil([&] { return graph->CurrentPositionMs() >= graph->DurationMs(); }))
            << clip;
        // Rewinding a played-out file plays it again.
        graph->SetCurrentPositionMs(0);
        EXPECT_LT(graph->CurrentPositionMs(), 100) << clip;
        graph->Run();
        EXPECT_TRUE(PollUntil([&] { return graph->CurrentPositionMs() >= 300; })) << clip;
    }
}

TEST_F(PlatformMpvMediaGraph, FilesThatCannotPlayFailToLoad) {
    const fs::path deleted = TheClips().Folder().Path() / "deleted.mkv";
    fs::copy_file(TheClips().Plain(), deleted);
    fs::remove(deleted);
    const fs::path text = TheClips().Folder().WriteFile("notes.mkv", "no media in here\n");
    const fs::path folder = TheClips().Folder().MakeFolder("a folder.mkv");

    graph->SetActive(true);
    for (const fs::path& path : {TheClips().Folder().Path() / "missing.mkv", deleted, text, folder}) {
        EXPECT_NE(graph->RenderFile(path.string()), 0) << path;
        EXPECT_THROW(graph->CurrentPositionMs(), MpvError) << path;
        EXPECT_THROW(graph->Run(), MpvError) << path;
    }
    // The graph is fine afterwards.
    EXPECT_EQ(graph->RenderFile(TheClips().Plain().string()), 0);
}

TEST_F(PlatformMpvMediaGraph, AnInactiveGraphLoadsNothing) {
    EXPECT_FALSE(graph->Active());
    EXPECT_NE(graph->RenderFile(TheClips().Plain().string()), 0);
    Load(TheClips().Plain());
    graph->SetActive(false);
    EXPECT_FALSE(graph->Active());
    EXPECT_THROW(graph->CurrentPositionMs(), MpvError);
    EXPECT_NE(graph->RenderFile(TheClips().Plain().string()), 0);
}

TEST_F(PlatformMpvMediaGraph, StopAndClearUnload) {
    for (int clear = 0; clear < 2; ++clear) {
        Load(TheClips().Plain());
        if (clear) graph->ClearFilters();
        else graph->Stop();
        EXPECT_THROW(graph->CurrentPositionMs(), MpvError) << clear;
        EXPECT_THROW(graph->DurationMs(), MpvError) << clear;
        EXPECT_THROW(graph->SetCurrentPositionMs(1000), MpvError) << clear;
        EXPECT_THROW(graph->Pause(), MpvError) << clear;
    }
}

// The colour bars fill the middle, letter-boxed between black bars at the sides of the wider
// window.
TEST_F(PlatformMpvMediaGraph, FramesAreDrawnIntoTheTargetLetterBoxed) {
    constexpr int kWidth = 257, kHeight = 155;
    constexpr std::size_t kStride = 1088;  // 4 × 257 rounded up to 64
    const struct {
        MpvPixelFormat format;
    } cases[] = {{MpvPixelFormat::Bgr0}, {MpvPixelFormat::Rgb0}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> pixels(kStride * kHeight, 0);
        int frames = 0;
        graph->SetRenderTarget({pixels.data(), kWidth, kHeight, kStride, c.format});
        graph->SetFrameReadyHandler([&] { ++frames; });
        Load(TheClips().Plain());
        graph->Run();
        const auto bright = [&](int x, int y) {
            const std::uint8_t* p = &pixels[y * kStride + x * 4];
            return p[0] + p[1] + p[2] > 90;
        };
        const auto colourfulCentre = [&] {
            int lit = 0;
            for (int y = 20; y < kHeight - 20; y += 5)
                for (int x = 40; x < kWidth - 40; x += 5) lit += bright(x, y);
            return lit > 100;
        };
        ASSERT_TRUE(PollUntil([&] { return frames > 0 && colourfulCentre(); }))
            << static_cast<int>(c.format);
        // 4:3 in 257 × 155: about 207 pixels of picture, 25 of black on either side.
        for (int y = 0; y < kHeight; y += 7) {
            for (int x : {0, 10, 20, kWidth - 21, kWidth - 11, kWidth - 1})
                EXPECT_FALSE(bright(x, y)) << x << "," << y;
        }
        graph->ClearFilters();
    }
}

TEST_F(PlatformMpvMediaGraph, RenderTargetsAreChecked) {
    std::vector<std::uint8_t> pixels(64 * 4 * 8);
    const MpvRenderTarget bad[] = {
        {nullptr, 8, 8, 64, MpvPixelFormat::Bgr0},
        {pixels.data(), 0, 8, 64, MpvPixelFormat::Bgr0},
        {pixels.data(), 8, -1, 64, MpvPixelFormat::Bgr0},
        {pixels.data(), 8, 8, 31, MpvPixelFormat::Bgr0},  // shorter than a line
        {pixels.data(), 8, 8, 34, MpvPixelFormat::Bgr0},  // not whole pixels
    };
    for (const MpvRenderTarget& target : bad) {
        EXPECT_THROW(graph->SetRenderTarget(target), std::invalid_argument);
        EXPECT_THROW(graph->RenderFrame(target), std::invalid_argument);
    }
    EXPECT_NO_THROW(graph->RenderFrame({pixels.data(), 8, 8, 32, MpvPixelFormat::Bgr0}));
}

TEST_F(PlatformMpvMediaGraph, AnAudioDeviceThatCannotOpenIsNoError) {
    MpvGraphOptions options;
    options.audioOutput = "alsa";
    options.audioDevice = "alsa/kestrava-no-such-device";
    graph = std::make_unique<MpvMediaGraph>(gui, options);
    Load(TheClips().Plain());
    graph->Run();
    EXPECT_TRUE(PollUntil([&] { return graph->CurrentPositionMs() >= 500; }));
}

TEST_F(PlatformMpvMediaGraph, TasksLeftInTheQueueOutliveTheGraphHarmlessly) {
    Load(TheClips().Plain());
    graph->Run();
    ASSERT_TRUE(PollUntil([&] { return gui.Pending() > 0; }));
    graph.reset();
    EXPECT_GT(gui.Drain(), 0u);
}

}  // namespace
