#include "app/FrmFlashForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

TFrmFlashForm::TFrmFlashForm(QWidget* owner, const QImage& picture, TSplashTimings timings,
                             std::function<void()> initProgram)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), initProgram_(std::move(initProgram)) {
    setObjectName("FrmFlashForm");
    setModal(true);
    setStyleSheet("QDialog#FrmFlashForm { background: #12213a; }");

    ImgFlash = new QLabel(this);
    ImgFlash->setObjectName("ImgFlash");
    if (!picture.isNull()) {
        ImgFlash->setPixmap(QPixmap::fromImage(picture));
        ImgFlash->setGeometry(0, 0, picture.width(), picture.height());
        setFixedSize(picture.size());
    } else {
        ImgFlash->setGeometry(0, 0, kLayoutWidth, kLayoutHeight);
        setFixedSize(kLayoutWidth, kLayoutHeight);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(timings.InitDelay);
    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(timings.Tick);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

void TFrmFlashForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    FormShow();
}

void TFrmFlashForm::FormShow() {
    TickCount = 0;
    Timer1->start();
    Timer2->start();
}

void TFrmFlashForm::Timer1Timer() {
    Timer1->stop();  // runs once
    if (initProgram_) initProgram_();
    initDone_ = true;
    CloseWhenDone();
}

void TFrmFlashForm::Timer2Timer() {
    ++TickCount;
    CloseWhenDone();
}

void TFrmFlashForm::CloseWhenDone() {
    if (!initDone_ || TickCount < 2) return;
    Timer2->stop();
    accept();
}

void TFrmFlashForm::keyPressEvent(QKeyEvent* event) {
    // No key closes the splash (Esc included).
    event->accept();
}

void TFrmFlashForm::closeEvent(QCloseEvent* event) {
    // Only the end of start-up closes it.
    if (!initDone_ || TickCount < 2) event->ignore();
}
