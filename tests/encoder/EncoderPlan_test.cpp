// Output decisions: picture geometry, containers and codecs, status text.

#include "encoder/OutputPlan.h"
#include "encoder/StatusLine.h"

#include <gtest/gtest.h>

using namespace kestrava::encoder;

namespace {

TEST(EncoderPlan, FourThreeSourceFillsAFourThreeFrame) {
    const auto box = FitPicture(640, 480, {1, 1}, {320, 240}, {4, 3});
    EXPECT_EQ(box.width, 320);
    EXPECT_EQ(box.height, 240);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.sar, (Rational{1, 1}));
}

TEST(EncoderPlan, WideSourceIsLetterboxed) {
    const auto box = FitPicture(1280, 720, {1, 1}, {320, 240}, {4, 3});
    EXPECT_EQ(box.width, 320);
    EXPECT_EQ(box.height, 180);
    EXPECT_EQ(box.y, 30);
}

TEST(EncoderPlan, FourThreeSourceInASixteenNineFrameIsPillarboxed) {
    const auto box = FitPicture(640, 480, {1, 1}, {320, 240}, {16, 9});
    EXPECT_EQ(box.height, 240);
    EXPECT_EQ(box.width, 240);  // 320 * (4/3) / (16/9)
    EXPECT_EQ(box.x, 40);
    EXPECT_EQ(box.sar, (Rational{4, 3}));
}

TEST(EncoderPlan, AnamorphicSourceKeepsItsDisplayAspect) {
    // 720x480 with 32:27 pixels shows 16:9.
    const auto box = FitPicture(720, 480, {32, 27}, {320, 240}, {16, 9});
    EXPECT_EQ(box.width, 320);
    EXPECT_EQ(box.height, 240);
}

TEST(EncoderPlan, Mpeg4LevelsForPortablePlayers) {
    EXPECT_EQ(Mpeg4SimpleLevel({320, 240}, {15, 1}, 128), 2);
    EXPECT_EQ(Mpeg4SimpleLevel({320, 240}, {30, 1}, 256), 3);
    EXPECT_EQ(Mpeg4SimpleLevel({320, 240}, {15, 1}, 512), 4);
}

TEST(EncoderPlan, ContainerFromTheExtensionOrMinusF) {
    const auto muxerFor = [](std::vector<std::string> args) {
        return std::string(MakeOutputPlan(ParseEncoderArguments(args), std::nullopt).muxer->name);
    };
    EXPECT_EQ(muxerFor({"-i", "a", "-vcodec", "mpeg4", "-acodec", "aac", "o.mp4"}), "mp4");
    EXPECT_EQ(muxerFor({"-i", "a", "-vcodec", "mpeg4", "-acodec", "aac", "-f", "mov", "o.mov"}), "mov");
    EXPECT_EQ(muxerFor({"-i", "a", "-vcodec", "mpeg4", "-acodec", "aac", "-f", "mov", "o.mp4"}), "mov");
    EXPECT_EQ(muxerFor({"-i", "a", "-acodec", "aac", "-vn", "o.aac"}), "adts");
    EXPECT_EQ(muxerFor({"-i", "a", "-acodec", "aac", "-vn", "o.m4a"}), "ipod");
    EXPECT_EQ(muxerFor({"-i", "a", "-acodec", "mp3", "-vn", "o.mp3"}), "mp3");
    EXPECT_EQ(muxerFor({"-i", "a", "-acodec", "aac", "-vn", "o.3gp"}), "3gp");
    EXPECT_EQ(muxerFor({"-i", "a", "-acodec", "aac", "-vn", "o.3g2"}), "3g2");
    EXPECT_EQ(muxerFor({"-i", "a", "-vcodec", "xvid", "-acodec", "mp3", "o.avi"}), "avi");
}

