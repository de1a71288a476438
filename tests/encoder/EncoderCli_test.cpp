// The encoders' argument parser: exactly the options of Kestrava's command lines.

#include "conversion/CommandLineQuoting.h"
#include "encoder/EncoderOptions.h"

#include <gtest/gtest.h>

using namespace kestrava::encoder;

namespace {

std::vector<std::string> ArgsOf(const std::string& line) {
    auto args = SplitCommandLine(line);
    args.erase(args.begin());
    return args;
}

TEST(EncoderCli, WorkedExampleMp4) {
    const auto o = ParseEncoderArguments(ArgsOf(
        "/opt/k/favc -y -i \"/v/clip.avi\" -vcodec mpeg4 -acodec aac -b 128 -s 320x240 -r 15 -aspect 4:3 -ab 128 "
        "-vol 100 -ac 2 -ar 44100 -ss 00:00:10 -t 90 \"/out/clip.mp4\""));
    EXPECT_TRUE(o.overwrite);
    EXPECT_EQ(o.input, "/v/clip.avi");
    EXPECT_EQ(o.videoCodec, "mpeg4");
    EXPECT_EQ(o.audioCodec, "aac");
    EXPECT_FALSE(o.noVideo);
    EXPECT_EQ(o.videoKbps, 128);
    EXPECT_EQ(o.size, (FrameSize{320, 240}));
    EXPECT_EQ(o.frameRate, (Rational{15, 1}));
    EXPECT_EQ(o.aspect, (Rational{4, 3}));
    EXPECT_EQ(o.audioKbps, 128);
    EXPECT_EQ(o.volumePercent, 100.0);
    EXPECT_EQ(o.channels, 2);
    EXPECT_EQ(o.sampleRate, 44100);
    EXPECT_EQ(o.startMicros, 10'000'000);
    EXPECT_EQ(o.lengthMicros, 90'000'000);
    EXPECT_EQ(o.output, "/out/clip.mp4");
    EXPECT_EQ(o.firstOptionAfterInput, "-vcodec");
}

TEST(EncoderCli, AudioShapeWithTheLoneSpaceVolume) {
    // No volume selection: the fragment is one space, so two blanks stand between -ab and -ac.
    const auto o = ParseEncoderArguments(
        ArgsOf("favc -y -i \"in.avi\" -acodec mp3 -vn -ab 128  -ac 2 -ar 44100 \"out.mp3\""));
    EXPECT_EQ(o.audioCodec, "mp3");
    EXPECT_TRUE(o.noVideo);
    EXPECT_FALSE(o.volumePercent.has_value());
    EXPECT_EQ(o.firstOptionAfterInput, "-acodec");
    EXPECT_EQ(o.output, "out.mp3");
}

TEST(EncoderCli, MovFormatAndThreeGpShape) {
    auto o = ParseEncoderArguments(ArgsOf(
        "favc -y -i \"a.avi\" -vcodec mpeg4 -acodec aac -b 40 -s 320x240 -r 14.985 -aspect 16:9 -ab 48 -vol 0 "
        "-ac 1 -ar 22050 -f mov \"a.mov\""));
    EXPECT_EQ(o.format, "mov");
    EXPECT_EQ(o.frameRate, (Rational{15000, 1001}));
    EXPECT_EQ(o.aspect, (Rational{16, 9}));
    EXPECT_EQ(o.volumePercent, 0.0);
    o = ParseEncoderArguments(ArgsOf(
        "favc -y -i \"a.avi\" -acodec aac -vn -s 320x240 -b 128 -ab 64 -vol 100 -ac 1 -ar 8000 \"a.3gp\""));
    EXPECT_EQ(o.sampleRate, 8000);
    EXPECT_EQ(o.channels, 1);
    EXPECT_EQ(o.size, (FrameSize{320, 240}));
}

TEST(EncoderCli, TargetShape) {
    const auto o = ParseEncoderArguments(ArgsOf("favc -y -i \"a.avi\" -target ntsc-vcd -ss 00:00:01 -t 5 \"a.mpg\""));
    EXPECT_EQ(o.target, "ntsc-vcd");
    EXPECT_EQ(o.firstOptionAfterInput, "-target");
}

TEST(EncoderCli, EveryTableValue) {
    for (const char* kbps : {"40", "80", "128", "256", "512"}) {
        const auto o = ParseEncoderArguments({"-i", "a", "-b", kbps, "o.mp4"});
        EXPECT_EQ(o.videoKbps, std::stoi(kbps));
    }
    for (const char* kbps : {"16", "32", "48", "64", "80", "128", "160", "192", "224"})
        EXPECT_EQ(ParseEncoderArguments({"-i", "a", "-ab", kbps, "o.mp4"}).audioKbps, std::stoi(kbps));
    for (const char* hz : {"22050", "32000", "44100", "48000"})
        EXPECT_EQ(ParseEncoderArguments({"-i", "a", "-ar", hz, "o.mp4"}).sampleRate, std::stoi(hz));
    for (int vol = 0; vol <= 500; vol += 25)
        EXPECT_EQ(ParseEncoderArguments({"-i", "a", "-vol", std::to_string(vol), "o.mp4"}).volumePercent, vol);
    for (const char* ac : {"1", "2"})
        EXPECT_EQ(ParseEncoderArguments({"-i", "a", "-ac", ac, "o.mp4"}).channels, std::stoi(ac));
}

TEST(EncoderCli, FrameRatesOfTheTableAsRationals) {
    EXPECT_EQ(ParseFrameRate("14.985"), (Rational{15000, 1001}));
    EXPECT_EQ(ParseFrameRate("15"), (Rational{15, 1}));
    EXPECT_EQ(ParseFrameRate("23.967"), (Rational{24000, 1001}));  // the table's spelling of 23.976
    EXPECT_EQ(ParseFrameRate("24"), (Rational{24, 1}));
    EXPECT_EQ(ParseFrameRate("25"), (Rational{25, 1}));
    EXPECT_EQ(ParseFrameRate("29.97"), (Rational{30000, 1001}));
    EXPECT_EQ(ParseFrameRate("30"), (Rational{30, 1}));
    EXPECT_EQ(ParseFrameRate("30000/1001"), (Rational{30000, 1001}));
    EXPECT_EQ(ParseFrameRate("12.5"), (Rational{25, 2}));
    EXPECT_THROW(ParseFrameRate("fast"), UsageError);
    EXPECT_THROW(ParseFrameRate("0"), UsageError);
    EXPECT_EQ(RateFromDecimal(29.9700898503294), (Rational{30000, 1001}));
}

TEST(EncoderCli, Times) {
    EXPECT_EQ(ParseTimeMicros("00:00:10", "-ss"), 10'000'000);
    EXPECT_EQ(ParseTimeMicros("01:02:03", "-ss"), 3723'000'000LL);
    EXPECT_EQ(ParseTimeMicros("100:00:00", "-ss"), 360000'000'000LL);
    EXPECT_EQ(ParseTimeMicros("90", "-t"), 90'000'000);
    EXPECT_EQ(ParseTimeMicros("-90", "-t"), -90'000'000);
    EXPECT_EQ(ParseTimeMicros("2.5", "-t"), 2'500'000);
    EXPECT_THROW(ParseTimeMicros("1:xx", "-ss"), UsageError);
    EXPECT_THROW(ParseTimeMicros("", "-ss"), UsageError);
}

TEST(EncoderCli, PathsWithSpacesQuotesDashesAndNonAscii) {
    const std::string paths[] = {"/media/my videos/clip one.avi", "/tmp/say \"hello\".avi", "-leading dash.avi",
                                 "/tmp/\xc3\xa9t\xc3\xa9 vid\xc3\xa9o.avi", "-y", "-i"};
    for (const auto& path : paths) {
        const auto line = "favc -y -i " + QuoteArgument(path) + " -acodec mp3 -vn -ab 128 -vol 100 -ac 2 -ar 44100 " +
                          QuoteArgument(path + ".mp3");
        const auto o = ParseEncoderArguments(ArgsOf(line));
        EXPECT_EQ(o.input, path);
        EXPECT_EQ(o.output, path + ".mp3");
    }
}

TEST(EncoderCli, RefusalsInPlainWords) {
    // A length of zero or less.
    for (const char* t : {"0", "-90"}) {
        try {
            ParseEncoderArguments({"-y", "-i", "a.avi", "-ss", "00:00:10", "-t", t, "o.mp4"});
            ADD_FAILURE() << t;
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find("more than 0 seconds"), std::string::npos);
        }
    }
    EXPECT_THROW(ParseEncoderArguments({}), UsageError);
    EXPECT_THROW(ParseEncoderArguments({"o.mp4"}), UsageError);                   // no input
    EXPECT_THROW(ParseEncoderArguments({"-i", "a.avi"}), UsageError);             // no output
    EXPECT_THROW(ParseEncoderArguments({"-i", "a", "-bogus", "1", "o"}), UsageError);
    EXPECT_THROW(ParseEncoderArguments({"-i", "a", "-b", "fast", "o"}), UsageError);
    EXPECT_THROW(ParseEncoderArguments({"-i", "a", "-s", "big", "o"}), UsageError);
    EXPECT_THROW(ParseEncoderArguments({"-i", "a", "-aspect", "wide", "o"}), UsageError);
    EXPECT_THROW(ParseEncoderArguments({"-i", "a", "-ac", "0", "o"}), UsageError);
    EXPECT_THROW(ParseEncoderArguments({"-i", "a", "-vol", "-5", "o"}), UsageError);
    EXPECT_THROW(ParseEncoderArguments({"-i", "a", "stray", "o"}), UsageError);
    EXPECT_THROW(ParseEncoderArguments({"-i", "a", "-b", "o"}), UsageError);      // value missing
}

}  // namespace
