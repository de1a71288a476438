// Converting from the real window with the real encoder: the progress dialog, Stop, the
// after-job actions (through recording fakes only), the failure report, and every output type.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QStatusBar>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmConverting.h"
#include "app/FrmMainForm.h"
#include "conversion/BatchConversion.h"
#include "fakes/TempFolder.h"
#include "platform/AvMediaProbe.h"

namespace fs = std::filesystem;

namespace {

// Serves the event loop until `done` holds; false when `timeoutMs` passed first.
bool ServeUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The path as one word of the shell.
std::string ShellWord(const std::string& path) {
    std::string word = "'";
    for (char c : path) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

// True when the ffmpeg program decodes every stream of the file without an error.
bool DecodesCleanly(const std::string& path) {
    const std::string command = "ffmpeg -nostdin -v error -xerror -i " + ShellWord(path) + " -f null - 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

class AppConvert : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        clips = new TempFolder;
        auto make = [](const std::string& seconds, const std::string& size, const std::string& name) {
            const std::string command =
                "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=duration=" + seconds + ":size=" +
                size + ":rate=25 -f lavfi -i sine=frequency=440:duration=" + seconds +
                " -pix_fmt yuv420p -c:v mpeg4 -c:a aac '" + (*clips / name) + "'";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        };
        make("2", "160x120", "one.mp4");
        make("2", "160x120", "two clip.mp4");
        // A name the shell would mangle is given after the making.
        make("2", "160x120", "three.mp4");
        fs::rename(*clips / "three.mp4", *clips / "-three 'x'.mp4");
        // Long enough to still be converting when Stop comes.
        make("40", "640x480", "long.mp4");
    }
    static void TearDownTestSuite() {
        delete clips;
        clips = nullptr;
    }
    static std::string Clip(const std::string& name) { return *clips / name; }

    void SetUp() override {
        ASSERT_TRUE(test.Start());
        Main().edtOutputFolder->setText(QString::fromStdString(out.Path().string()));
    }

    TFrmMainForm& Main() { return test.Main(); }
    TfrmConverting& Dialog() { return test.program->frmConverting(); }
    TBatchConversion& Batch() { return *test.program->Batch(); }
    TSourceGrid& Grid() { return Main().dxTreeSourceFileInfo(); }

    void Add(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(Clip(name));
        Main().AddFiles(paths);
        ASSERT_EQ(Grid().RowCount(), static_cast<int>(names.size()));
    }
    void PickOutputType(int index) { UserPicks(*Main().cbbOutputFiletype, index); }

    // Clicks Convert and serves the loop until the batch has ended.
    void ConvertAndWait(int timeoutMs = 60000) {
        Main().btnConvert->click();
        ASSERT_TRUE(ServeUntil([&] { return !Batch().Running(); }, timeoutMs));
    }

    std::vector<std::string> OutputFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(out.Path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    static TempFolder* clips;
    TestProgramFolder folder;
    TestProgram test{folder, "", folder.InstallEncoders()};
    TempFolder out;
};

TempFolder* AppConvert::clips = nullptr;

TEST_F(AppConvert, ThreeRowsWithTheMiddleUncheckedGiveTwoOutputsAndTheAfterJob) {
    Add({"one.mp4", "two clip.mp4", "-three 'x'.mp4"});
    Grid().SetCell(1, colCheckStatus, kUnchecked);
    Main().chkShowOutputDirectory->setChecked(true);
    Main().chkShutdown->setChecked(true);

    // While the batch runs: the dialog up and usable, the main window disabled.
    bool dialogSeen = false, mainDisabled = false, dialogEnabled = false;
    QTimer::singleShot(1000, [&] {
        dialogSeen = Dialog().isVisible();
        mainDisabled = !Main().isEnabled();
        dialogEnabled = Dialog().isEnabled();
    });
    ConvertAndWait();

    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(dialogEnabled);
    EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"-three 'x'.mp4", "one.mp4"}));
    for (const std::string& name : OutputFiles()) {
        EXPECT_TRUE(DecodesCleanly(out / name)) << name;
        EXPECT_EQ(AvMediaProbe().GetMediaDuration(out / name), 2) << name;
    }
    // Both bars at their ends and the counter of the last row.
    EXPECT_EQ(Dialog().ProgressBar1->value(), Dialog().ProgressBar1->maximum());
    EXPECT_GT(Dialog().ProgressBar1->maximum(), 0);
    EXPECT_EQ(Dialog().pbTotal->value(), Dialog().pbTotal->maximum());
    EXPECT_EQ(Dialog().pbTotal->maximum(), 200);
    EXPECT_EQ(Dialog().lblPersent->text().toStdString(), "Current: 2 , Total: 2.");

    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_TRUE(Main().isEnabled());
    EXPECT_TRUE(test.boxes.Shown.empty());
    EXPECT_EQ(test.desktop.Opened, std::vector<std::string>{out.Slash()});
    EXPECT_EQ(test.power.Requests, 1);
    EXPECT_EQ(test.exit.Codes, std::vector<int>{0});
}

