// The selectors after start-up, and the presets on the user's picks only.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"
#include "app/FrmOption.h"

namespace {

class AppSelectors : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test.Start()); }

    // The shown text of each option selector, "" for no selection.
    std::map<std::string, std::string> Options() {
        TfrmOption& o = test.Options();
        return {{"size", o.VideoSize().SelectedText()},     {"vbitrate", o.VideoBitrate().SelectedText()},
                {"fps", o.Framerate().SelectedText()},       {"aspect", o.Aspectratio().SelectedText()},
                {"abitrate", o.AudioBitrate().SelectedText()}, {"sample", o.AudioSample().SelectedText()},
                {"volume", o.AudioVolumeGain().SelectedText()}, {"channels", o.AudioChannels().SelectedText()}};
    }

    TestProgramFolder folder;
    TestProgram test{folder};
};

}  // namespace

TEST_F(AppSelectors, RightAfterStartUp) {
    TFrmMainForm& main = test.Main();
    EXPECT_EQ(main.cbbOutputFiletype->currentText(), "iPod MPEG-4 Video Files (*.mp4)");
    EXPECT_EQ(main.cbbOutputFiletype->count(), 5);
    EXPECT_EQ(main.cbbProfile->currentText(), "Normal Quality");
    EXPECT_EQ(main.cbbProfile->count(), 5);
    const std::map<std::string, std::string> expected = {
        {"size", ""},       {"vbitrate", "128"}, {"fps", "15"},     {"aspect", "4:3"},
        {"abitrate", "128"}, {"sample", "44100"}, {"volume", "200"}, {"channels", "2 channels, Stereo"}};
    EXPECT_EQ(Options(), expected);
    EXPECT_EQ(test.Options().VideoSize().ItemIndex(), -1);
    EXPECT_EQ(test.Options().cbbCustomProfile->count(), 0);
    EXPECT_EQ(test.Options().cbbCustomProfile->currentText(), "");
    EXPECT_TRUE(main.acceptDrops());
}

TEST_F(AppSelectors, OutputTypePickedByTheUserAppliesThePreset) {
    QComboBox& types = *test.Main().cbbOutputFiletype;
    types.setFocus();
    QTest::keyClick(&types, Qt::Key_Down);  // the user steps to the MOV type
    ASSERT_EQ(types.currentText(), "MOV Video Files (*.mov)");
    EXPECT_EQ(Options()["channels"], "1 channel, Mono");
    EXPECT_EQ(Options()["sample"], "22050");

    UserPicks(types, 2);  // AAC
    EXPECT_EQ(Options()["channels"], "2 channels, Stereo");
    EXPECT_EQ(Options()["sample"], "44100");
    EXPECT_TRUE(test.Options().cbbVideoBitrate->isEnabled());
    EXPECT_TRUE(test.Main().btnOptions->isEnabled());
}

TEST_F(AppSelectors, QualityPickedByTheUserAppliesThePreset) {
    UserPicks(*test.Main().cbbProfile, 0);  // Low Quality
    EXPECT_EQ(Options()["fps"], "14.985");
    EXPECT_EQ(Options()["vbitrate"], "40");
    EXPECT_EQ(Options()["abitrate"], "48");
    EXPECT_EQ(Options()["channels"], "1 channel, Mono");
    EXPECT_EQ(Options()["sample"], "22050");
}

TEST_F(AppSelectors, ASelectionSetByTheProgramAppliesNoPreset) {
    test.Main().OutputFiletypeSelector().SetItemIndex(1);
    test.Main().ProfileSelector().SetItemIndex(0);
    EXPECT_EQ(Options()["channels"], "2 channels, Stereo");
    EXPECT_EQ(Options()["fps"], "15");
}

TEST_F(AppSelectors, AspectRatioAndVolumeSurviveEveryPreset) {
    UserPicks(*test.Options().cbbAspectratio, 1);      // 16:9
    UserPicks(*test.Options().cbbAudioVolumeGain, 4);  // 100
    for (int type = 0; type < 5; ++type) {
        UserPicks(*test.Main().cbbOutputFiletype, type);
        for (int quality = 0; quality < 5; ++quality) {
            UserPicks(*test.Main().cbbProfile, quality);
            EXPECT_EQ(Options()["aspect"], "16:9");
            EXPECT_EQ(Options()["volume"], "100");
        }
    }
}
