// User settings at the first show and at close; the folder button; closing the window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"

TEST(AppSettings, FirstStartShowsTheDefaults) {
    TestProgramFolder folder;
    TestProgram test(folder, "/home/ada/");
    ASSERT_TRUE(test.Start());
    EXPECT_EQ(test.Main().edtOutputFolder->text(), "/home/ada/Kestrava Output Folder");
    EXPECT_TRUE(test.Main().edtOutputFolder->isReadOnly());
    EXPECT_FALSE(test.Main().chkShutdown->isChecked());
    EXPECT_FALSE(test.Main().chkShowOutputDirectory->isChecked());
}

TEST(AppSettings, RoundTripThroughCloseAndTheNextStart) {
    TestProgramFolder folder;
    TempFolder chosen;
    {
        TestProgram test(folder);
        ASSERT_TRUE(test.Start());
        test.browser.Answers = {chosen.Path().string()};
        test.Main().RzBmpButton1->click();
        test.Main().chkShutdown->setChecked(true);
        test.Main().btnWindowClose->click();
        EXPECT_EQ(test.exit.Codes, std::vector<int>{0});
        EXPECT_TRUE(test.boxes.Shown.empty());
    }
    EXPECT_EQ(folder.ReadConfig("UserSettings.ini"),
              "\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=1\r\nOutDir=" + chosen.Path().string() + "\r\n");
    TestProgram next(folder);
    ASSERT_TRUE(next.Start());
    EXPECT_EQ(next.Main().edtOutputFolder->text().toStdString(), chosen.Path().string());
    EXPECT_TRUE(next.Main().chkShutdown->isChecked());
    EXPECT_FALSE(next.Main().chkShowOutputDirectory->isChecked());
}

TEST(AppSettings, AFailedSaveIsReportedAndTheWindowStaysOpen) {
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    folder.Remove("Config");
    test.Main().close();
    ASSERT_EQ(test.boxes.Shown.size(), 1u);
    EXPECT_EQ(test.boxes.Shown[0].icon, IMessageBoxes::Icon::Error);
    EXPECT_EQ(test.boxes.Shown[0].caption, "Kestrava");
    EXPECT_TRUE(test.Main().isVisible());
    EXPECT_TRUE(test.exit.Codes.empty());

    // Every further close tries again.
    std::filesystem::create_directories(folder.File("Config"));
    test.Main().close();
    EXPECT_EQ(test.exit.Codes, std::vector<int>{0});
    EXPECT_NE(folder.ReadConfig("UserSettings.ini"), "");
}

TEST(AppSettings, ARefusedFolderKeepsTheOldOne) {
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    const QString before = test.Main().edtOutputFolder->text();
    test.browser.Answers = {std::string("/nonexistent/kestrava-out")};
    test.Main().RzBmpButton1->click();
    EXPECT_EQ(test.boxes.Texts(), std::vector<std::string>{"The path is invalid."});
    EXPECT_EQ(test.boxes.Shown[0].icon, IMessageBoxes::Icon::Warning);
    EXPECT_EQ(test.Main().edtOutputFolder->text(), before);
}
