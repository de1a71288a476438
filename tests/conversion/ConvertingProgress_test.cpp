#include "conversion/ConvertingProgress.h"

#include <gtest/gtest.h>

#include "fakes/ConversionRig.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/MemoryProgressBar.h"

namespace {

class ConversionProgress : public ::testing::Test {
protected:
    ConversionProgress()
        : rig("/prog/", NativeNaming(), fs, "/out"),
          progress(rig.proc, TProgressView{fileBar, totalBar, counter, info, fileName, status}) {
        rig.proc.CheckedCount = 2;
        rig.proc.SegmentLength = "90";
        SetJob(0);
    }
    void SetJob(int outputType, const std::string& ext = "") {
        rig.lib.ConvertParam.CodecParam = rig.lib.GetCodecParam(outputType);
        rig.lib.ConvertParam.OutputExt = ext.empty() ? rig.lib.GetOutputExt(outputType) : ext;
        rig.lib.ConvertParam.InputFile = "/videos/clip.avi";
    }
    // The banner, then one status text.
    void Feed(const std::string& text) {
        if (rig.proc.RefreshCount == 0) progress.ShowConvertOutput("favc 1.4 banner");
        progress.ShowConvertOutput(text);
    }

    MemoryFileSystem fs;
    ConversionRig rig;
    MemoryProgressBar fileBar, totalBar;
    MemoryTextBox counter, info, fileName, status;
    TConvertingProgress progress;
};

TEST_F(ConversionProgress, FormShowResetsTheDialog) {
    progress.SpinnerStep = 3;
    progress.FormShow();
    EXPECT_EQ(progress.SpinnerStep, 0);
    EXPECT_EQ(counter.Value, "Current: 1, Total: 2");
    EXPECT_EQ(fileName.Value, "/videos/clip.avi");
    EXPECT_EQ(fileBar.maximum, 1);
    EXPECT_EQ(totalBar.maximum, 1);
}

TEST_F(ConversionProgress, TheBannerIsStoredButNotParsed) {
    progress.ShowConvertOutput("frame=25 q=2.0 size=100kB time=12.34 bitrate=66.3kbits/s");
    EXPECT_EQ(status.Value, "frame=25 q=2.0 size=100kB time=12.34 bitrate=66.3kbits/s");
    EXPECT_EQ(fileName.Value, "/videos/clip.avi");
    EXPECT_EQ(fileBar.position, 0);
    EXPECT_EQ(counter.Value, "");
}

TEST_F(ConversionProgress, TimeFieldByOutputKind) {
    struct Case {
        int outputType;
        std::string ext;
        std::string text;
        int seconds;  // -1: the bar stays where it was
    } cases[] = {
        {0, "", "frame=25 q=2.0 size=100kB time=12.34 bitrate=66.3kbits/s", 12},
        {0, "", "frame=25 q=2.0 size=100kB time=200.00 bitrate=1", 90},  // clamped at the maximum
        {0, "", "frame=25 q=2.0 size=100kB time=10000000000.00 bitrate=1", -1},
        {0, "", "size=100kB time=12.34 bitrate=66.3kbits/s", -1},  // too few pieces for video
        {4, "", "size=100kB time=33.90 bitrate=66.3kbits/s", 33},
        {4, "", "size=100kB time=33.90", -1},  // three pieces
        {4, ".3gp", "frame=9 q=1 size=1kB time=7.5 bitrate=1", 7},
        {2, "", "size=0kB time=.5 bitrate=1", 0},
    };
    for (const Case& c : cases) {
        rig.proc.RefreshCount = 0;
        fileBar.position = 55;
        SetJob(c.outputType, c.ext);
        Feed(c.text);
        EXPECT_EQ(fileBar.position, c.seconds < 0 ? 55 : c.seconds) << c.text;
        EXPECT_EQ(fileBar.maximum, 90);
    }
}

TEST_F(ConversionProgress, OverallBarTrailsTheFileBarByOneRefresh) {
    const std::string at90 = "frame=1 q=1 size=1kB time=90.00 bitrate=1";
    Feed(at90);
    EXPECT_EQ(counter.Value, "Current: 1 , Total: 2.");
    EXPECT_EQ(totalBar.maximum, 200);
    EXPECT_EQ(totalBar.position, 0);  // the file bar was still at 0
    Feed(at90);
    EXPECT_EQ(totalBar.position, 98);  // 90 * 100 div 91

    rig.proc.ConvertedCount = 1;
    rig.proc.RefreshCount = 0;
    fileBar.position = 0;
    Feed("frame=1 q=1 size=1kB time=1.00 bitrate=1");
    EXPECT_EQ(totalBar.position, 100);
    EXPECT_EQ(counter.Value, "Current: 2 , Total: 2.");
}

TEST_F(ConversionProgress, NegativeOrUnreadableSegmentGivesAnEmptyFileBar) {
    for (const std::string length : {"-30", ""}) {
        rig.proc.SegmentLength = length;
        rig.proc.RefreshCount = 0;
        Feed("frame=1 q=1 size=1kB time=12.00 bitrate=1");
        EXPECT_EQ(fileBar.minimum, 0);
        EXPECT_EQ(fileBar.maximum, 0) << length;
        EXPECT_EQ(fileBar.position, 0) << length;
    }
}

TEST_F(ConversionProgress, SpinnerCyclesThroughFiveSteps) {
    std::vector<std::string> seen;
    for (int i = 0; i < 6; ++i) {
        progress.tmrChangingTimer();
        seen.push_back(info.Value);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Installing convert information  |", "Installing convert information  /",
                        "Installing convert information  -", "Installing convert information  \\",
                        "Installing convert information  |", "Installing convert information  |"}));
    fileBar.position = 3;
    progress.tmrChangingTimer();
    EXPECT_EQ(info.Value, "Converting  /");
}

}  // namespace
