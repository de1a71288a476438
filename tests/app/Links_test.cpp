// The links of the main window and the about window of libuse.so.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"

TEST(AppLinks, HomePageMailAndHelpOpenThroughTheDesktop) {
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    test.Main().btnHomePage->click();
    test.Main().btnEMail->click();
    test.Main().ActSysHelpExecute();
    const TRecSoftInfo& info = test.program->RecSoftInfo();
    EXPECT_EQ(test.desktop.Opened,
              (std::vector<std::string>{info.HomePage, "mailto:" + info.EMail,
                                        folder.AppPath() + "Help.html"}));
    EXPECT_EQ(test.Main().btnHomePage->cursor().shape(), Qt::PointingHandCursor);
}

TEST(AppLinks, AboutShowsTheProductInformationFromLibuse) {
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    QString product, appPath;
    bool seen = false;
    // The about window is modal: read it and close it from the event loop it runs.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* about = QApplication::activeModalWidget();
        if (about == nullptr || about->objectName() != "FrmAbout") return;
        seen = true;
        product = about->findChild<QLabel*>("lblProduct")->text();
        appPath = about->findChild<QLabel*>("lblAppPath")->text();
        about->close();
    });
    poll.start(5);
    test.Main().btnAbout->click();
    poll.stop();
    ASSERT_TRUE(seen);
    EXPECT_EQ(product, "Kestrava 1.4");
    EXPECT_EQ(appPath.toStdString(), "Program folder: " + folder.AppPath());
}

TEST(AppLinks, AboutWithoutLibuseShowsNothing) {
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    folder.Remove("libuse.so");
    test.Main().btnAbout->click();  // returns at once; a modal window would hang the test
    EXPECT_TRUE(test.boxes.Shown.empty());
}
