// The main window on a real X server, photographed from the screen so that its shape shows, and
// once more with a frame of a clip in its video window. Run by run-under-xvfb.sh; the pictures
// are kept in the build's screenshots folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <xcb/xcb.h>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"
#include "fakes/TempFolder.h"
#include "media/PreviewPlayer.h"

namespace {

// Without a window manager nobody installs a window's own colormap, and this X server then shows
// the cut-out part of a shaped window black instead of what lies behind it. The default
// colormap is what a desktop would show.
void UseDefaultColormap(QWidget& window) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t colormap = screen->default_colormap;
    xcb_change_window_attributes(connection, static_cast<xcb_window_t>(window.winId()),
                                 XCB_CW_COLORMAP, &colormap);
    xcb_flush(connection);
}

// The window with a 24-pixel margin of what lies around it, as the screen shows it.
struct Shot {
    QRect frame;
    QImage image;
};
Shot Photograph(QWidget& window) {
    const QRect frame = window.frameGeometry().adjusted(-24, -24, 24, 24);
    return {frame, QGuiApplication::primaryScreen()
                       ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                       .toImage()};
}

}  // namespace

TEST(AppScreenshot, MainWindowUnderXvfb) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    TFrmMainForm& main = test.Main();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    UseDefaultColormap(main);
    QTest::qWait(300);

    const auto [frame, shot] = Photograph(main);
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(shot.save(KESTRAVA_SCREENSHOT_PATH)) << KESTRAVA_SCREENSHOT_PATH;

    // Behind the cut-out corners the (white) desktop shows; inside, the window's dark body.
    const QPoint origin = main.geometry().topLeft() - frame.topLeft();
    EXPECT_EQ(shot.pixel(origin + QPoint(1, 484)), qRgb(255, 255, 255));  // rounded corner
    EXPECT_EQ(shot.pixel(origin + QPoint(620, 4)), qRgb(255, 255, 255));  // beside the tab
    EXPECT_EQ(shot.pixel(origin + QPoint(2, 500)), qRgb(255, 255, 255));  // below the picture
    const QRgb body = shot.pixel(origin + QPoint(290, 278));
    EXPECT_LT(qGray(body), 80);
}

TEST(AppScreenshot, PreviewFrameUnderXvfb) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    TempFolder clips;
    const std::string clip = clips / "bars.mp4";
    const std::string command =
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=3 "
        "-c:v mpeg4 -q:v 3 '" + clip + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    TFrmMainForm& main = test.Main();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    UseDefaultColormap(main);
    main.AddFiles({clip});
    main.btnPlay->click();
    ASSERT_NE(main.PreviewPlayer(), nullptr);
    ASSERT_TRUE(main.PreviewPlayer()->IsPlaying());
    QTest::qWait(700);
    main.btnPause->click();
    QTest::qWait(300);  // the last frame drawn and shown

    const auto [frame, shot] = Photograph(main);
    ASSERT_FALSE(shot.isNull());
    const std::filesystem::path path =
        std::filesystem::path(KESTRAVA_SCREENSHOT_PATH).replace_filename("preview-frame.png");
    ASSERT_TRUE(shot.save(QString::fromStdString(path.string()))) << path;

    // The logo is gone and the screen shows the video window's own picture: the clip's colour
    // bars, 4:3 inside 257 × 155, so with black bands left and right.
    EXPECT_TRUE(main.panLogo->isHidden());
    const QImage picture = main.DSVideoWindowEx1->Frame();
    const QPoint video = main.DSVideoWindowEx1->mapTo(&main, QPoint(0, 0)) +
                         (main.geometry().topLeft() - frame.topLeft());
    int coloured = 0;
    for (int y = 5; y < TVideoWindow::kHeight; y += 10) {
        for (int x = 5; x < TVideoWindow::kWidth; x += 10) {
            const QRgb onScreen = shot.pixel(video + QPoint(x, y));
            EXPECT_EQ(qRed(onScreen), qRed(picture.pixel(x, y))) << x << "," << y;
            EXPECT_EQ(qGreen(onScreen), qGreen(picture.pixel(x, y))) << x << "," << y;
            EXPECT_EQ(qBlue(onScreen), qBlue(picture.pixel(x, y))) << x << "," << y;
            const QColor colour(onScreen);
            if (colour.saturation() > 100 && colour.value() > 100) ++coloured;
        }
    }
    EXPECT_GT(coloured, 50);
    EXPECT_EQ(qGray(shot.pixel(video + QPoint(3, 77))), 0);    // left band
    EXPECT_EQ(qGray(shot.pixel(video + QPoint(253, 77))), 0);  // right band
}
