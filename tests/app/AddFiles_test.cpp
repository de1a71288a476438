// Adding files to the real window: the open dialog and the busy window, drops from a file
// manager, the duplicate check, both unreadable-file warnings, and the cells of a new row.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmInitFileForm.h"
#include "app/FrmMainForm.h"
#include "fakes/TempFolder.h"
#include "media/AddSourceFiles.h"
#include "storage/UserSettings.h"

namespace {

// Clips made with the ffmpeg program once for all cases.
class AppAddFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        clips = new TempFolder;
        auto make = [](const std::string& args, const std::string& name) {
            const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i " + args + " '" +
                                        (*clips / name) + "'";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        };
        make("testsrc=duration=2:size=64x48:rate=10 -pix_fmt yuv420p", "clip-a.mp4");
        make("testsrc=duration=3:size=64x48:rate=10 -c:v mpeg4", "clip b.avi");
        make("testsrc=duration=0.5:size=64x48:rate=10 -pix_fmt yuv420p", "short.mp4");
        TempFolder::Write(*clips / "broken.mp4", "this is no media file");
        TempFolder::Write(*clips / "notes.txt", "text");
    }
    static void TearDownTestSuite() {
        delete clips;
        clips = nullptr;
    }

    static std::string Clip(const std::string& name) { return *clips / name; }

    TSourceGrid& Grid() { return test.Main().dxTreeSourceFileInfo(); }

    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int row = 0; row < Grid().RowCount(); ++row) names.push_back(Grid().Cell(row, colFileName));
        return names;
    }

    void Drop(const std::vector<std::string>& names) {
        QList<QUrl> urls;
        for (const std::string& name : names) urls << QUrl::fromLocalFile(QString::fromStdString(name));
        QMimeData mime;
        mime.setUrls(urls);
        QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window: the application's dispatch of drops wants a live drag.
        static_cast<QObject&>(test.Main()).event(&drop);
    }

    std::string StoredInitDir() {
        return TUserSettings(folder.AppPath(), DefaultFileSystem()).ReadInitDir("(none)");
    }

    static TempFolder* clips;
    TestProgramFolder folder;
    TestProgram test{folder};
};

TempFolder* AppAddFiles::clips = nullptr;

TEST_F(AppAddFiles, TheOpenDialogAddsTheChosenFilesOnceThroughTheBusyWindow) {
    const std::string a = Clip("clip-a.mp4"), b = Clip("clip b.avi");
    test.openDialog.Answers.push_back({a, b, a, Clip("notes.txt")});
    bool busyShown = false;
    QTimer::singleShot(100, [&] { busyShown = test.program->FrmInitFileForm().isVisible(); });
    test.Main().btnOpenFile->click();

    ASSERT_EQ(test.openDialog.Showings.size(), 1u);
    EXPECT_EQ(test.openDialog.Showings[0].filter,
              "Supported Files|*.3gp;*.mp4;*.m4v;*.mpeg;*.mpg;*.avi;*.asf;*.mov;*.wmv;*.flv;*.swf;"
              "*.rm;*.rmvb;|3GP Files (*.3gp)|*.3gp|AVI Files (*.avi)|*.avi|ASF Files (*.asf)|*.asf|"
              "MOV Files (*.mov)|*.mov|WMV Files (*.wmv)|*.wmv|MP4 File (*.mp4,*.m4v)|*.mp4;*.m4v|"
              "MPEG Files (*.mpeg,*.mpg)|*.mpeg;*.mpg;|RM Files (*.rm,*.rmvb)|*.rm;*.rmvb;");
    // Nothing stored yet: the dialog starts in the home folder.
    EXPECT_EQ(test.openDialog.Showings[0].initialDir, test.program->Env().HomeFolder);
    EXPECT_TRUE(busyShown);
    EXPECT_FALSE(test.program->FrmInitFileForm().isVisible());
    EXPECT_EQ(Names(), (std::vector<std::string>{a, b}));
    EXPECT_TRUE(test.boxes.Shown.empty());
    EXPECT_TRUE(Grid().IsSelected(0));
    EXPECT_FALSE(Grid().IsSelected(1));
    EXPECT_EQ(StoredInitDir(), clips->Slash());

    // The next dialog starts in the stored folder; a cancel adds nothing and keeps it.
    test.Main().btnOpenFile->click();
    ASSERT_EQ(test.openDialog.Showings.size(), 2u);
    EXPECT_EQ(test.openDialog.Showings[1].initialDir, clips->Slash());
    EXPECT_EQ(Names(), (std::vector<std::string>{a, b}));
    EXPECT_FALSE(test.program->FrmInitFileForm().isVisible());
    EXPECT_EQ(StoredInitDir(), clips->Slash());
}

