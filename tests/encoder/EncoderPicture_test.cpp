// The frame from -s, the display aspect from -aspect, and the picture kept inside it.

#include "EncoderTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace encoder_test;

namespace {

const std::string kFavc = ProgramPath("favc");

double MeanRows(const std::vector<uint8_t>& luma, int width, int fromRow, int toRow) {
    double sum = 0;
    for (int y = fromRow; y < toRow; ++y)
        for (int x = 0; x < width; ++x)
            sum += luma[size_t(y) * width + x];
    return sum / (double(toRow - fromRow) * width);
}

double MeanColumns(const std::vector<uint8_t>& luma, int width, int height, int fromCol, int toCol) {
    double sum = 0;
    for (int y = 0; y < height; ++y)
        for (int x = fromCol; x < toCol; ++x)
            sum += luma[size_t(y) * width + x];
    return sum / (double(toCol - fromCol) * height);
}

std::string Convert(const std::string& source, const std::string& aspect, TempDir& dir) {
    const std::string out = dir / "out.mp4";
    Fragments f = FragmentsForType(0);
    f.aspect = aspect;
    f.segment = " -ss 00:00:01 -t 1";
    const RunResult r = RunCommandLine(BuildCommandLine(kFavc, source, f, out));
    EXPECT_EQ(r.exitCode, 0) << r.output;
    return out;
}

TEST(EncoderPicture, WideSourceInAFourThreeFrameIsLetterboxed) {
    TempDir dir;
    const std::string out = Convert(Fixture("clip16x9.mp4"), " -aspect 4:3", dir);
    const MediaFacts m = Probe(out);
    EXPECT_EQ(m.video.width, 320);
    EXPECT_EQ(m.video.height, 240);
    EXPECT_NEAR(m.displayAspect(), 4.0 / 3, 0.01);
    // 16:9 inside 4:3: a 320x180 picture with 30 black rows above and below.
    const auto frames = DecodeLuma(out, 320, 240, 1);
    ASSERT_FALSE(frames.empty());
    EXPECT_LT(MeanRows(frames[0].luma, 320, 0, 28), 20);
    EXPECT_LT(MeanRows(frames[0].luma, 320, 212, 240), 20);
    EXPECT_GT(MeanRows(frames[0].luma, 320, 40, 200), 40);
}

TEST(EncoderPicture, FourThreeSourceInASixteenNineFrameIsPillarboxed) {
    TempDir dir;
    const std::string out = Convert(Fixture("clip.avi"), " -aspect 16:9", dir);
    const MediaFacts m = Probe(out);
    EXPECT_EQ(m.video.width, 320);
    EXPECT_EQ(m.video.height, 240);
    EXPECT_NEAR(m.displayAspect(), 16.0 / 9, 0.01);
    EXPECT_NEAR(320.0 * m.video.codecSarNum / m.video.codecSarDen / 240, 16.0 / 9, 0.01);
    // 4:3 inside 16:9: the picture takes 240 of the 320 columns, 40 black at each side.
    const auto frames = DecodeLuma(out, 320, 240, 1);
    ASSERT_FALSE(frames.empty());
    EXPECT_LT(MeanColumns(frames[0].luma, 320, 240, 0, 38), 20);
    EXPECT_LT(MeanColumns(frames[0].luma, 320, 240, 282, 320), 20);
    EXPECT_GT(MeanColumns(frames[0].luma, 320, 240, 50, 270), 40);
}

TEST(EncoderPicture, MatchingAspectsFillTheFrame) {
    TempDir dir;
    const std::string out = Convert(Fixture("clip16x9.mp4"), " -aspect 16:9", dir);
    EXPECT_NEAR(Probe(out).displayAspect(), 16.0 / 9, 0.01);
    const auto frames = DecodeLuma(out, 320, 240, 1);
    ASSERT_FALSE(frames.empty());
    EXPECT_GT(MeanRows(frames[0].luma, 320, 0, 10), 40);  // no bars
}

}  // namespace
