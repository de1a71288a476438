// Every output type and the quality rows, with the command lines the builder makes, checked with
// libavformat.

#include "EncoderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace encoder_test;

namespace {

const std::string kFavc = ProgramPath("favc");

// Runs one line and expects success with the output file in place.
MediaFacts Convert(const std::string& line, const std::string& output) {
    const RunResult r = RunCommandLine(line);
    EXPECT_EQ(r.exitCode, 0) << line << "\n" << r.output;
    EXPECT_TRUE(FileExists(output)) << line;
    const auto pieces = OutputPieces(r.output);
    EXPECT_FALSE(pieces.empty());
    if (!pieces.empty()) {
        EXPECT_EQ(pieces.front().rfind("favc version ", 0), 0u) << pieces.front();
    }
    EXPECT_EQ(r.output.back(), '\n');
    return Probe(output);
}

void ExpectVideo(const MediaFacts& m, int w, int h, int rateNum, int rateDen, double dar) {
    ASSERT_TRUE(m.video.present);
    EXPECT_EQ(m.video.codec, "mpeg4");
    EXPECT_EQ(m.video.profile, "Simple Profile");
    EXPECT_EQ(m.video.width, w);
    EXPECT_EQ(m.video.height, h);
    EXPECT_EQ(m.video.rateNum * int64_t(rateDen), int64_t(rateNum) * m.video.rateDen)
        << m.video.rateNum << "/" << m.video.rateDen;
    EXPECT_NEAR(m.displayAspect(), dar, 0.01);
    // The bitstream says the same aspect as the container.
    const double codecSar = m.video.codecSarNum > 0 ? double(m.video.codecSarNum) / m.video.codecSarDen : 1.0;
    EXPECT_NEAR(w * codecSar / h, dar, 0.01);
}

TEST(EncoderOutputs, Mp4WorkedExample) {
    TempDir dir;
    const std::string out = dir / "clip.mp4";
    Fragments f = FragmentsForType(0);
    f.segment = " -ss 00:00:01 -t 2";
    const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out);
    ASSERT_TRUE(m.readable);
    EXPECT_EQ(m.brand, "isom");
    ExpectVideo(m, 320, 240, 15, 1, 4.0 / 3);
    EXPECT_EQ(m.video.packets, 30);
    EXPECT_NEAR(m.video.duration, 2.0, 1.0 / 15);
    ASSERT_TRUE(m.audio.present);
    EXPECT_EQ(m.audio.codec, "aac");
    EXPECT_EQ(m.audio.profile, "LC");
    EXPECT_EQ(m.audio.channels, 2);
    EXPECT_EQ(m.audio.sampleRate, 44100);
    EXPECT_NEAR(m.audio.streamDuration, 2.0, 0.03);
    EXPECT_NEAR(DecodedAudioSeconds(out), 2.0, 0.03);
}

TEST(EncoderOutputs, MovWithMinusF) {
    TempDir dir;
    const std::string out = dir / "clip.mov";
    Fragments f = FragmentsForType(1);
    f.segment = " -ss 00:00:01 -t 2";
    f.channels = " -ac 1";
    f.sampleRate = " -ar 22050";
    const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out);
    EXPECT_EQ(m.brand, "qt  ");
    ExpectVideo(m, 320, 240, 15, 1, 4.0 / 3);
    EXPECT_EQ(m.audio.codec, "aac");
    EXPECT_EQ(m.audio.channels, 1);
    EXPECT_EQ(m.audio.sampleRate, 22050);
}

TEST(EncoderOutputs, MinusFMovOverridesTheExtension) {
    TempDir dir;
    const std::string out = dir / "clip.mp4";
    Fragments f = FragmentsForType(1);
    f.segment = " -ss 00:00:00 -t 1";
    const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out);
    EXPECT_EQ(m.brand, "qt  ");
}

TEST(EncoderOutputs, AacIsAdts) {
    TempDir dir;
    const std::string out = dir / "clip.aac";
    Fragments f = FragmentsForType(2);
    f.segment = " -ss 00:00:01 -t 2";
    const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out);
    EXPECT_EQ(m.format, "aac");
    EXPECT_FALSE(m.video.present);
    EXPECT_EQ(m.audio.codec, "aac");
    EXPECT_EQ(m.audio.channels, 2);
    EXPECT_EQ(m.audio.sampleRate, 44100);
    // ADTS cannot say the encoder's 1024 priming samples; the rest is the length.
    const double seconds = DecodedAudioSeconds(out) - 1024.0 / 44100;
    EXPECT_GE(seconds, 2.0 - 0.03);
    EXPECT_LE(seconds, 2.0 + 1024.0 / 44100);
}

TEST(EncoderOutputs, M4a) {
    TempDir dir;
    const std::string out = dir / "clip.m4a";
    Fragments f = FragmentsForType(3);
    f.segment = " -ss 00:00:01 -t 2";
    const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out);
    EXPECT_EQ(m.brand, "M4A ");
    EXPECT_FALSE(m.video.present);
    EXPECT_EQ(m.audio.codec, "aac");
    EXPECT_NEAR(DecodedAudioSeconds(out), 2.0, 0.03);
}