TEST(EncoderPlan, CodecsOfTheLines) {
    auto plan = MakeOutputPlan(ParseEncoderArguments({"-i", "a", "-vcodec", "mpeg4", "-acodec", "aac", "o.mp4"}), {});
    EXPECT_STREQ(plan.videoEncoder->name, "mpeg4");
    EXPECT_STREQ(plan.audioEncoder->name, "aac");
    plan = MakeOutputPlan(ParseEncoderArguments({"-i", "a", "-acodec", "mp3", "-vn", "o.mp3"}), {});
    EXPECT_FALSE(plan.videoAllowed);
    EXPECT_EQ(plan.audioEncoder->id, AV_CODEC_ID_MP3);
    plan = MakeOutputPlan(ParseEncoderArguments({"-i", "a", "-vcodec", "xvid", "-acodec", "mp3", "o.avi"}), {});
    EXPECT_EQ(plan.videoEncoder->id, AV_CODEC_ID_MPEG4);
    EXPECT_EQ(plan.videoTag, MKTAG('X', 'V', 'I', 'D'));
}

TEST(EncoderPlan, ImpossibleOutputsAreRefused) {
    EXPECT_THROW(MakeOutputPlan(ParseEncoderArguments({"-i", "a", "o.unknownext"}), {}), UsageError);
    EXPECT_THROW(MakeOutputPlan(ParseEncoderArguments({"-i", "a", "-f", "nosuch", "o.mp4"}), {}), UsageError);
    EXPECT_THROW(MakeOutputPlan(ParseEncoderArguments({"-i", "a", "-vcodec", "nosuch", "o.mp4"}), {}), UsageError);
    EXPECT_THROW(MakeOutputPlan(ParseEncoderArguments({"-i", "a", "-acodec", "aac", "-vn", "-an", "o.mp4"}), {}),
                 UsageError);
    EXPECT_THROW(MakeOutputPlan(ParseEncoderArguments({"-i", "a", "-target", "laserdisc", "o.mpg"}), {}), UsageError);
}

TEST(EncoderPlan, Targets) {
    EXPECT_EQ(ResolveTarget("ntsc-vcd", {}).size, (FrameSize{352, 240}));
    EXPECT_EQ(ResolveTarget("pal-dvd", {}).size, (FrameSize{720, 576}));
    EXPECT_EQ(ResolveTarget("dvd", Rational{30000, 1001}).frameRate, (Rational{30000, 1001}));
    EXPECT_EQ(ResolveTarget("vcd", Rational{25, 1}).frameRate, (Rational{25, 1}));
    EXPECT_EQ(ResolveTarget("film-svcd", {}).frameRate, (Rational{24000, 1001}));
}

TEST(EncoderStatusText, VideoAndAudioShapes) {
    Progress p;
    p.frames = 25;
    p.quality = 2.0;
    p.bytes = 100 * 1024;
    p.seconds = 12.34;
    EXPECT_EQ(FormatStatus(p, true), "frame=25 q=2.0 size=100kB time=12.34 bitrate=66.4kbits/s");
    EXPECT_EQ(FormatStatus(p, false), "size=100kB time=12.34 bitrate=66.4kbits/s");
    p = {};
    EXPECT_EQ(FormatStatus(p, false), "size=0kB time=0.00 bitrate=N/A");
}

TEST(EncoderStatusText, WhichShapeKestravaReads) {
    EXPECT_FALSE(StatusIsAudioOnly("-vcodec", "/o/a.mp4"));
    EXPECT_TRUE(StatusIsAudioOnly("-acodec", "/o/a.mp3"));
    EXPECT_TRUE(StatusIsAudioOnly("-acodec", "/o/a.m4a"));
    EXPECT_FALSE(StatusIsAudioOnly("-acodec", "/o/a.3gp"));
    EXPECT_TRUE(StatusIsAudioOnly("-acodec", "/o/a.3GP"));  // the program compares exactly
    EXPECT_FALSE(StatusIsAudioOnly("-target", "/o/a.mpg"));
}

}  // namespace
