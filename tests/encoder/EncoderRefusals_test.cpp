// Every refusal: a clear message, exit code 1, and no output file.

#include "EncoderTestSupport.h"

#include <gtest/gtest.h>

using namespace encoder_test;

namespace {

const std::string kFavc = ProgramPath("favc");

void ExpectRefused(const std::string& line, const std::string& output, const std::string& words) {
    const RunResult r = RunCommandLine(line);
    EXPECT_EQ(r.exitCode, 1) << line << "\n" << r.output;
    EXPECT_NE(r.output.find("error: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(words), std::string::npos) << "expected \"" << words << "\" in:\n" << r.output;
    EXPECT_FALSE(FileExists(output)) << line;
}

TEST(EncoderRefusals, LengthOfZeroOrLess) {
    for (const char* segment : {" -ss 00:00:01 -t 0", " -ss 00:01:40 -t -90"}) {
        TempDir dir;
        const std::string out = dir / "out.mp4";
        Fragments f = FragmentsForType(0);
        f.segment = segment;
        ExpectRefused(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out, "more than 0 seconds");
    }
}

TEST(EncoderRefusals, StartAtOrBeyondTheEnd) {
    for (const char* segment : {" -ss 00:00:06 -t 2", " -ss 00:01:00 -t 10"}) {
        for (int type : {0, 4}) {
            TempDir dir;
            const std::string out = dir / (type == 0 ? "out.mp4" : "out.mp3");
            Fragments f = FragmentsForType(type);
            f.segment = segment;
            ExpectRefused(BuildCommandLine(kFavc, Fixture("clip.avi"), f, out), out, "beyond the end");
        }
    }
}

TEST(EncoderRefusals, UnreadableSources) {
    TempDir dir;
    const std::string out = dir / "out.mp4";
    const Fragments f = FragmentsForType(0);
    ExpectRefused(BuildCommandLine(kFavc, dir / "missing.avi", f, out), out, "cannot read the source");
    ExpectRefused(BuildCommandLine(kFavc, Fixture("noise.bin"), f, out), out, "cannot read the source");
    ExpectRefused(BuildCommandLine(kFavc, Fixture("empty.avi"), f, out), out, "cannot read the source");
    ExpectRefused(BuildCommandLine(kFavc, dir.path(), f, out), out, "cannot read the source");
}

TEST(EncoderRefusals, NothingToWrite) {
    TempDir dir;
    const std::string out = dir / "out.mp3";
    ExpectRefused(BuildCommandLine(kFavc, Fixture("video.avi"), FragmentsForType(4), out), out, "has no audio");
}

TEST(EncoderRefusals, OneMissingKindIsLeftOut) {
    TempDir dir;
    // A source without audio to a video type: video only.
    std::string out = dir / "video.mp4";
    ASSERT_EQ(RunCommandLine(BuildCommandLine(kFavc, Fixture("video.avi"), FragmentsForType(0), out)).exitCode, 0);
    MediaFacts m = Probe(out);
    EXPECT_TRUE(m.video.present);
    EXPECT_FALSE(m.audio.present);
    // A source without video to a video type: that container with audio only.
    out = dir / "audio.mp4";
    ASSERT_EQ(RunCommandLine(BuildCommandLine(kFavc, Fixture("audio.wav"), FragmentsForType(0), out)).exitCode, 0);
    m = Probe(out);
    EXPECT_FALSE(m.video.present);
    EXPECT_TRUE(m.audio.present);
    EXPECT_EQ(m.brand, "isom");
}

TEST(EncoderRefusals, UnknownContainerOrOption) {
    TempDir dir;
    const std::string out = dir / "out.xyz";
    ExpectRefused(BuildCommandLine(kFavc, Fixture("clip.avi"), FragmentsForType(0), out), out, "no container");
    const std::string mp4 = dir / "out.mp4";
    ExpectRefused(kFavc + " -y -i \"" + Fixture("clip.avi") + "\" -vcodec mpeg4 -frobnicate 3 \"" + mp4 + "\"", mp4,
                  "unknown option -frobnicate");
}

TEST(EncoderRefusals, ExistingOutputIsKeptWithoutMinusY) {
    TempDir dir;
    const std::string out = dir / "out.mp3";
    WriteFile(out, "keep me");
    const RunResult r = RunProgram(kFavc, {"-i", Fixture("audio.wav"), "-acodec", "mp3", "-vn", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("add -y"), std::string::npos) << r.output;
    EXPECT_EQ(ReadFile(out), "keep me");
    // With -y it is replaced.
    EXPECT_EQ(RunProgram(kFavc, {"-y", "-i", Fixture("audio.wav"), "-acodec", "mp3", "-vn", out}).exitCode, 0);
    EXPECT_TRUE(Probe(out).audio.present);
}

TEST(EncoderRefusals, OutputIsTheSource) {
    TempDir dir;
    const std::string input = dir / "in.mp3";
    ASSERT_EQ(RunProgram(kFavc, {"-y", "-i", Fixture("audio.wav"), "-acodec", "mp3", "-vn", input}).exitCode, 0);
    const std::string before = ReadFile(input);
    const RunResult r = RunProgram(kFavc, {"-y", "-i", input, "-acodec", "mp3", "-vn", input});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(ReadFile(input), before);
}

TEST(EncoderRefusals, OutputFolderMissing) {
    TempDir dir;
    const std::string out = dir / "no such folder/out.mp4";
    ExpectRefused(BuildCommandLine(kFavc, Fixture("clip.avi"), FragmentsForType(0), out), out,
                  "cannot create the output file");
}

}  // namespace