TEST(EncoderOutputs, Mp3) {
    TempDir dir;
    const std::string out = dir / "clip.mp3";
    Fragments f = FragmentsForType(4);
    f.segment = " -ss 00:00:01 -t 3";
    const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out);
    EXPECT_EQ(m.format, "mp3");
    EXPECT_FALSE(m.video.present);
    EXPECT_EQ(m.audio.codec, "mp3");
    EXPECT_EQ(m.audio.channels, 2);
    EXPECT_EQ(m.audio.sampleRate, 44100);
    EXPECT_NEAR(DecodedAudioSeconds(out), 3.0, 0.03);
}

TEST(EncoderOutputs, ThreeGpAudioShape) {
    // "-acodec" codec text with a .3gp/.3g2 output: size and bitrate before the audio fragments
    // and the fixed " -ac 1 -ar 8000".
    for (const char* ext : {".3gp", ".3g2"}) {
        TempDir dir;
        const std::string out = dir / (std::string("clip") + ext);
        Fragments f = FragmentsForType(2);
        f.segment = " -ss 00:00:01 -t 2";
        const std::string line = BuildCommandLine(kFavc, Fixture("clip.avi"), f, out);
        EXPECT_NE(line.find(" -s 320x240 -b 128 -ab 128 -vol 100 -ac 1 -ar 8000 "), std::string::npos) << line;
        const MediaFacts m = Convert(line, out);
        EXPECT_EQ(m.brand.substr(0, 3), std::string(ext).substr(1, 3)) << m.brand;
        EXPECT_EQ(m.audio.channels, 1);
        EXPECT_EQ(m.audio.sampleRate, 8000);
        // The edit list gives the length (an AAC frame lasts 128 ms at 8 kHz).
        EXPECT_NEAR(m.audio.streamDuration, 2.0, 0.03);
    }
}

TEST(EncoderOutputs, AmrAudioShapeIsRefusedWithoutAnAmrEncoder) {
    TempDir dir;
    const std::string out = dir / "clip.amr";
    Fragments f = FragmentsForType(2);
    const RunResult r = RunCommandLine(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out));
    if (r.exitCode == 0) {  // an FFmpeg with an AMR-NB encoder
        EXPECT_EQ(Probe(out).audio.codec, "amr_nb");
        return;
    }
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("AMR-NB"), std::string::npos) << r.output;
    EXPECT_FALSE(FileExists(out));
}

TEST(EncoderOutputs, TargetShape) {
    TempDir dir;
    const std::string out = dir / "clip.mpg";
    Fragments f;
    f.codec = " -target ntsc-vcd";
    f.segment = " -ss 00:00:01 -t 2";
    const std::string line = BuildCommandLine(kFavc, Fixture("clip.avi"), f, out);
    const RunResult r = RunCommandLine(line);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const MediaFacts m = Probe(out);
    EXPECT_EQ(m.video.codec, "mpeg1video");
    EXPECT_EQ(m.video.width, 352);
    EXPECT_EQ(m.video.height, 240);
    EXPECT_EQ(m.audio.codec, "mp2");
    EXPECT_NEAR(m.duration, 2.0, 0.1);
}

TEST(EncoderOutputs, DefaultCodecTextXvidToAvi) {
    // GetCodecParam's default " -vcodec xvid -acodec mp3" with GetOutputExt's default ".avi".
    TempDir dir;
    const std::string out = dir / "clip.avi";
    Fragments f;
    f.codec = " -vcodec xvid -acodec mp3";
    f.videoBitrate = " -b 512";
    f.frameRate = " -r 25";
    f.audioBitrate = " -ab 64";
    f.volume = " ";
    f.segment = " -ss 00:00:01 -t 2";
    const std::string line = BuildCommandLine(kFavc, Fixture("clip.avi"), f, out);
    EXPECT_NE(line.find("-ab 64  -ac 2"), std::string::npos);
    const RunResult r = RunCommandLine(line);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const MediaFacts m = Probe(out);
    EXPECT_EQ(m.video.codec, "mpeg4");
    EXPECT_EQ(m.video.tag, static_cast<unsigned>('X' | 'V' << 8 | 'I' << 16 | 'D' << 24));
    EXPECT_EQ(m.audio.codec, "mp3");
    EXPECT_EQ(m.video.packets, 50);
}

// Every quality level of every output type (the resolved preset rows).
struct QualityRow {
    const char* rate;
    const char* videoKbps;
    const char* audioKbps;
    const char* groupAChannels;
    const char* groupARate;
};
const QualityRow kRows[] = {{"14.985", "40", "48", "1", "22050"},
                            {"14.985", "80", "80", "2", "32000"},
                            {"15", "128", "128", "2", "44100"},
                            {"15", "256", "192", "2", "44100"},
                            {"15", "512", "224", "2", "48000"}};

