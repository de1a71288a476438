// The main window on a real X server, photographed from the screen so that its shape shows.
// Run by run-under-xvfb.sh; the picture is kept in the build's screenshots folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <xcb/xcb.h>

#include "TestProgramFolder.h"
#include "app/FrmMainForm.h"

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

    const QRect frame = main.frameGeometry().adjusted(-24, -24, 24, 24);
    const QImage shot = QGuiApplication::primaryScreen()
                            ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                            .toImage();
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
