#include "app/FrmConverting.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>

#include "app/Artwork.h"
#include "app/BitmapButton.h"
#include "app/HandlerGuard.h"
#include "app/Program.h"
#include "app/WindowShape.h"
#include "conversion/BatchConversion.h"
#include "conversion/ConvertingProgress.h"

namespace {

QLabel* WhiteLabel(QWidget* parent, const char* name, const char* text, const QRect& place,
                   bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font("Arial");
    font.setPointSize(8);
    font.setBold(bold);
    label->setFont(font);
    label->setStyleSheet("color: white; background: transparent;");
    label->setGeometry(place);
    return label;
}

QProgressBar* Bar(QWidget* parent, const char* name, const QRect& place) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setGeometry(place);
    bar->setTextVisible(false);
    return bar;
}

}  // namespace

TfrmConverting::TfrmConverting(TProgram& program, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::FramelessWindowHint), program_(program) {
    setObjectName("frmConverting");
    setWindowTitle("Converting");
    resize(kClientWidth, kClientHeight);

    rzfrmshpConverting = new QLabel(this);
    rzfrmshpConverting->setObjectName("rzfrmshpConverting");
    rzfrmshpConverting->setGeometry(0, 0, kClientWidth, kClientHeight);
    rzfrmshpConverting->setPixmap(ArtworkPixmap("converting"));

    lblInfo = WhiteLabel(this, "lblInfo", "Please wait . . .", {48, 12, 360, 18}, true);
    lblCurConvertFileL = WhiteLabel(this, "lblCurConvertFileL", "Current Convert File:", {20, 52, 110, 16});
    lblCurFileName = WhiteLabel(this, "lblCurFileName", "", {132, 52, 283, 16});
    lblTotalFilr = WhiteLabel(this, "lblTotalFilr", "Total File:", {20, 76, 200, 16});
    pbTotal = Bar(this, "pbTotal", {20, 94, 395, 14});
    lblCurprog = WhiteLabel(this, "lblCurprog", "Current File:", {20, 116, 200, 16});
    ProgressBar1 = Bar(this, "ProgressBar1", {20, 134, 395, 14});
    lblPersent = WhiteLabel(this, "lblPersent", "Current: 1, Total: ...", {20, 166, 290, 16});
    btnStop = new TBitmapButton(this, "btnStop", "stopconvert", {327, 160, 88, 26});

    statState = new QStatusBar(this);
    statState->setObjectName("statState");
    statState->setSizeGripEnabled(false);
    statState->setGeometry(8, 196, kClientWidth - 16, 20);
    statState->setStyleSheet("QStatusBar { color: #c9d3df; background: transparent; }");

    progressBar1_ = std::make_unique<QtProgressBar>(*ProgressBar1);
    total_ = std::make_unique<QtProgressBar>(*pbTotal);
    persent_ = std::make_unique<QtLabelText>(*lblPersent);
    info_ = std::make_unique<QtLabelText>(*lblInfo);
    curFileName_ = std::make_unique<QtLabelText>(*lblCurFileName);
    state_ = std::make_unique<QtStatusText>(*statState);

    tmrChanging = new QTimer(this);
    tmrChanging->setObjectName("tmrChanging");
    tmrChanging->setInterval(500);
    connect(tmrChanging, &QTimer::timeout, this,
            [this] { Guarded(*program_.Env().Boxes, [&] { tmrChangingTimer(); }); });
    tmrChanging->start();

    connect(btnStop, &QAbstractButton::clicked, this,
            [this] { Guarded(*program_.Env().Boxes, [&] { btnStop1Click(); }); });
}

TfrmConverting::~TfrmConverting() = default;

TProgressView TfrmConverting::View() {
    return TProgressView{*progressBar1_, *total_, *persent_, *info_, *curFileName_, *state_};
}

void TfrmConverting::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    if (!shaped_) {
        ApplyShape(*this, ArtworkImage("converting"));
        shaped_ = true;
    }
    // Centred on the main window.
    if (QWidget* owner = parentWidget()) {
        const QRect frame = owner->geometry();
        move(frame.left() + (686 - width()) / 2, frame.top() + (486 - height()) / 2);
    }
    Guarded(*program_.Env().Boxes, [&] { FormShow(); });
}

void TfrmConverting::FormShow() {
    if (TConvertingProgress* progress = program_.ConvertingProgress()) progress->FormShow();
}

void TfrmConverting::tmrChangingTimer() {
    if (TConvertingProgress* progress = program_.ConvertingProgress()) progress->tmrChangingTimer();
}

void TfrmConverting::btnStop1Click() {
    if (TBatchConversion* batch = program_.Batch()) batch->btnStop1Click();
}

void TfrmConverting::closeEvent(QCloseEvent* event) {
    // The batch hides the dialog without closing it; a close (the window manager's button,
    // Alt+F4) while a batch runs asks first.
    TBatchConversion* batch = program_.Batch();
    bool mayClose = true;
    if (batch && batch->Running() && isVisible()) {
        mayClose = false;
        Guarded(*program_.Env().Boxes, [&] { mayClose = batch->FormCloseQuery(); });
    }
    if (mayClose) event->accept();
    else event->ignore();
}
