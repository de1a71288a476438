// Rate control: the video rate over a one-minute clip lands within 10% of the asked rate.

#include "EncoderTestSupport.h"

#include <gtest/gtest.h>

using namespace encoder_test;

namespace {

TEST(EncoderRate, OneMinuteWithinTenPercent) {
    for (int kbps : {40, 80, 128}) {
        TempDir dir;
        const std::string out = dir / "out.mp4";
        Fragments f = FragmentsForType(0);
        f.videoBitrate = " -b " + std::to_string(kbps);
        const RunResult r = RunCommandLine(BuildCommandLine(ProgramPath("favc"), Fixture("minute.avi"), f, out));
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const MediaFacts m = Probe(out);
        ASSERT_NEAR(m.video.duration, 60.0, 0.2);
        const double measured = m.video.bytes * 8.0 / m.video.duration / 1000.0;
        EXPECT_NEAR(measured, kbps, kbps * 0.10) << kbps << " kbps asked, " << measured << " written";
    }
}

}  // namespace
