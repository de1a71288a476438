#include "app/FrmOption.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "app/HandlerGuard.h"
#include "app/Program.h"
#include "profiles/OptionsDialogLogic.h"

namespace {

QLabel* Label(QWidget* parent, const char* name, const char* text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text, const QRect& place) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QComboBox* List(QWidget* parent, const char* name, int left, int top, int width) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setGeometry(left, top, width, 21);
    box->setEditable(false);
    box->setMaxVisibleItems(12);
    return box;
}

}  // namespace

TfrmOption::TfrmOption(TProgram& program, QWidget* owner) : QDialog(owner), program_(program) {
    setObjectName("frmOption");
    setWindowTitle("Options");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(476, 260);

    lblCustomProfile = Label(this, "lblCustomProfile", "Custom Profile:", 8, 27);
    cbbCustomProfile = new QComboBox(this);
    cbbCustomProfile->setObjectName("cbbCustomProfile");
    cbbCustomProfile->setGeometry(112, 24, 185, 21);
    cbbCustomProfile->setEditable(true);
    cbbCustomProfile->setInsertPolicy(QComboBox::NoInsert);
    cbbCustomProfile->setCompleter(nullptr);
    btnAdd = Button(this, "btnAdd", "Add", {304, 22, 49, 24});
    btnSave = Button(this, "btnSave", "Save", {356, 22, 49, 24});
    btnDel = Button(this, "btnDel", "Delete", {408, 22, 49, 24});

    grpAdvOptions = new QGroupBox("Advanced Options", this);
    grpAdvOptions->setObjectName("grpAdvOptions");
    grpAdvOptions->setGeometry(12, 48, 449, 153);
    const int rows[] = {19, 51, 83, 114};
    Label(grpAdvOptions, "lblVideoSize", "Video Size:", 6, rows[0] + 3);
    cbbVideoSize = List(grpAdvOptions, "cbbVideoSize", 100, rows[0], 117);
    Label(grpAdvOptions, "lblVideoBitrate", "Video Bitrate(kbps):", 6, rows[1] + 3);
    cbbVideoBitrate = List(grpAdvOptions, "cbbVideoBitrate", 100, rows[1], 117);
    Label(grpAdvOptions, "lblFramerate", "Frame Rate(fps):", 6, rows[2] + 3);
    cbbFramerate = List(grpAdvOptions, "cbbFramerate", 100, rows[2], 117);
    Label(grpAdvOptions, "lblAspectratio", "Aspect Ratio:", 6, rows[3] + 3);
    cbbAspectratio = List(grpAdvOptions, "cbbAspectratio", 100, rows[3], 117);
    Label(grpAdvOptions, "lblAudioBitrate", "Audio Bitrate(kbps):", 229, rows[0] + 3);
    cbbAudioBitrate = List(grpAdvOptions, "cbbAudioBitrate", 323, rows[0], 116);
    Label(grpAdvOptions, "lblAudioSample", "Audio Sample(khz):", 230, rows[1] + 3);
    cbbAudioSample = List(grpAdvOptions, "cbbAudioSample", 323, rows[1], 116);
    Label(grpAdvOptions, "lblAudioVolumeGain", "Audio Volume(%):", 230, rows[2] + 3);
    cbbAudioVolumeGain = List(grpAdvOptions, "cbbAudioVolumeGain", 323, rows[2], 116);
    Label(grpAdvOptions, "lblAudioChannels", "Audio Channels:", 230, rows[3] + 3);
    cbbAudioChannels = List(grpAdvOptions, "cbbAudioChannels", 323, rows[3], 116);

    btnApply = Button(this, "btnApply", "OK", {296, 216, 73, 25});
    btnApply->setDefault(true);
    btnCancel = Button(this, "btnCancel", "Cancel", {384, 216, 73, 25});

    QComboBox* boxes[9] = {cbbVideoSize,    cbbVideoBitrate,    cbbFramerate,
                           cbbAspectratio,  cbbAudioBitrate,    cbbAudioSample,
                           cbbAudioVolumeGain, cbbAudioChannels, cbbCustomProfile};
    for (size_t i = 0; i < selectors_.size(); ++i)
        selectors_[i] = std::make_unique<QtSelector>(*boxes[i]);

    auto on = [this](QPushButton* button, void (TfrmOption::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { Run([&] { (this->*handler)(); }); });
    };
    on(btnAdd, &TfrmOption::btnAddClick);
    on(btnSave, &TfrmOption::btnSaveClick);
    on(btnDel, &TfrmOption::btnDelClick);
    on(btnApply, &TfrmOption::btnApplyClick);
    on(btnCancel, &TfrmOption::btnCancelClick);
    // Every change the user makes in the box, by picking an item or by typing.
    connect(cbbCustomProfile, &QComboBox::activated, this, [this] { Run([&] { cbbCustomProfileChange(); }); });
    connect(cbbCustomProfile->lineEdit(), &QLineEdit::textEdited, this,
            [this] { Run([&] { cbbCustomProfileChange(); }); });
}

TfrmOption::~TfrmOption() = default;

template <class Handler>
void TfrmOption::Run(Handler&& handler) {
    Guarded(*program_.Env().Boxes, std::forward<Handler>(handler));
}

void TfrmOption::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // shown again by the window system, not opened
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    Run([&] { FormShow(); });
}

void TfrmOption::FormShow() {
    if (TOptionsDialogLogic* logic = program_.OptionLogic()) logic->FormShow();
}

void TfrmOption::cbbCustomProfileChange() {
    if (TOptionsDialogLogic* logic = program_.OptionLogic()) logic->cbbCustomProfileChange();
}

void TfrmOption::btnAddClick() {
    if (TOptionsDialogLogic* logic = program_.OptionLogic()) logic->btnAddClick(*program_.Env().NamePrompt);
}

void TfrmOption::btnSaveClick() {
    if (TOptionsDialogLogic* logic = program_.OptionLogic()) logic->btnSaveClick();
}

void TfrmOption::btnDelClick() {
    if (TOptionsDialogLogic* logic = program_.OptionLogic()) logic->btnDelClick();
}

void TfrmOption::btnApplyClick() {
    if (TOptionsDialogLogic* logic = program_.OptionLogic()) logic->btnApplyClick();
    hide();
}

void TfrmOption::btnCancelClick() {
    if (TOptionsDialogLogic* logic = program_.OptionLogic()) logic->btnCancelClick();
    hide();
}

void TfrmOption::reject() { Run([&] { btnCancelClick(); }); }

void TfrmOption::closeEvent(QCloseEvent* event) {
    // The close box hides the dialog; the snapshot is not restored, cbbProfile not refilled.
    event->accept();
    hide();
}
