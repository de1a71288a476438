// SIGTERM mid-run: stop reading, flush, write the trailer, exit; the partial output plays.
// A second signal ends the run at once. Also the status lines of a long run.

#include "EncoderTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <signal.h>

using namespace encoder_test;

namespace {

const std::string kFavc = ProgramPath("favc");

// Jobs that run for a few seconds: a full-size video output, and five minutes of audio.
std::string SlowJob(int type, const std::string& out, const std::string& segment = "") {
    Fragments f = FragmentsForType(type);
    f.segment = segment;
    if (type == 0) {
        f.videoSize = " -s 640x480";
        f.frameRate = " -r 30";
        f.videoBitrate = " -b 512";
        return BuildCommandLine(kFavc, Fixture("long.avi"), f, out);
    }
    return BuildCommandLine(kFavc, Fixture("long.mp3"), f, out);
}

TEST(EncoderStop, SigtermLeavesAPlayableFile) {
    for (int type : {0, 4}) {
        TempDir dir;
        const std::string out = dir / (type == 0 ? "out.mp4" : "out.mp3");
        bool signalled = false;
        std::chrono::steady_clock::time_point sentAt;
        const RunResult r = RunCommandLine(SlowJob(type, out),
                                           [&](pid_t pid, const std::string& soFar) {
                                               // After the banner and one status line.
                                               if (!signalled && soFar.find("time=") != std::string::npos) {
                                                   ::kill(pid, SIGTERM);
                                                   signalled = true;
                                                   sentAt = std::chrono::steady_clock::now();
                                               }
                                           });
        ASSERT_TRUE(signalled) << r.output;
        EXPECT_LT(std::chrono::steady_clock::now() - sentAt, std::chrono::seconds(3));
        EXPECT_EQ(r.exitCode, 255) << r.output;
        ASSERT_TRUE(FileExists(out));
        const MediaFacts m = Probe(out);
        ASSERT_TRUE(m.readable) << r.output;
        if (type == 0) {
            EXPECT_GT(m.video.packets, 0);
            EXPECT_LT(m.video.duration, 29.0);
            EXPECT_GT(m.video.duration, 0.4);
            EXPECT_FALSE(DecodeLuma(out, 80, 60).empty());
        }
        EXPECT_GT(DecodedAudioSeconds(out), 0.0);
        EXPECT_EQ(r.output.back(), '\n');
    }
}

TEST(EncoderStop, SecondSignalEndsAtOnce) {
    TempDir dir;
    const std::string out = dir / "out.mp4";
    bool signalled = false;
    const RunResult r = RunCommandLine(SlowJob(0, out),
                                       [&](pid_t pid, const std::string& soFar) {
                                           if (!signalled && soFar.find("time=") != std::string::npos) {
                                               ::kill(pid, SIGTERM);
                                               ::kill(pid, SIGTERM);
                                               signalled = true;
                                           }
                                       },
                                       20);
    ASSERT_TRUE(signalled);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.output.find("[test: timed out]"), std::string::npos);
}

TEST(EncoderStop, StatusLinesOfALongRunAsKestravaReadsThem) {
    for (int type : {0, 4}) {
        TempDir dir;
        const std::string out = dir / (type == 0 ? "out.mp4" : "out.mp3");
        const int length = type == 0 ? 25 : 250;
        const RunResult r = RunCommandLine(SlowJob(type, out, " -ss 00:00:02 -t " + std::to_string(length)));
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const auto pieces = OutputPieces(r.output);
        ASSERT_GE(pieces.size(), 2u);
        EXPECT_EQ(pieces[0].rfind("favc version ", 0), 0u);
        const bool audioOnly = type == 4;
        int last = -1;
        for (size_t i = 1; i < pieces.size(); ++i) {
            const auto seconds = RefreshSeconds(pieces[i], audioOnly);
            ASSERT_TRUE(seconds.has_value()) << pieces[i];
            EXPECT_GE(*seconds, last) << pieces[i];
            EXPECT_LE(*seconds, length);
            last = *seconds;
            EXPECT_EQ(pieces[i].rfind(audioOnly ? "size=" : "frame=", 0), 0u) << pieces[i];
        }
        EXPECT_EQ(last, length);
        EXPECT_GE(pieces.size(), 3u);  // a status line while working, and the last one
        // Every status line ends with "\r", the last one with "\n".
        EXPECT_EQ(r.output.back(), '\n');
        EXPECT_NE(r.output.find("\r"), std::string::npos);
    }
}

}  // namespace
