#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "app/ProgramEnvironment.h"

class QLabel;
class QTimer;

// The splash window: the product picture, up while the program starts. Its first Timer1 tick
// runs the start-up sequence once; it closes when that has returned and Timer2 has ticked at
// least twice. It takes no keys or clicks of its own.
class TFrmFlashForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLayoutWidth = 353;
    static constexpr int kLayoutHeight = 190;

    // Without a picture the window keeps its layout size and shows no picture.
    TFrmFlashForm(QWidget* owner, const QImage& picture, TSplashTimings timings,
                  std::function<void()> initProgram);

    // Handlers.
    void FormShow();
    void Timer1Timer();
    void Timer2Timer();

    QLabel* ImgFlash;
    QTimer* Timer1;
    QTimer* Timer2;
    int TickCount = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CloseWhenDone();

    std::function<void()> initProgram_;
    bool initDone_ = false;
};
