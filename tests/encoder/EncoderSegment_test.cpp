// -ss and -t are frame-exact: the output starts with the frame shown at the start time and lasts
// the length within one video frame, audio within 30 ms.

#include "EncoderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace encoder_test;

namespace {

const std::string kFavc = ProgramPath("favc");

// The index of the source frame that looks most like the picture.
size_t BestMatch(const std::vector<LumaFrame>& source, const std::vector<uint8_t>& picture) {
    size_t best = 0;
    double bestDifference = 1e18;
    for (size_t i = 0; i < source.size(); ++i) {
        const double d = MeanAbsDifference(source[i].luma, picture);
        if (d < bestDifference) {
            bestDifference = d;
            best = i;
        }
    }
    return best;
}

TEST(EncoderSegment, StartsWithTheFrameShownAtTheStartTime) {
    const std::string source = Fixture("clip.avi");  // 30 fps, every frame different
    const auto sourceFrames = DecodeLuma(source, 320, 240);
    ASSERT_GT(sourceFrames.size(), 120u);
    for (const char* rate : {"30", "15"}) {
        TempDir dir;
        const std::string out = dir / "out.mp4";
        Fragments f = FragmentsForType(0);
        f.frameRate = std::string(" -r ") + rate;
        f.videoBitrate = " -b 512";
        f.segment = " -ss 00:00:02 -t 2";
        const RunResult r = RunCommandLine(BuildCommandLine(kFavc, source, f, out));
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const auto frames = DecodeLuma(out, 320, 240);
        const int fps = std::atoi(rate);
        ASSERT_EQ(frames.size(), size_t(2 * fps));
        // Output frame k shows the source frame at 2 + k / fps seconds (the fixture's AVI lacks
        // its second frame, so the source's frame times are read, not counted).
        for (size_t k : {size_t(0), size_t(1), size_t(fps / 2), frames.size() - 1}) {
            // The frame shown at that time: the latest one that starts at or before it.
            const double at = 2.0 + double(k) / fps;
            size_t expected = 0;
            for (size_t i = 0; i < sourceFrames.size(); ++i)
                if (sourceFrames[i].time <= at + 1e-6)
                    expected = i;
            EXPECT_EQ(BestMatch(sourceFrames, frames[k].luma), expected) << "rate " << rate << " frame " << k;
        }
    }
}

TEST(EncoderSegment, LengthWithinOneFrameAndAudioWithin30ms) {
    for (const char* segment : {" -ss 00:00:00 -t 3", " -ss 00:00:01 -t 1", " -ss 00:00:03 -t 2"}) {
        TempDir dir;
        const std::string out = dir / "out.mp4";
        Fragments f = FragmentsForType(0);
        f.segment = segment;
        const RunResult r = RunCommandLine(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out));
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const double length = std::atof(std::string(segment).substr(std::string(segment).rfind(' ') + 1).c_str());
        const MediaFacts m = Probe(out);
        EXPECT_NEAR(m.video.duration, length, 1.0 / 15) << segment;
        EXPECT_NEAR(m.audio.streamDuration, length, 0.03) << segment;
        EXPECT_NEAR(DecodedAudioSeconds(out), length, 0.03) << segment;
    }
}

TEST(EncoderSegment, LengthBeyondTheEndStopsAtTheEnd) {
    TempDir dir;
    const std::string out = dir / "out.mp4";
    Fragments f = FragmentsForType(0);
    f.segment = " -ss 00:00:03 -t 90";
    const RunResult r = RunCommandLine(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const MediaFacts m = Probe(out);
    EXPECT_NEAR(m.video.duration, Probe(Fixture("clip.avi")).video.duration - 3, 1.0 / 15);
}

}  // namespace
