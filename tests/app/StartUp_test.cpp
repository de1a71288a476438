// Start-up: the windows in order, the companion libraries, the splash, the title.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>

#include "TestProgramFolder.h"
#include "app/Companions.h"
#include "app/FrmMainForm.h"
#include "app/FrmOption.h"
#include "conversion/CustomProc.h"

TEST(AppStartUp, CreatesTheFourWindowsInOrderAndKeepsThemHidden) {
    TestProgramFolder folder;
    TestProgram test(folder);
    EXPECT_EQ(test.program->CreatedWindows(),
              (std::vector<std::string>{"FrmMainForm", "frmConverting", "frmOption", "FrmInitFileForm"}));
    EXPECT_FALSE(test.Main().isVisible());
    // Nothing of the start-up sequence has run before the first show.
    EXPECT_EQ(test.program->CustomProc(), nullptr);
    EXPECT_EQ(test.Main().windowTitle(), "FrmMainForm");
    EXPECT_EQ(test.Main().lblTitle->text(), "Application name ");
}

TEST(AppStartUp, WithBothLibrariesTheTitleIsProductNameAndVersion) {
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    EXPECT_TRUE(test.boxes.Shown.empty());
    EXPECT_TRUE(test.Main().isVisible());
    EXPECT_FALSE(test.Options().isVisible());
    EXPECT_EQ(test.Main().windowTitle(), "Kestrava 1.4");
    EXPECT_EQ(test.Main().lblTitle->text(), "Kestrava 1.4");
    const TRecSoftInfo& info = test.program->RecSoftInfo();
    EXPECT_EQ(info.MakerName, "Dunmarrow");
    EXPECT_EQ(info.ProductName, "Kestrava");
    EXPECT_EQ(info.Version, "1.4");
    EXPECT_FALSE(info.HomePage.empty());
    EXPECT_FALSE(info.EMail.empty());
    EXPECT_EQ(info.AppPath, folder.AppPath());
    ASSERT_NE(test.program->CustomProc(), nullptr);
    EXPECT_NE(test.program->CommonLib(), nullptr);
    EXPECT_NE(test.program->AppFunc(), nullptr);
}

TEST(AppStartUp, MissingCompanionLibrariesAreReportedInOrderAndTheProgramEnds) {
    struct Case {
        std::vector<std::string> missing;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {{"libuse.so"}, {"'libuse.so' is not found. Please reinstall this program."}},
        {{"librec.so"}, {"'librec.so' is not found. Please reinstall this program."}},
        {{"librec.so", "libuse.so"},
         {"'libuse.so' is not found. Please reinstall this program.",
          "'librec.so' is not found. Please reinstall this program."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages.front());
        TestProgramFolder folder;
        for (const std::string& name : c.missing) folder.Remove(name);
        TestProgram test(folder);
        EXPECT_FALSE(test.Start());
        EXPECT_EQ(test.boxes.Texts(), c.messages);
        for (const auto& box : test.boxes.Shown) {
            EXPECT_EQ(box.caption, "Kestrava");
            EXPECT_EQ(box.icon, IMessageBoxes::Icon::Information);
            EXPECT_EQ(box.buttons, IMessageBoxes::Buttons::Ok);
        }
        EXPECT_TRUE(test.program->TerminateRequested());
        EXPECT_FALSE(test.Main().isVisible());
        // Start-up still ran to its end, but nothing was saved.
        EXPECT_NE(test.program->CustomProc(), nullptr);
        EXPECT_TRUE(test.exit.Codes.empty());
        EXPECT_EQ(folder.ReadConfig("UserSettings.ini"), "");
    }
}

TEST(AppStartUp, TheSplashStaysForTwoTicksAtLeast) {
    TestProgramFolder folder;
    TProgramEnvironment env;
    RecordingMessageBoxes boxes;
    RecordingDesktop desktop;
    ScriptedFolderBrowser browser;
    ScriptedNamePrompt prompt;
    RecordingExit exit;
    env.AppPath = folder.AppPath();
    env.HomeFolder = folder.AppPath() + "home/";
    env.Boxes = &boxes;
    env.Desktop = &desktop;
    env.FolderBrowser = &browser;
    env.NamePrompt = &prompt;
    env.Exit = &exit;
    env.Splash = TSplashTimings{1, 60};
    TProgram program(env);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(program.Start());
    EXPECT_GE(clock.elapsed(), 2 * 60);
}

TEST(AppStartUp, ProductStringsAreCutAt253AndAMissingSplashPictureIsSkipped) {
    TestProgramFolder folder;
    folder.ReplaceRecLibrary(KESTRAVA_TEST_LONG_REC);
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    EXPECT_TRUE(test.boxes.Shown.empty());
    const TRecSoftInfo& info = test.program->RecSoftInfo();
    EXPECT_EQ(info.ProductText2, std::string(253, 'b'));
    EXPECT_EQ(info.HomePage, std::string(253, 'h'));
    EXPECT_EQ(info.MakerName, "");  // a string the table does not hold reads as empty
    EXPECT_EQ(test.Main().windowTitle(), "Kestrava 1.4");
}

TEST(AppStartUp, ReadSoftInfoWithoutTheLibraryGivesEmptyFields) {
    const TRecSoftInfo info = ReadSoftInfoFrom("/nonexistent/librec.so", "1.4");
    EXPECT_EQ(info.ProductName, "");
    EXPECT_EQ(info.HomePage, "");
    EXPECT_EQ(info.Version, "1.4");
    EXPECT_EQ(MakeWindowTitle(info), " 1.4");
}
