#include "app/FrmInitFileForm.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>

#include "app/QtText.h"
#include "media/AddSourceFiles.h"

TFrmInitFileForm::TFrmInitFileForm(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("FrmInitFileForm");
    setFixedSize(273, 45);

    bsSkinPanel1 = new QFrame(this);
    bsSkinPanel1->setObjectName("bsSkinPanel1");
    bsSkinPanel1->setGeometry(0, 0, 273, 45);
    bsSkinPanel1->setFrameShape(QFrame::Box);
    bsSkinPanel1->setStyleSheet("QFrame#bsSkinPanel1 { border: 1px solid #0b3f70; }");

    Image1 = new QLabel(bsSkinPanel1);
    Image1->setObjectName("Image1");
    Image1->setGeometry(1, 1, 271, 43);
    QPixmap blue(271, 43);
    blue.fill(QColor(13, 103, 197));
    Image1->setPixmap(blue);
    Image1->setScaledContents(true);

    lblInfo = new QLabel("Reading file information...", bsSkinPanel1);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setGeometry(1, 16, 271, 28);
    lblInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font("Arial");
    font.setPointSize(8);
    font.setBold(true);
    lblInfo->setFont(font);
    lblInfo->setStyleSheet("color: white; background: transparent;");

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(300);
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

void TFrmInitFileForm::ShowModal() {
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    modalLoop_ = &loop;
    show();
    if (isVisible()) loop.exec();
    modalLoop_ = nullptr;
}

void TFrmInitFileForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    if (QWidget* owner = parentWidget()) {
        const QRect frame = owner->geometry();
        move(frame.left() + (686 - width()) / 2, frame.top() + (486 - height()) / 2);
    }
    FormShow();
}

void TFrmInitFileForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) FormClose();
}

void TFrmInitFileForm::FormShow() {
    SpinStep = 1;
    Timer1->start();
    Timer2->start();
}

void TFrmInitFileForm::Timer2Timer() {
    QCoreApplication::processEvents();
    Timer2->stop();
    // Closed in the end whatever the adding did.
    struct CloseAtEnd {
        TFrmInitFileForm& form;
        ~CloseAtEnd() { form.close(); }
    } closeAtEnd{*this};
    if (AddFiles) AddFiles(fileList_);
    if (SaveInitDir) SaveInitDir();
}

void TFrmInitFileForm::Timer1Timer() {
    QCoreApplication::processEvents();
    SpinStep = NextSpinStep(SpinStep);
    lblInfo->setText(ToQt(BusySpinnerText(SpinStep)));
}

void TFrmInitFileForm::FormClose() {
    Timer1->stop();
    Timer2->stop();
    if (modalLoop_ != nullptr) modalLoop_->quit();
}
