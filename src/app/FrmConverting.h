#pragma once

#include <QWidget>
#include <memory>

#include "app/QtControls.h"
#include "conversion/ProgressView.h"

class QLabel;
class QProgressBar;
class QStatusBar;
class QTimer;
class TBitmapButton;
class TProgram;

// The progress dialog shown while a batch runs: shaped from its picture, white Arial labels,
// the current-file and whole-batch bars, the spinner line and Stop. Not modal. Its arithmetic
// is TConvertingProgress; the batch connects btnStop when it runs.
class TfrmConverting : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 435;
    static constexpr int kClientHeight = 222;

    TfrmConverting(TProgram& program, QWidget* owner);
    ~TfrmConverting() override;

    // Handlers.
    void FormShow();
    void tmrChangingTimer();

    QLabel* rzfrmshpConverting;
    QLabel* lblInfo;
    QLabel* lblCurConvertFileL;
    QLabel* lblCurFileName;
    QLabel* lblTotalFilr;
    QProgressBar* pbTotal;
    QLabel* lblCurprog;
    QProgressBar* ProgressBar1;
    QLabel* lblPersent;
    TBitmapButton* btnStop;
    QStatusBar* statState;
    QTimer* tmrChanging;

    // The controls as the progress arithmetic drives them.
    TProgressView View();
    IProgressBar& FileBar() { return *progressBar1_; }

    // Stop asks, then ends the batch after the row in progress; so does the close request.
    void btnStop1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TProgram& program_;
    bool shaped_ = false;
    std::unique_ptr<QtProgressBar> progressBar1_;
    std::unique_ptr<QtProgressBar> total_;
    std::unique_ptr<QtLabelText> persent_;
    std::unique_ptr<QtLabelText> info_;
    std::unique_ptr<QtLabelText> curFileName_;
    std::unique_ptr<QtStatusText> state_;
};
