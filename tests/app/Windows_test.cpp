// The windows themselves: shape, places, sizes, the timers, the progress and busy windows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTreeView>

#include "TestProgramFolder.h"
#include "app/Artwork.h"
#include "app/BitmapButton.h"
#include "app/FrmConverting.h"
#include "app/FrmInitFileForm.h"
#include "app/FrmMainForm.h"
#include "app/FrmOption.h"
#include "app/WindowShape.h"
#include "conversion/ConvertingProgress.h"

TEST(AppWindowShape, TheCutOutColourIsTheBottomLeftPixel) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    for (int y = 5; y < 25; ++y)
        for (int x = 10; x < 30; ++x) picture.setPixel(x, y, qRgb(20, 30, 40));
    picture.setPixel(0, 0, qRgb(1, 2, 3));  // a lone pixel of another colour belongs to it
    const QRegion shape(ShapeFromPicture(picture));
    EXPECT_TRUE(shape.contains(QPoint(10, 5)));
    EXPECT_TRUE(shape.contains(QPoint(29, 24)));
    EXPECT_TRUE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(9, 5)));
    EXPECT_FALSE(shape.contains(QPoint(0, 29)));
    EXPECT_FALSE(shape.contains(QPoint(30, 10)));
}

TEST(AppWindowShape, TheMainWindowHasTheBackgroundsOutlineAndItsSizes) {
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    TFrmMainForm& main = test.Main();
    const QImage background = ArtworkImage("background");
    ASSERT_EQ(background.size(), QSize(686, 486));
    EXPECT_EQ(background.pixel(0, 485), qRgb(255, 0, 255));
    EXPECT_TRUE(main.windowFlags() & Qt::FramelessWindowHint);
    const QRegion mask = main.mask();
    EXPECT_TRUE(mask.contains(QPoint(343, 243)));
    EXPECT_FALSE(mask.contains(QPoint(0, 485)));    // rounded corner
    EXPECT_FALSE(mask.contains(QPoint(600, 5)));    // beside the title tab
    EXPECT_FALSE(mask.contains(QPoint(688, 300)));  // outside the picture
    // FormResize: the minimums make the 690 x 454 window 519 high; the list grows with it.
    EXPECT_EQ(main.minimumSize(), QSize(686, 519));
    EXPECT_EQ(main.size(), QSize(690, 519));
    EXPECT_EQ(main.dxTreeSourceFileInfo().View().geometry(), QRect(19, 287, 539, 127 + 65));
    EXPECT_EQ(main.cbbOutputFiletype->geometry(), QRect(386, 133, 280, 21));
}

TEST(AppWindowShape, ButtonPicturesAreOliveWhereTransparent) {
    const QImage up = ArtworkImage("close-up");
    ASSERT_EQ(up.size(), QSize(25, 25));
    EXPECT_EQ(up.pixel(0, 0), kButtonTransparent);  // outside the round face
    EXPECT_NE(up.pixel(12, 12), kButtonTransparent);
    for (const char* state : {"up", "down", "hot"})
        EXPECT_EQ(ArtworkImage(QString("convert-") + state).size(), QSize(100, 35)) << state;
}