TEST_F(AppConvert, StopInTheMiddleOfARowEndsItsEncoderAndHoldsConvertBackUntilItHasEnded) {
    Add({"long.mp4", "one.mp4"});
    Main().chkShowOutputDirectory->setChecked(true);
    Main().chkShutdown->setChecked(true);
    Main().btnConvert->click();

    // The encoder starts 2 s after Convert; Stop comes a second later.
    ASSERT_TRUE(ServeUntil([&] { return !Dialog().statState->currentMessage().isEmpty(); }, 20000));
    test.boxes.Answers = {IMessageBoxes::kYes};
    Dialog().btnStop->click();
    ASSERT_EQ(test.boxes.Texts(),
              std::vector<std::string>{"Are you sure you want to stop the work ? "});
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_TRUE(Main().isEnabled());

    // Until the stopped row has ended, Convert does nothing.
    if (Batch().Running()) {
        Main().btnConvert->click();
        EXPECT_FALSE(Dialog().isVisible());
    }
    ASSERT_TRUE(ServeUntil([&] { return !Batch().Running(); }, 30000));

    // The long row did not run to its end, the next row never started, and nothing followed.
    EXPECT_TRUE(!fs::exists(out / "one.mp4"));
    if (fs::exists(out / "long.mp4")) {
        EXPECT_LT(AvMediaProbe().GetMediaDuration(out / "long.mp4"), 40);
    }
    EXPECT_EQ(test.boxes.Shown.size(), 1u);
    EXPECT_TRUE(test.desktop.Opened.empty());
    EXPECT_EQ(test.power.Requests, 0);
    EXPECT_TRUE(test.exit.Codes.empty());
    EXPECT_EQ(Dialog().lblPersent->text().toStdString(), "Current: 1, Total: ...");
}

TEST_F(AppConvert, AClosedProgressDialogAsksAndKeepsTheAfterJob) {
    Add({"one.mp4"});
    Main().chkShowOutputDirectory->setChecked(true);
    Main().btnConvert->click();
    ASSERT_TRUE(ServeUntil([&] { return Dialog().isVisible(); }, 5000));

    test.boxes.DefaultAnswer = IMessageBoxes::kNo;
    EXPECT_FALSE(Dialog().close());
    EXPECT_TRUE(Dialog().isVisible());
    test.boxes.DefaultAnswer = IMessageBoxes::kYes;
    EXPECT_TRUE(Dialog().close());
    EXPECT_EQ(test.boxes.Texts(), (std::vector<std::string>{"Are you sure to stop processing ?",
                                                            "Are you sure to stop processing ?"}));
    ASSERT_TRUE(ServeUntil([&] { return !Batch().Running(); }, 30000));
    EXPECT_EQ(test.desktop.Opened, std::vector<std::string>{out.Slash()});
}

TEST_F(AppConvert, FailedRowsAreListedOnceWithTheEncodersLastMessage) {
    // A source that goes away after it was added, among two that convert.
    TempFolder gone;
    const std::string vanishing = gone / "vanishing clip.mp4";
    fs::copy_file(Clip("one.mp4"), vanishing);
    Main().AddFiles({Clip("one.mp4"), vanishing, Clip("two clip.mp4")});
    ASSERT_EQ(Grid().RowCount(), 3);
    fs::remove(vanishing);
    ConvertAndWait();

    EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"one.mp4", "two clip.mp4"}));
    ASSERT_EQ(test.boxes.Shown.size(), 1u);
    EXPECT_EQ(test.boxes.Shown[0].icon, IMessageBoxes::Icon::Warning);
    EXPECT_EQ(test.boxes.Shown[0].text,
              "1 file could not be converted:\n\n" + vanishing + "\nfavc: error: cannot read the source \"" +
                  vanishing + "\": No such file or directory");

    // A batch without failures shows nothing more.
    test.boxes.Shown.clear();
    Grid().SetCell(1, colCheckStatus, kUnchecked);
    ConvertAndWait();
    EXPECT_TRUE(test.boxes.Shown.empty());
}

TEST_F(AppConvert, EveryOutputTypeGivesAPlayableFileOfTheSourcesLength) {
    struct Case {
        int index;
        const char* output;
    };
    const std::vector<Case> cases = {
        // A base name already taken in the folder, whatever its extension, gets a number.
        {0, "one.mp4"}, {1, "one_1.mov"}, {2, "one_2.aac"}, {3, "one_3.m4a"}, {4, "one_4.mp3"},
    };
    Add({"one.mp4"});
    for (const Case& c : cases) {
        PickOutputType(c.index);
        ConvertAndWait();
        const std::string path = out / c.output;
        ASSERT_TRUE(fs::exists(path)) << c.output << " " << ::testing::PrintToString(OutputFiles());
        EXPECT_TRUE(DecodesCleanly(path)) << c.output;
        // Raw AAC tells its length only roughly; every other container exactly.
        const auto seconds = AvMediaProbe().GetMediaDuration(path);
        EXPECT_GE(seconds, 1) << c.output;
        EXPECT_LE(seconds, 3) << c.output;
    }
    EXPECT_TRUE(test.boxes.Shown.empty()) << test.boxes.Texts().front();
}

}  // namespace