TEST_F(AppAddFiles, ANewRowHoldsTickSizeDurationAndTheWholeFileAsItsSegment) {
    struct Case {
        const char* clip;
        const char* duration;
    };
    const Case cases[] = {{"clip-a.mp4", "00:00:02"}, {"clip b.avi", "00:00:03"}};
    for (const Case& c : cases) Drop({Clip(c.clip)});
    ASSERT_EQ(Grid().RowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(cases[row].clip);
        const std::string path = Clip(cases[row].clip);
        const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
        ASSERT_GT(size, 1024);
        ASSERT_LT(size, 1024 * 1024);
        EXPECT_EQ(Grid().Cell(row, colCheckStatus), "True");
        EXPECT_EQ(Grid().Cell(row, colFileName), path);
        EXPECT_EQ(Grid().Cell(row, colFileSize), FormatFileSize(size));
        EXPECT_NE(Grid().Cell(row, colFileSize).find(" KB"), std::string::npos);
        EXPECT_EQ(Grid().Cell(row, colDuration), cases[row].duration);
        EXPECT_EQ(Grid().Cell(row, colStartTime), "00:00:00");
        EXPECT_EQ(Grid().Cell(row, colEndTime), cases[row].duration);
        EXPECT_EQ(Grid().Cell(row, colCutTime), cases[row].duration);
    }
}

TEST_F(AppAddFiles, DroppedFilesAreAddedInOrderWithoutRepeatsAndLeaveTheInitialFolder) {
    ASSERT_TRUE(test.Start());
    EXPECT_TRUE(test.Main().acceptDrops());
    const std::string a = Clip("clip-a.mp4"), b = Clip("clip b.avi");
    Drop({b, Clip("notes.txt"), a, b});
    EXPECT_EQ(Names(), (std::vector<std::string>{b, a}));
    Drop({a});
    EXPECT_EQ(Names(), (std::vector<std::string>{b, a}));

    // Names far beyond the old 260-character limit, in folders as deep, with non-ASCII letters.
    std::filesystem::path deep = clips->Path();
    for (int level = 0; level < 4; ++level) deep /= std::string(120, static_cast<char>('k' + level));
    std::filesystem::create_directories(deep);
    const std::string longName = (deep / (std::string(200, 'x') + " größe 'q' -clip.mp4")).string();
    std::filesystem::copy_file(a, longName);
    ASSERT_GT(longName.size(), 700u);
    Drop({longName});
    EXPECT_EQ(Names(), (std::vector<std::string>{b, a, longName}));
    EXPECT_EQ(Grid().Cell(2, colDuration), "00:00:02");
    EXPECT_TRUE(test.boxes.Shown.empty());
    EXPECT_EQ(StoredInitDir(), "(none)");
}

TEST_F(AppAddFiles, FilesDroppedOnTheGridReachTheWindowWhileTheGridTakesItsOwnRows) {
    ASSERT_TRUE(test.Start());
    QWidget* viewport = Grid().View().viewport();
    // Over the grid, in the window's coordinates: the window hands each drag to the widget
    // under it that takes it, trying the parents in turn.
    const QPoint over = viewport->mapTo(&test.Main(), viewport->rect().center());
    QWindow* window = test.Main().windowHandle();
    ASSERT_NE(window, nullptr);
    auto dragAndDrop = [&](QMimeData& data, Qt::DropAction action) {
        QDragEnterEvent enter(over, action, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        QDropEvent drop(over, action, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &drop);
        return drop.isAccepted();
    };

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(Clip("clip-a.mp4")))});
    dragAndDrop(files, Qt::CopyAction);
    EXPECT_EQ(Names(), std::vector<std::string>{Clip("clip-a.mp4")});

    // Rows dragged inside the grid are taken there, changing nothing.
    QMimeData rows;
    rows.setData("application/x-qabstractitemmodeldatalist", QByteArray());
    EXPECT_TRUE(dragAndDrop(rows, Qt::MoveAction));
    EXPECT_EQ(Names(), std::vector<std::string>{Clip("clip-a.mp4")});
}

TEST_F(AppAddFiles, UnreadableFilesGetTheWarningThatFitsTheList) {
    Drop({Clip("broken.mp4")});
    EXPECT_EQ(Grid().RowCount(), 0);
    Drop({Clip("clip-a.mp4"), Clip("short.mp4"), Clip("broken.mp4")});
    EXPECT_EQ(Names(), std::vector<std::string>{Clip("clip-a.mp4")});
    ASSERT_EQ(test.boxes.Shown.size(), 3u);
    EXPECT_EQ(test.boxes.Shown[0].text, "Files reading error! Please check your files.");
    for (int n : {1, 2}) {
        EXPECT_EQ(test.boxes.Shown[n].text,
                  "Files reading error! Please check your files or install a new codec.");
    }
    for (const auto& box : test.boxes.Shown) EXPECT_EQ(box.icon, IMessageBoxes::Icon::Warning);
}

}  // namespace
