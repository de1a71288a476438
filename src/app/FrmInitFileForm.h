#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

// The busy window "Reading file information...": a blue panel with a white label whose text
// spins once a second while files are read.
class TFrmInitFileForm : public QWidget {
    Q_OBJECT
public:
    explicit TFrmInitFileForm(QWidget* owner);

    // Handlers.
    void FormShow();
    void Timer1Timer();
    void FormClose();

    QFrame* bsSkinPanel1;
    QLabel* Image1;
    QLabel* lblInfo;
    QTimer* Timer1;
    int SpinStep = 1;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};
