// ravc's input: the DirectShowSource line of "VideoFile.avs".

#include "encoder/AvsScript.h"

#include <gtest/gtest.h>

using namespace kestrava::encoder;

namespace {

const std::string kTail = ", fps=29.9700898503294, convertfps=true)";

TEST(EncoderScript, KestravasLineWithCrLf) {
    const auto s = ParseDirectShowScript("DirectShowSource(\"/v/show.rmvb\"" + kTail + "\r\n");
    EXPECT_EQ(s.path, "/v/show.rmvb");
    EXPECT_DOUBLE_EQ(s.fps, 29.9700898503294);
    EXPECT_EQ(s.frameRate, (Rational{30000, 1001}));
}

TEST(EncoderScript, LineEndingsAndSpacing) {
    EXPECT_EQ(ParseDirectShowScript("DirectShowSource(\"a.rm\"" + kTail + "\n").path, "a.rm");
    EXPECT_EQ(ParseDirectShowScript("DirectShowSource(\"a.rm\"" + kTail).path, "a.rm");
    EXPECT_EQ(ParseDirectShowScript("\xEF\xBB\xBF" "directshowsource( \"a.rm\" ,fps = 25 , convertfps = TRUE )\r\n\r\n")
                  .frameRate,
              (Rational{25, 1}));
}

TEST(EncoderScript, PathsAsWrittenBetweenTheQuotes) {
    for (const std::string path : {"/media/my videos/show one.rmvb", "/tmp/say \"hi\".rm", "/tmp/a, fps=1.rm",
                                   "/tmp/\xc3\xa9t\xc3\xa9.rm", "-dash.rm"}) {
        EXPECT_EQ(ParseDirectShowScript("DirectShowSource(\"" + path + "\"" + kTail + "\r\n").path, path);
    }
}

TEST(EncoderScript, AnythingElseIsRefused) {
    const std::string bad[] = {
        "",
        "\r\n",
        "AviSource(\"a.avi\")\r\n",
        "DirectShowSource(\"a.rm\"" + kTail + "\r\nTrim(0, 100)\r\n",
        "DirectShowSource(\"a.rm\", fps=29.97, convertfps=false)\r\n",
        "DirectShowSource(\"a.rm\", fps=29.97, audio=false)\r\n",
        "DirectShowSource(\"a.rm\", convertfps=true)\r\n",
        "DirectShowSource(\"a.rm\", fps=fast, convertfps=true)\r\n",
        "DirectShowSource(a.rm, fps=29.97, convertfps=true)\r\n",
        "DirectShowSource(\"a.rm\", fps=29.97, convertfps=true\r\n",
        "DirectShowSource(\"\"" + kTail + "\r\n",
        std::string("\x2E\x52\x4D\x46\0\0\0\x12", 8),
    };
    for (const auto& text : bad)
        EXPECT_THROW(ParseDirectShowScript(text), UsageError) << text;
}

}  // namespace