TEST(AppMainWindow, ControlsAtTheirPlacesWithTheirTextsAndHints) {
    TestProgramFolder folder;
    TestProgram test(folder);
    TFrmMainForm& m = test.Main();
    struct Place {
        QWidget* control;
        QRect place;
        const char* hint;
    };
    const Place places[] = {
        {m.lblTitle, {103, 42, 514, 27}, ""},          {m.btnWindowMinimize, {616, 40, 25, 25}, ""},
        {m.btnWindowClose, {642, 40, 25, 25}, ""},     {m.btnHomePage, {463, 73, 48, 48}, ""},
        {m.btnEMail, {515, 73, 48, 48}, ""},           {m.btnAbout, {619, 73, 48, 48}, ""},
        {m.DSVideoWindowEx1, {21, 75, 257, 155}, ""},  {m.Image1, {295, 125, 372, 1}, ""},
        {m.cbbProfile, {386, 160, 200, 21}, ""},       {m.btnOptions, {595, 160, 70, 20}, "Ctrl + N"},
        {m.edtOutputFolder, {386, 188, 200, 21}, ""},  {m.RzBmpButton1, {595, 188, 70, 20}, "Ctrl + N"},
        {m.Panel1, {19, 237, 260, 19}, ""},            {m.btnPlay, {20, 261, 20, 20}, "Ctrl + P"},
        {m.btnPause, {44, 261, 20, 20}, "Ctrl + U"},   {m.btnStop, {68, 261, 20, 20}, "Ctrl + T"},
        {m.imgPlay, {202, 261, 80, 20}, ""},           {m.pnlCurTime, {206, 263, 72, 17}, ""},
        {m.btnOpenFile, {567, 287, 100, 25}, "Ctrl + O"}, {m.btnRemoveFile, {567, 318, 100, 25}, "Ctrl + R"},
        {m.btnClearFile, {567, 349, 100, 25}, "Ctrl + L"}, {m.btnConvert, {567, 380, 100, 35}, "Ctrl + S"},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.control->objectName().toStdString());
        EXPECT_EQ(p.control->geometry(), p.place);
        EXPECT_EQ(p.control->toolTip(), p.hint);
    }
    const std::pair<QLabel*, const char*> texts[] = {
        {m.lblOutputFileTypeName, "Output FileType:"}, {m.lblProfileSettings, "Conversion Quality:"},
        {m.lblOutputFolderInfo, "Output Folder:"},     {m.Label1, "Shutdown computer when job is finished."},
        {m.Label2, "Show output directory when done"},  {m.pnlCurTime, "00:00:00"}};
    for (const auto& [label, text] : texts) EXPECT_EQ(label->text(), text);
    EXPECT_EQ(m.lblOutputFileTypeName->pos(), QPoint(304, 136));
    EXPECT_EQ(m.Label1->pos(), QPoint(313, 227));
    EXPECT_EQ(m.chkShutdown->pos(), QPoint(294, 226));
    EXPECT_TRUE(m.chkShowOutputDirectory->isChecked());  // the design's state, before settings
    EXPECT_EQ(m.Splitter1->geometry(), QRect(1, 0, 19, 19));
    EXPECT_EQ(m.Splitter2->geometry(), QRect(240, 0, 19, 19));
    EXPECT_TRUE(m.imgL->isHidden());
    EXPECT_EQ(m.imgL->pixmap().size(), QSize(17, 19));
    EXPECT_EQ(m.tmrClearMemory->interval(), 1000);
    EXPECT_TRUE(m.tmrClearMemory->isActive());  // from the moment the window exists
    m.tmrClearMemoryTimer();
    EXPECT_EQ(m.ClearMemoryCount(), 1);
}

TEST(AppMainWindow, TheOptionsDialogLayout) {
    TestProgramFolder folder;
    TestProgram test(folder);
    TfrmOption& o = test.Options();
    EXPECT_EQ(o.windowTitle(), "Options");
    EXPECT_EQ(o.size(), QSize(476, 260));
    EXPECT_EQ(o.cbbCustomProfile->geometry(), QRect(112, 24, 185, 21));
    EXPECT_TRUE(o.cbbCustomProfile->isEditable());
    EXPECT_FALSE(o.cbbFramerate->isEditable());
    EXPECT_EQ(o.grpAdvOptions->geometry(), QRect(12, 48, 449, 153));
    EXPECT_EQ(o.cbbAudioChannels->geometry(), QRect(323, 114, 116, 21));
    EXPECT_EQ(o.btnApply->text(), "OK");
    EXPECT_TRUE(o.btnApply->isDefault());
    EXPECT_EQ(o.btnDel->text(), "Delete");
}

TEST(AppProgressWindow, ShowRunsFormShowAndTheSpinnerTicks) {
    TestProgramFolder folder;
    TestProgram test(folder);
    ASSERT_TRUE(test.Start());
    TfrmConverting& dialog = test.program->frmConverting();
    EXPECT_EQ(dialog.size(), QSize(435, 222));
    EXPECT_EQ(dialog.lblPersent->text(), "Current: 1, Total: ...");
    EXPECT_EQ(dialog.tmrChanging->interval(), 500);
    test.program->CustomProc()->CheckedCount = 3;
    dialog.show();
    EXPECT_EQ(dialog.lblPersent->text(), "Current: 1, Total: 3");
    EXPECT_FALSE(dialog.mask().isEmpty());
    dialog.tmrChangingTimer();
    EXPECT_EQ(dialog.lblInfo->text(), "Installing convert information  |");
    dialog.tmrChangingTimer();
    EXPECT_EQ(dialog.lblInfo->text(), "Installing convert information  /");
    EXPECT_EQ(dialog.pbTotal->value(), 0);
    dialog.hide();
}

TEST(AppBusyWindow, ShowStartsTheSpinnerAndCloseStopsIt) {
    TestProgramFolder folder;
    TestProgram test(folder);
    TFrmInitFileForm& busy = test.program->FrmInitFileForm();
    EXPECT_EQ(busy.size(), QSize(273, 45));
    EXPECT_EQ(busy.lblInfo->text(), "Reading file information...");
    busy.show();
    EXPECT_TRUE(busy.Timer1->isActive());
    busy.Timer1Timer();
    EXPECT_EQ(busy.lblInfo->text(), "Installing File...  /");
    busy.hide();
    EXPECT_FALSE(busy.Timer1->isActive());
}
