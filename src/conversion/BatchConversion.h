#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "conversion/ConvertingProgress.h"
#include "conversion/CustomProc.h"
#include "conversion/EncoderRunner.h"
#include "conversion/EncoderStopper.h"
#include "conversion/Scheduler.h"
#include "conversion/SysFunc.h"
#include "storage/Controls.h"
#include "storage/MessageBoxes.h"

// The windows a batch shows and disables.
class IBatchWindows {
public:
    virtual ~IBatchWindows() = default;
    // Shows the progress dialog without making it modal; going from hidden to shown runs the
    // dialog's FormShow.
    virtual void ShowProgressDialog() = 0;
    virtual void HideProgressDialog() = 0;
    virtual void SetMainWindowEnabled(bool enabled) = 0;
};

// What happens after the last row: the desktop opens the output folder, the system powers off.
class IAfterJob {
public:
    virtual ~IAfterJob() = default;
    virtual void OpenFolder(const std::string& folder) = 0;
    virtual void ShutdownComputer() = 0;
    // Ends the program at once, without the main window's closing steps.
    virtual void EndProgram() = 0;
};

// Everything a batch reaches.
struct TBatchContext {
    TCustomProc& proc;
    TConvertingProgress& progress;
    IProgressBar& ProgressBar1;
    IEncoderRunner& runner;
    TSysFunc& sys;
    TEncoderStopper& stopper;
    IScheduler& scheduler;
    IMessageBoxes& boxes;
    IBatchWindows& windows;
    IAfterJob& afterJob;
    ICheckBox& chkShowOutputDirectory;
    ICheckBox& chkShutdown;
};

// A row that did not convert: its source, and the encoder's last message (or why there was none).
struct TFailedRow {
    std::string FileName;
    std::string Message;
};

// Converts every checked row, one after another, as a chain of scheduled steps on the GUI
// thread: build and log the command line, show the dialog, wait 2000 ms, start the encoder,
// wait 3000 ms, look every 100 ms until no encoder process is left, free the run, go on. Stop
// and the dialog's close request end the chain after the row in progress.
//
// A row whose encoder exits with a non-zero code (or cannot be started), or that leaves no
// output file, has failed; each is logged. A batch that ran to its end with failed rows shows
// one warning listing them before the after-job actions; a stopped batch shows none.
class TBatchConversion {
public:
    static constexpr int kStartDelay = 2000;
    static constexpr int kFirstPollDelay = 3000;
    static constexpr int kPollInterval = 100;

    explicit TBatchConversion(TBatchContext context);

    // Convert: nothing happens while a batch (or the end of a stopped row) is still running.
    void btnConvertClick();
    void ConvertAll();
    bool Running() const { return running_; }

    // The dialog's Stop button. Asks first; Yes stops the batch without the after-job actions.
    void btnStop1Click();
    // The dialog's close request. Asks first; Yes stops the batch but keeps the after-job
    // actions. The result is whether the dialog may close.
    bool FormCloseQuery();

    // The failed rows of the batch in progress or of the last one.
    const std::vector<TFailedRow>& FailedRows() const { return failed_; }
    static std::string FailureReport(const std::vector<TFailedRow>& rows);
    // The last non-blank line of a piece of encoder output, trimmed.
    static std::string LastLine(const std::string& text);

private:
    void NextRow();
    void StartRow();
    void StartRunner();
    void PollEncoders();
    void WaitForRunEnd();
    void FinishRow();
    void CheckRowResult();
    void AfterLoop();
    void Finish();
    bool EncoderRunning() const;
    template <typename Step>
    void Guarded(Step step);

    TBatchContext c_;
    std::unique_ptr<IEncoderRun> ConvertThread;
    bool running_ = false;
    // A stop was asked for: the row in progress is not judged.
    bool stopping_ = false;
    std::string rowFile_;
    std::string lastMessage_;
    std::vector<TFailedRow> failed_;
};
