#pragma once

#include <string>

#include "conversion/CustomProc.h"
#include "conversion/ProgressView.h"

// The progress dialog's arithmetic: the counter line, the two bars read from the encoder's
// status text, and the spinner.
class TConvertingProgress {
public:
    TConvertingProgress(TCustomProc& proc, TProgressView view);

    int SpinnerStep = 0;

    // The dialog goes from hidden to shown (once per batch).
    void FormShow();
    // Every 500 ms.
    void tmrChangingTimer();
    // After each piece of encoder text: the first piece of a row (the banner) is not parsed.
    void actRefreshProgressExecute();
    // The runner's output callback: status text, file label, refresh.
    void ShowConvertOutput(const std::string& text);
    // A row has converted (ConvertedCount already counts it): the file bar at its end and the
    // overall bar at the finished rows' share, which the trailing refresh never shows.
    void RowFinished();
    // Back to the idle texts after a stop.
    void ResetAfterStop();

    static std::string SpinnerText(int step, bool converting);

private:
    TCustomProc& proc_;
    TProgressView view_;
};