class EncoderQualityRows : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(EncoderQualityRows, Converts) {
    const auto [type, level] = GetParam();
    const QualityRow& row = kRows[level];
    const bool groupB = type == 1 || type == 3;
    const char* exts[] = {".mp4", ".mov", ".aac", ".m4a", ".mp3"};
    TempDir dir;
    const std::string out = dir / (std::string("clip") + exts[type]);
    Fragments f = FragmentsForType(type);
    f.frameRate = std::string(" -r ") + row.rate;
    f.videoBitrate = std::string(" -b ") + row.videoKbps;
    f.audioBitrate = std::string(" -ab ") + row.audioKbps;
    f.channels = std::string(" -ac ") + (groupB ? "1" : row.groupAChannels);
    f.sampleRate = std::string(" -ar ") + (groupB ? "22050" : row.groupARate);
    f.volume = " -vol 200";
    f.segment = " -ss 00:00:01 -t 2";
    const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out);
    ASSERT_TRUE(m.readable);
    if (type <= 1) {
        const bool ntsc = std::string(row.rate) == "14.985";
        ExpectVideo(m, 320, 240, ntsc ? 15000 : 15, ntsc ? 1001 : 1, 4.0 / 3);
        EXPECT_EQ(m.video.packets, 30);
    } else {
        EXPECT_FALSE(m.video.present);
    }
    ASSERT_TRUE(m.audio.present);
    EXPECT_EQ(m.audio.channels, groupB ? 1 : std::atoi(row.groupAChannels));
    EXPECT_EQ(m.audio.sampleRate, groupB ? 22050 : std::atoi(row.groupARate));
}

INSTANTIATE_TEST_SUITE_P(EncoderAllTypesAllLevels, EncoderQualityRows,
                         ::testing::Combine(::testing::Range(0, 5), ::testing::Range(0, 5)));

TEST(EncoderOutputs, EveryFrameRateOfTheTable) {
    struct Rate {
        const char* text;
        int num, den;
    };
    const Rate rates[] = {{"23.967", 24000, 1001}, {"24", 24, 1},          {"25", 25, 1},
                          {"29.97", 30000, 1001},  {"30", 30, 1}};
    for (const Rate& rate : rates) {
        TempDir dir;
        const std::string out = dir / "clip.mp4";
        Fragments f = FragmentsForType(0);
        f.frameRate = std::string(" -r ") + rate.text;
        f.segment = " -ss 00:00:01 -t 2";
        const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out);
        ExpectVideo(m, 320, 240, rate.num, rate.den, 4.0 / 3);
        // Constant frame rate: the frame count is the length times the rate, rounded up.
        EXPECT_EQ(m.video.packets, static_cast<int64_t>(std::ceil(2.0 * rate.num / rate.den - 1e-9))) << rate.text;
        EXPECT_NEAR(m.video.duration, 2.0, double(rate.den) / rate.num) << rate.text;
    }
}

TEST(EncoderOutputs, WholeFileWithoutSegment) {
    TempDir dir;
    const std::string out = dir / "clip.mp4";
    const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture("clip.avi"), FragmentsForType(0), out), out);
    const MediaFacts source = Probe(Fixture("clip.avi"));
    EXPECT_NEAR(m.video.duration, source.video.duration, 1.0 / 15);
}

TEST(EncoderOutputs, SourcesOfManyContainers) {
    for (const char* name : {"clip16x9.mp4", "clip.mov", "clip.flv", "clip.wmv", "clip.3gp"}) {
        TempDir dir;
        const std::string out = dir / "out.mp4";
        Fragments f = FragmentsForType(0);
        f.segment = " -ss 00:00:01 -t 2";
        const MediaFacts m = Convert(BuildCommandLine(kFavc, Fixture(name), f, out), out);
        ExpectVideo(m, 320, 240, 15, 1, 4.0 / 3);
        EXPECT_EQ(m.video.packets, 30) << name;
        EXPECT_TRUE(m.audio.present) << name;
        EXPECT_NEAR(m.audio.streamDuration, 2.0, 0.03) << name;
    }
}

TEST(EncoderOutputs, PathsWithSpacesQuotesDashesAndNonAscii) {
    TempDir dir;
    for (const std::string name : {"my clip.avi", "say \"hi\".avi", "-dash.avi", "\xc3\xa9t\xc3\xa9 vid\xc3\xa9o.avi",
                                   "a:b.avi"}) {
        const std::string input = dir / name;
        WriteFile(input, ReadFile(Fixture("clip.avi")));
        const std::string out = dir / ("out " + name + ".mp3");
        Fragments f = FragmentsForType(4);
        f.segment = " -ss 00:00:00 -t 1";
        const RunResult r = RunCommandLine(BuildCommandLine(kFavc, input, f, out));
        EXPECT_EQ(r.exitCode, 0) << name << "\n" << r.output;
        EXPECT_TRUE(Probe(out).audio.present) << name;
    }
}

}  // namespace
