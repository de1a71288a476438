// The preview in the real window, on libmpv with clips made by the ffmpeg program: the player's
// states through the buttons and keys, the clock, seeks from the start marker, the end of the
// file, the rewind at the end marker, files that cannot be opened, and a libmpv that cannot be
// made at all.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MarkerDrag.h"
#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"
#include "app/SegmentBar.h"
#include "app/VideoWindow.h"
#include "fakes/TempFolder.h"
#include "media/PreviewPlayer.h"

namespace {

namespace fs = std::filesystem;

// Clips made once for all cases: colour bars with a tone, small and short.
class PreviewClips {
public:
    PreviewClips() {
        Make("clip.mp4", 4);
        Make("short.mp4", 2);
        // A name that starts with a dash and holds blanks, quotes and non-ASCII letters.
        fs::copy_file(folder_ / "short.mp4", folder_ / "-a clip 'with' \"quotes\" é 名前.mp4");
    }
    std::string Clip(const std::string& name) const { return folder_ / name; }

private:
    void Make(const std::string& name, int seconds) const {
        const std::string length = std::to_string(seconds);
        const std::string command =
            "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=" +
            length + " -f lavfi -i sine=frequency=440:duration=" + length +
            " -c:v mpeg4 -q:v 5 -g 25 -c:a aac -shortest '" + (folder_ / name) + "'";
        if (std::system(command.c_str()) != 0 || !fs::exists(folder_ / name))
            throw std::runtime_error("the ffmpeg program could not make a clip: " + command);
    }
    TempFolder folder_;
};

class AppPreview : public ::testing::Test {
protected:
    static void SetUpTestSuite() { clips = new PreviewClips; }
    static void TearDownTestSuite() {
        delete clips;
        clips = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(test.Start());
        ASSERT_EQ(Main().PreviewFailure(), "");
        ASSERT_NE(Main().PreviewPlayer(), nullptr);
    }

    TFrmMainForm& Main() { return test.Main(); }
    TPreviewPlayer& Player() { return *Main().PreviewPlayer(); }
    IMediaGraph& Graph() { return *Main().FilterGraph(); }
    std::string Clock() { return Main().pnlCurTime->text().toStdString(); }
    bool LogoShown() { return !Main().panLogo->isHidden(); }
    std::int64_t Position() { return Graph().CurrentPositionMs(); }
    std::string Log() { return TempFolder::Read(folder.File("log.txt")); }

    // Adds the clips through the window; the first row comes out selected.
    void Add(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(clips->Clip(name));
        Main().AddFiles(paths);
        ASSERT_EQ(Main().dxTreeSourceFileInfo().RowCount(), static_cast<int>(paths.size()));
    }

    // A command from the keyboard, as the window's key preview sees it.
    void Key(int key) {
        Main().edtOutputFolder->setFocus();
        QTest::keyClick(Main().edtOutputFolder, static_cast<Qt::Key>(key), Qt::ControlModifier);
    }

    void ExpectIdle() {
        EXPECT_EQ(Player().PreviewFile(), "");
        EXPECT_FALSE(Player().IsPlaying());
        EXPECT_FALSE(Graph().Active());
        EXPECT_TRUE(LogoShown());
        EXPECT_EQ(Clock(), "00:00:00");
    }

    static PreviewClips* clips;
    TestProgramFolder folder;
    TestProgram test{folder};
};

PreviewClips* AppPreview::clips = nullptr;

TEST_F(AppPreview, PlayPauseAndStopFollowTheStateTable) {
    Add({"clip.mp4"});
    // Idle: Pause and Stop do nothing.
    Key(Qt::Key_U);
    Key(Qt::Key_T);
    ExpectIdle();

    // Idle → Playing: the selected row is opened and played from its start.
    Main().btnPlay->click();
    EXPECT_EQ(Player().PreviewFile(), clips->Clip("clip.mp4"));
    EXPECT_TRUE(Player().IsPlaying());
    EXPECT_TRUE(Graph().Active());
    EXPECT_FALSE(LogoShown());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Position() > 400; }, 5000));
    EXPECT_GT(Main().DSVideoWindowEx1->FrameCount(), 0);

    // Playing → Paused: the position holds.
    Key(Qt::Key_U);
    EXPECT_FALSE(Player().IsPlaying());
    EXPECT_FALSE(LogoShown());
    EXPECT_EQ(Player().PreviewFile(), clips->Clip("clip.mp4"));
    const std::int64_t paused = Position();
    QTest::qWait(300);
    EXPECT_NEAR(Position(), paused, 50);

    // Paused → Playing: it goes on from where it paused.
    Key(Qt::Key_P);
    EXPECT_TRUE(Player().IsPlaying());
    EXPECT_GE(Position(), paused - 50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Position() > paused + 200; }, 5000));

    // Play while playing changes nothing: the file is not opened again.
    const std::int64_t playing = Position();
    Main().btnPlay->click();
    EXPECT_TRUE(Player().IsPlaying());
    EXPECT_EQ(Player().PreviewFile(), clips->Clip("clip.mp4"));
    EXPECT_GE(Position(), playing);

    // Playing → Idle, and a second Stop does nothing.
    Key(Qt::Key_T);
    ExpectIdle();
    Main().btnStop->click();
    ExpectIdle();
    EXPECT_TRUE(test.boxes.Shown.empty());
    EXPECT_EQ(Log(), "");
}

