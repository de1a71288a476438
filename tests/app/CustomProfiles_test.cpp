// Custom profiles through the options dialog, on real INI files in a temporary program folder.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"
#include "app/FrmOption.h"

namespace {

class AppCustomProfiles : public ::testing::Test {
protected:
    void Start() {
        ASSERT_TRUE(test->Start());
        test->Main().btnOptions->click();
        ASSERT_TRUE(Dialog().isVisible());
    }
    TfrmOption& Dialog() { return test->Options(); }
    std::vector<std::string> BoxItems() {
        std::vector<std::string> items;
        for (int i = 0; i < Dialog().cbbCustomProfile->count(); ++i)
            items.push_back(Dialog().cbbCustomProfile->itemText(i).toStdString());
        return items;
    }

    TestProgramFolder folder;
    std::unique_ptr<TestProgram> test = std::make_unique<TestProgram>(folder);
};

}  // namespace

TEST_F(AppCustomProfiles, AddProposesNumberedNamesAndStoresTheOptions) {
    Start();
    test->prompt.Answers = {std::nullopt};  // the first Add is cancelled
    Dialog().btnAdd->click();
    Dialog().btnAdd->click();
    ASSERT_EQ(test->prompt.Asked.size(), 2u);
    EXPECT_EQ(test->prompt.Asked[0].proposed, "UserProfileInfo1");
    EXPECT_EQ(test->prompt.Asked[1].proposed, "UserProfileInfo2");
    EXPECT_EQ(test->prompt.Asked[0].prompt, "Plese input a name");
    EXPECT_EQ(test->prompt.Asked[0].caption, "Kestrava");
    EXPECT_EQ(folder.ReadConfig("UserProfileInfo.ini"),
              "\r\n[UserProfileInfo2]\r\nUserProfileInfo2=-1|1|2|5|1|2\r\n");
    EXPECT_EQ(folder.ReadConfig("UserProfileCount.ini"), "\r\n[count]\r\ncount=2\r\n");
    EXPECT_EQ(BoxItems(), std::vector<std::string>{"UserProfileInfo2"});
    EXPECT_EQ(Dialog().cbbCustomProfile->currentText(), "UserProfileInfo2");
    // The main window learns of it only on OK.
    EXPECT_EQ(test->Main().cbbProfile->count(), 5);
}

TEST_F(AppCustomProfiles, SaveOfATypedNameCreatesThatProfile) {
    folder.WriteConfig("UserProfileInfo.ini", "\r\n[Travel]\r\nTravel=0|0|0|0|0|0\r\n");
    Start();
    QLineEdit* edit = Dialog().cbbCustomProfile->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, "Phone");
    UserPicks(*Dialog().cbbFramerate, 4);  // 25
    Dialog().btnSave->click();
    EXPECT_EQ(folder.ReadConfig("UserProfileInfo.ini"),
              "\r\n[Travel]\r\nTravel=0|0|0|0|0|0\r\n\r\n[Phone]\r\nPhone=-1|4|2|5|1|2\r\n");
    EXPECT_EQ(BoxItems(), (std::vector<std::string>{"Travel", "Phone"}));
    EXPECT_EQ(Dialog().cbbCustomProfile->currentIndex(), 1);
    EXPECT_EQ(folder.ReadConfig("UserProfileCount.ini"), "");  // Save does not count
}

