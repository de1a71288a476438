// ravc: the DirectShowSource script of "VideoFile.avs" naming a RealMedia source.

#include "EncoderTestSupport.h"

#include <gtest/gtest.h>

using namespace encoder_test;

namespace {

const std::string kRavc = ProgramPath("ravc");

std::string WriteScript(const TempDir& dir, const std::string& source, const std::string& lineEnd = "\r\n") {
    const std::string script = dir / "VideoFile.avs";
    WriteFile(script, "DirectShowSource(\"" + source + "\", fps=29.9700898503294, convertfps=true)" + lineEnd);
    return script;
}

TEST(EncoderRavc, RealMediaToEveryOutputType) {
    const char* exts[] = {".mp4", ".mov", ".aac", ".m4a", ".mp3"};
    for (const char* source : {"clip.rm", "clip.rmvb"})
        for (int type = 0; type < 5; ++type) {
            TempDir dir;
            const std::string script = WriteScript(dir, Fixture(source), type % 2 ? "\n" : "\r\n");
            const std::string out = dir / (std::string("show") + exts[type]);
            Fragments f = FragmentsForType(type);
            f.segment = " -ss 00:00:01 -t 2";
            const RunResult r = RunCommandLine(BuildCommandLine(kRavc, script, f, out));
            ASSERT_EQ(r.exitCode, 0) << source << " " << type << "\n" << r.output;
            EXPECT_EQ(OutputPieces(r.output).front().rfind("ravc version ", 0), 0u);
            const MediaFacts m = Probe(out);
            ASSERT_TRUE(m.readable);
            if (type <= 1) {
                EXPECT_EQ(m.video.codec, "mpeg4");
                EXPECT_EQ(m.video.width, 320);
                EXPECT_EQ(m.video.rateNum, 15);
                EXPECT_EQ(m.video.packets, 30);
            } else {
                EXPECT_FALSE(m.video.present);
            }
            ASSERT_TRUE(m.audio.present) << source << " " << type;
            EXPECT_EQ(m.audio.sampleRate, 44100);
            EXPECT_NEAR(DecodedAudioSeconds(out), 2.0, 0.05) << source << " " << type;
        }
}

TEST(EncoderRavc, ConvertsAtTheScriptsRateWhenNoRateIsGiven) {
    TempDir dir;
    const std::string script = WriteScript(dir, Fixture("clip.rmvb"));
    const std::string out = dir / "show.mp4";
    const RunResult r = RunProgram(kRavc, {"-y", "-i", script, "-vcodec", "mpeg4", "-an", "-t", "2", out});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const MediaFacts m = Probe(out);
    EXPECT_EQ(m.video.rateNum, 30000);
    EXPECT_EQ(m.video.rateDen, 1001);
    EXPECT_EQ(m.video.packets, 60);  // 2 s at 29.97: 59.94, rounded up
}

TEST(EncoderRavc, ScriptPathWithSpacesAndQuotes) {
    TempDir dir;
    const std::string source = dir / "my \"best\" show.rm";
    WriteFile(source, ReadFile(Fixture("clip.rm")));
    const std::string script = WriteScript(dir, source);
    const std::string out = dir / "show.mp3";
    const RunResult r = RunCommandLine(BuildCommandLine(kRavc, script, FragmentsForType(4), out));
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(Probe(out).audio.present);
}

TEST(EncoderRavc, AnythingElseIsRefused) {
    TempDir dir;
    const std::string out = dir / "show.mp4";
    const std::string script = dir / "VideoFile.avs";
    for (const std::string& text : {std::string("AviSource(\"x.avi\")\r\n"),
                                   "DirectShowSource(\"" + Fixture("clip.rm") + "\", fps=29.97, convertfps=true)\r\n"
                                   "Trim(0, 10)\r\n",
                                   std::string("")}) {
        WriteFile(script, text);
        const RunResult r = RunCommandLine(BuildCommandLine(kRavc, script, FragmentsForType(0), out));
        EXPECT_EQ(r.exitCode, 1) << text;
        EXPECT_NE(r.output.find("the script is not a DirectShowSource"), std::string::npos) << r.output;
        EXPECT_FALSE(FileExists(out));
    }
    // A media file given directly instead of a script.
    RunResult r = RunCommandLine(BuildCommandLine(kRavc, Fixture("clip.rm"), FragmentsForType(0), out));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("binary data"), std::string::npos) << r.output;
    // A script naming a missing source.
    r = RunCommandLine(BuildCommandLine(kRavc, WriteScript(dir, dir / "gone.rmvb"), FragmentsForType(0), out));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("cannot read the source"), std::string::npos) << r.output;
    EXPECT_FALSE(FileExists(out));
    // No script at all.
    r = RunCommandLine(BuildCommandLine(kRavc, dir / "none.avs", FragmentsForType(0), out));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(FileExists(out));
}

}  // namespace
