// Volume as a percentage, clean limiting, channel mixing and resampling.

#include "EncoderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace encoder_test;

namespace {

const std::string kFavc = ProgramPath("favc");
const double kSourceRms = 0.25 / std::sqrt(2.0);  // the fixtures' sine at -12 dBFS

AudioLevel ConvertAndMeasure(const std::string& source, int type, const std::string& volume,
                             const std::string& channels = " -ac 2", const std::string& rate = " -ar 44100") {
    TempDir dir;
    const char* exts[] = {".mp4", ".mov", ".aac", ".m4a", ".mp3"};
    const std::string out = dir / (std::string("out") + exts[type]);
    Fragments f = FragmentsForType(type);
    f.volume = volume;
    f.channels = channels;
    f.sampleRate = rate;
    const RunResult r = RunCommandLine(BuildCommandLine(kFavc, source, f, out));
    EXPECT_EQ(r.exitCode, 0) << r.output;
    return MeasureAudio(out);
}

TEST(EncoderAudio, VolumeZeroIsSilent) {
    for (int type : {3, 4}) {
        const AudioLevel level = ConvertAndMeasure(Fixture("audio.wav"), type, " -vol 0");
        EXPECT_LT(level.rms, 1e-3) << type;
    }
}

TEST(EncoderAudio, VolumeHundredKeepsTheLevel) {
    for (int type : {3, 4}) {
        const AudioLevel level = ConvertAndMeasure(Fixture("audio.wav"), type, " -vol 100");
        EXPECT_NEAR(20 * std::log10(level.rms / kSourceRms), 0.0, 0.5) << type;
    }
}

TEST(EncoderAudio, VolumeTwoHundredDoublesIt) {
    for (int type : {0, 3, 4}) {
        // Against the source as measured (its own mp3 audio is a little below -12 dBFS).
        const double source = MeasureAudio(Fixture("clip.avi")).rms;
        const AudioLevel level = ConvertAndMeasure(Fixture("clip.avi"), type, " -vol 200");
        EXPECT_NEAR(20 * std::log10(level.rms / source), 6.02, 0.5) << type;
    }
}

TEST(EncoderAudio, NoVolumeSelectionKeepsTheLevel) {
    const AudioLevel level = ConvertAndMeasure(Fixture("audio.wav"), 4, " ");
    EXPECT_NEAR(20 * std::log10(level.rms / kSourceRms), 0.0, 0.5);
}

TEST(EncoderAudio, LoudSourceAtFiveHundredIsLimitedNotWrapped) {
    for (int type : {3, 4}) {
        const AudioLevel level = ConvertAndMeasure(Fixture("loud.wav"), type, " -vol 500");
        EXPECT_LE(level.peak, 1.02) << type;
        EXPECT_GT(level.rms, 0.5) << type;  // loud, not muted
        // A wrapped sample flips sign: the 440 Hz tone keeps its 880 zero crossings a second.
        EXPECT_NEAR(level.crossingsPerSecond, 880, 880 * 0.03) << type;
    }
}

TEST(EncoderAudio, MonoUpmixedToStereoAtUnity) {
    TempDir dir;
    const std::string out = dir / "out.m4a";
    Fragments f = FragmentsForType(3);
    ASSERT_EQ(RunCommandLine(BuildCommandLine(kFavc, Fixture("mono.wav"), f, out)).exitCode, 0);
    EXPECT_EQ(Probe(out).audio.channels, 2);
    EXPECT_NEAR(20 * std::log10(MeasureAudio(out).rms / kSourceRms), 0.0, 0.5);
}

TEST(EncoderAudio, StereoDownmixedToMono) {
    TempDir dir;
    const std::string out = dir / "out.mp3";
    Fragments f = FragmentsForType(4);
    f.channels = " -ac 1";
    ASSERT_EQ(RunCommandLine(BuildCommandLine(kFavc, Fixture("audio.wav"), f, out)).exitCode, 0);
    EXPECT_EQ(Probe(out).audio.channels, 1);
    EXPECT_NEAR(20 * std::log10(MeasureAudio(out).rms / kSourceRms), 0.0, 0.5);
}

TEST(EncoderAudio, SurroundDownmixedToStereo) {
    for (int type : {3, 4}) {
        TempDir dir;
        const char* exts[] = {"", "", "", ".m4a", ".mp3"};
        const std::string out = dir / (std::string("out") + exts[type]);
        Fragments f = FragmentsForType(type);
        const RunResult r = RunCommandLine(BuildCommandLine(kFavc, Fixture("surround.wav"), f, out));
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const MediaFacts m = Probe(out);
        EXPECT_EQ(m.audio.channels, 2);
        EXPECT_LE(MeasureAudio(out).peak, 1.02);
    }
}

TEST(EncoderAudio, EverySampleRateOfTheTable) {
    for (int type : {3, 4})
        for (int rate : {22050, 32000, 44100, 48000}) {
            TempDir dir;
            const std::string out = dir / (type == 3 ? "out.m4a" : "out.mp3");
            Fragments f = FragmentsForType(type);
            f.sampleRate = " -ar " + std::to_string(rate);
            f.segment = " -ss 00:00:01 -t 1";
            const RunResult r = RunCommandLine(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out));
            ASSERT_EQ(r.exitCode, 0) << r.output;
            EXPECT_EQ(Probe(out).audio.sampleRate, rate) << type;
            // MP3 says its encoder delay and padding in its LAME header, MP4 in its edit list.
            const MediaFacts m = Probe(out);
            EXPECT_NEAR(type == 4 ? DecodedAudioSeconds(out) : m.audio.streamDuration, 1.0, 0.03)
                << type << " " << rate;
        }
}

TEST(EncoderAudio, EveryAudioBitrateOfTheTableForMp3AndAac) {
    for (int type : {3, 4})
        for (const char* kbps : {"16", "32", "48", "64", "80", "128", "160", "192", "224"})
            for (const char* rate : {"22050", "48000"}) {
                TempDir dir;
                const std::string out = dir / (type == 3 ? "out.m4a" : "out.mp3");
                Fragments f = FragmentsForType(type);
                f.audioBitrate = std::string(" -ab ") + kbps;
                f.sampleRate = std::string(" -ar ") + rate;
                f.segment = " -ss 00:00:00 -t 1";
                const RunResult r = RunCommandLine(BuildCommandLine(kFavc, Fixture("audio.wav"), f, out));
                EXPECT_EQ(r.exitCode, 0) << type << " " << kbps << " " << rate << "\n" << r.output;
            }
}

}  // namespace