TEST_F(AppCustomProfiles, DeleteOfTheLastProfileEmptiesTheBoxButNotTheMainListUntilOk) {
    folder.WriteConfig("UserProfileInfo.ini", "\r\n[Travel]\r\nTravel=0|0|0|0|0|0\r\n");
    Start();
    ASSERT_EQ(test->Main().cbbProfile->count(), 6);
    UserPicks(*Dialog().cbbCustomProfile, 0);
    Dialog().btnDel->click();
    EXPECT_TRUE(BoxItems().empty());
    EXPECT_EQ(Dialog().cbbCustomProfile->currentText(), "");
    EXPECT_EQ(test->Main().cbbProfile->count(), 6);
    Dialog().btnApply->click();
    EXPECT_EQ(test->Main().cbbProfile->count(), 5);
    EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(AppCustomProfiles, OkRefillsTheQualityListWithoutApplyingThePreset) {
    Start();
    UserPicks(*Dialog().cbbFramerate, 6);  // 30
    Dialog().btnAdd->click();
    Dialog().btnApply->click();
    QComboBox& quality = *test->Main().cbbProfile;
    ASSERT_EQ(quality.count(), 6);
    EXPECT_EQ(quality.itemText(5), "UserProfileInfo1");
    EXPECT_EQ(quality.currentText(), "Normal Quality");
    EXPECT_EQ(Dialog().cbbFramerate->currentText(), "30");
    EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(AppCustomProfiles, CancelRestoresTheOptionsOfTheShowing) {
    folder.WriteConfig("UserProfileInfo.ini", "\r\n[Travel]\r\nTravel=0|0|0|0|0|0\r\n");
    Start();
    UserPicks(*Dialog().cbbFramerate, 6);
    UserPicks(*Dialog().cbbAudioBitrate, 0);
    UserPicks(*Dialog().cbbCustomProfile, 0);  // applies Travel
    ASSERT_EQ(Dialog().cbbAudioChannels->currentText(), "1 channel, Mono");
    Dialog().btnCancel->click();
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(Dialog().cbbFramerate->currentText(), "15");
    EXPECT_EQ(Dialog().cbbAudioBitrate->currentText(), "128");
    EXPECT_EQ(Dialog().cbbAudioChannels->currentText(), "2 channels, Stereo");
    EXPECT_EQ(Dialog().cbbCustomProfile->currentIndex(), -1);
}

TEST_F(AppCustomProfiles, EscapeCancelsAndTheCloseBoxOnlyHides) {
    Start();
    UserPicks(*Dialog().cbbFramerate, 6);
    Dialog().close();  // the close box
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(Dialog().cbbFramerate->currentText(), "30");

    test->Main().btnOptions->click();
    UserPicks(*Dialog().cbbFramerate, 0);
    QTest::keyClick(&Dialog(), Qt::Key_Escape);
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(Dialog().cbbFramerate->currentText(), "30");
}

TEST_F(AppCustomProfiles, AProfilePickedInTheMainWindowBeforeTheDialogWasShownApplies) {
    folder.WriteConfig("UserProfileInfo.ini",
                       "\r\n[Travel]\r\nTravel=0|0|0|0|0|0\r\n\r\n[Home]\r\nHome=0|6|4|8|1|3\r\n");
    ASSERT_TRUE(test->Start());
    ASSERT_EQ(test->Main().cbbProfile->count(), 7);
    UserPicks(*test->Main().cbbProfile, 6);
    EXPECT_EQ(Dialog().cbbCustomProfile->currentIndex(), 1);
    EXPECT_EQ(Dialog().cbbVideoSize->currentText(), "320x240");
    EXPECT_EQ(Dialog().cbbFramerate->currentText(), "30");
    EXPECT_EQ(Dialog().cbbVideoBitrate->currentText(), "512");
    EXPECT_EQ(Dialog().cbbAudioBitrate->currentText(), "224");
    EXPECT_EQ(Dialog().cbbAudioChannels->currentText(), "2 channels, Stereo");
    EXPECT_EQ(Dialog().cbbAudioSample->currentText(), "48000");
    // Opening the dialog shows that profile's name.
    test->Main().btnOptions->click();
    EXPECT_EQ(Dialog().cbbCustomProfile->currentText(), "Home");
}

TEST_F(AppCustomProfiles, ABrokenStoredValueIsReportedAndTheProgramGoesOn) {
    folder.WriteConfig("UserProfileInfo.ini", "\r\n[Bad]\r\nBad=1|x|0|0|0|0\r\n");
    ASSERT_TRUE(test->Start());
    UserPicks(*test->Main().cbbProfile, 5);
    ASSERT_EQ(test->boxes.Shown.size(), 1u);
    EXPECT_EQ(test->boxes.Shown[0].icon, IMessageBoxes::Icon::Error);
    EXPECT_EQ(test->boxes.Shown[0].caption, "Kestrava");
    EXPECT_EQ(test->boxes.Shown[0].text, "'x' is not a valid integer value");
    EXPECT_TRUE(test->Main().isVisible());
}
