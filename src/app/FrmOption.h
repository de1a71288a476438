#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "app/QtSelector.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TProgram;

// The options dialog: the eight option selectors and the custom profiles. Shown without being
// modal; OK, Cancel and the close box hide it.
class TfrmOption : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOption(TProgram& program, QWidget* owner);
    ~TfrmOption() override;

    // Handlers.
    void FormShow();
    void cbbCustomProfileChange();
    void btnAddClick();
    void btnSaveClick();
    void btnDelClick();
    void btnApplyClick();
    void btnCancelClick();

    QLabel* lblCustomProfile;
    QComboBox* cbbCustomProfile;
    QPushButton* btnAdd;
    QPushButton* btnSave;
    QPushButton* btnDel;
    QGroupBox* grpAdvOptions;
    QComboBox* cbbVideoSize;
    QComboBox* cbbVideoBitrate;
    QComboBox* cbbFramerate;
    QComboBox* cbbAspectratio;
    QComboBox* cbbAudioBitrate;
    QComboBox* cbbAudioSample;
    QComboBox* cbbAudioVolumeGain;
    QComboBox* cbbAudioChannels;
    QPushButton* btnApply;
    QPushButton* btnCancel;

    // The core's view of the nine selectors.
    QtSelector& VideoSize() { return *selectors_[0]; }
    QtSelector& VideoBitrate() { return *selectors_[1]; }
    QtSelector& Framerate() { return *selectors_[2]; }
    QtSelector& Aspectratio() { return *selectors_[3]; }
    QtSelector& AudioBitrate() { return *selectors_[4]; }
    QtSelector& AudioSample() { return *selectors_[5]; }
    QtSelector& AudioVolumeGain() { return *selectors_[6]; }
    QtSelector& AudioChannels() { return *selectors_[7]; }
    QtSelector& CustomProfile() { return *selectors_[8]; }

    // Esc: Cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    template <class Handler>
    void Run(Handler&& handler);

    TProgram& program_;
    std::array<std::unique_ptr<QtSelector>, 9> selectors_;
};