TEST_F(AppPreview, PlayWithoutASelectedRowDoesNothingAndPausedStopsToIdle) {
    Add({"clip.mp4"});
    Main().dxTreeSourceFileInfo().SetSelected(0, false);
    Main().btnPlay->click();
    ExpectIdle();

    Main().dxTreeSourceFileInfo().SetSelected(0, true);
    Main().btnPlay->click();
    Main().btnPause->click();
    Main().btnPause->click();  // nothing while paused
    EXPECT_FALSE(Player().IsPlaying());
    EXPECT_EQ(Player().PreviewFile(), clips->Clip("clip.mp4"));
    Main().btnStop->click();
    ExpectIdle();
}

TEST_F(AppPreview, TheClockTicksOnceASecondFromThePosition) {
    Add({"clip.mp4"});
    Main().btnPlay->click();
    ASSERT_TRUE(Player().IsPlaying());
    // Only the window's one-second timer moves the clock, a second at a time.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Clock() != "00:00:00"; }, 3500)) << Clock();
    const std::string first = Clock();
    EXPECT_TRUE(first == "00:00:01" || first == "00:00:02" || first == "00:00:03") << first;
    ASSERT_TRUE(QTest::qWaitFor([&] { return Clock() > first; }, 2500)) << Clock();
    EXPECT_NEAR(Position() / 1000, std::stoi(Clock().substr(6)), 1);
}

TEST_F(AppPreview, TheStartMarkerSeeksThePlayingFileExactly) {
    Add({"clip.mp4"});
    Main().btnPlay->click();
    ASSERT_TRUE(Player().IsPlaying());
    Main().btnPause->click();
    // The start marker to the middle of the bar: 50 percent of 4 seconds.
    DragMarker(Main().Splitter1, 110);
    ASSERT_EQ(Main().Panel2->width(), 111);
    EXPECT_EQ(Main().dxTreeSourceFileInfo().Cell(0, colStartTime), "00:00:02");
    EXPECT_NEAR(Position(), 2000, 100);
    EXPECT_FALSE(Player().IsPlaying());  // a seek keeps the state

    // Stopped and played again, the file starts where the marker says.
    Main().btnStop->click();
    Main().btnPlay->click();
    ASSERT_TRUE(Player().IsPlaying());
    EXPECT_GE(Position(), 1950);
    EXPECT_LT(Position(), 2600);
}

TEST_F(AppPreview, TheEndOfTheFileUnloadsThePreviewAndPlayOpensTheRowAgain) {
    Add({"short.mp4"});
    Main().btnPlay->click();
    ASSERT_TRUE(Player().IsPlaying());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Player().PreviewFile().empty(); }, 6000));
    ExpectIdle();

    Main().btnPlay->click();
    EXPECT_TRUE(Player().IsPlaying());
    EXPECT_EQ(Player().PreviewFile(), clips->Clip("short.mp4"));
    EXPECT_LT(Position(), 1000);
}

TEST_F(AppPreview, ReachingTheEndMarkersTimeRewindsToTheStartAndPauses) {
    Add({"clip.mp4"});
    // The end marker to the middle of the bar: StopAtTime 00:00:02 of 4 seconds.
    DragMarker(Main().Splitter2, -110);
    ASSERT_EQ(Main().SegmentMarkers().StopAtTime, "00:00:02");
    Main().btnPlay->click();
    ASSERT_TRUE(Player().IsPlaying());
    // The tick is driven here when the position is inside the second that the clock shows
    // as 00:00:02, so that the case does not hang on where the one-second timer falls.
    Main().dstrckbrMainform->stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Position() >= 2100; }, 5000));
    Main().dstrckbrMainformTimer();
    EXPECT_FALSE(Player().IsPlaying());
    EXPECT_EQ(Player().PreviewFile(), clips->Clip("clip.mp4"));
    EXPECT_FALSE(LogoShown());
    EXPECT_LT(Position(), 100);

    // Play goes on from the start of the file, not from the start marker.
    Main().btnPlay->click();
    EXPECT_TRUE(Player().IsPlaying());
    EXPECT_LT(Position(), 600);
}

TEST_F(AppPreview, AFileThatCannotBeOpenedIsLoggedAndLeavesThePreviewIdle) {
    Add({"clip.mp4"});
    const fs::path gone = folder.File("gone.mp4");
    fs::copy_file(clips->Clip("clip.mp4"), gone);
    Main().AddFiles({gone.string()});
    fs::remove(gone);
    TSourceGrid& grid = Main().dxTreeSourceFileInfo();
    grid.SetSelected(0, false);
    grid.SetSelected(1, true);

    Main().btnPlay->click();
    const std::string log = Log();
    const std::string line = "|Playing Video error.\r\n";
    ASSERT_GT(log.size(), line.size());
    EXPECT_EQ(log.substr(log.size() - line.size()), line);
    EXPECT_EQ(log.find('\n'), log.size() - 1);  // one line
    ExpectIdle();
    EXPECT_TRUE(test.boxes.Shown.empty());

    // Idle, so Play tries the row again rather than resuming nothing; another row plays.
    grid.SetSelected(1, false);
    grid.SetSelected(0, true);
    Main().btnPlay->click();
    EXPECT_TRUE(Player().IsPlaying());
    EXPECT_EQ(Player().PreviewFile(), clips->Clip("clip.mp4"));
}

TEST_F(AppPreview, ANameWithADashBlanksQuotesAndNonAsciiLettersPlays) {
    Add({"-a clip 'with' \"quotes\" é 名前.mp4"});
    Main().btnPlay->click();
    EXPECT_TRUE(Player().IsPlaying());
    EXPECT_EQ(Player().PreviewFile(), clips->Clip("-a clip 'with' \"quotes\" é 名前.mp4"));
    EXPECT_EQ(Log(), "");
}

TEST_F(AppPreview, ClosingTheWindowDeactivatesAndClearsTheGraph) {
    Add({"clip.mp4"});
    Main().btnPlay->click();
    ASSERT_TRUE(Graph().Active());
    Main().close();
    EXPECT_FALSE(Graph().Active());
    EXPECT_EQ(Player().PreviewFile(), "");
    EXPECT_EQ(test.exit.Codes, std::vector<int>{0});
}

// libmpv refuses the sound output it is given: the program starts without a preview.
TEST(AppPreviewUnavailable, TheProgramStartsAndThePreviewOnlyShowsTheLogo) {
    TestProgramFolder folder;
    TestProgram test(folder);
    // Not a usable output: libmpv refuses the option, so the graph cannot be made.
    TProgramEnvironment env = test.program->Env();
    env.PreviewAudioOutput = "null:no-such-option=1";
    test.program.reset();
    test.program = std::make_unique<TProgram>(env);
    ASSERT_TRUE(test.Start());
    TFrmMainForm& main = test.Main();
    EXPECT_NE(main.PreviewFailure(), "");
    EXPECT_NE(main.imgLOGO->toolTip().toStdString().find("The preview is not available"),
              std::string::npos);

    const int row = main.dxTreeSourceFileInfo().AppendRow();
    main.dxTreeSourceFileInfo().SetCell(row, colFileName, "/clips/a.mkv");
    main.dxTreeSourceFileInfo().SetSelected(row, true);
    main.btnPlay->click();
    main.btnPause->click();
    main.btnStop->click();
    ASSERT_NE(main.PreviewPlayer(), nullptr);
    EXPECT_EQ(main.PreviewPlayer()->PreviewFile(), "");
    EXPECT_FALSE(main.panLogo->isHidden());
    EXPECT_TRUE(test.boxes.Shown.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.File("log.txt")));
}

}  // namespace
