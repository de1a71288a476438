#include "conversion/BatchConversion.h"

#include <exception>

#include "storage/IniText.h"

namespace {

constexpr const char* kNoRowsWarning = "Please add media files you want to convert into the list.";
constexpr const char* kStopQuestion = "Are you sure you want to stop the work ? ";
constexpr const char* kCloseQuestion = "Are you sure to stop processing ?";
constexpr const char* kNotStarted = "The encoder could not be started.";
constexpr const char* kNoCommandLine = "No command line could be made for this file.";
constexpr const char* kNoOutput = "No output file was written.";

}  // namespace

TBatchConversion::TBatchConversion(TBatchContext context) : c_(context) {}

// A step that fails (a log or script that cannot be written) must not leave the main window
// disabled behind a dialog that nothing drives any more: the batch ends, then the error goes on
// to be reported.
template <typename Step>
void TBatchConversion::Guarded(Step step) {
    try {
        step();
    } catch (...) {
        ConvertThread.reset();
        Finish();
        throw;
    }
}

void TBatchConversion::btnConvertClick() {
    if (running_) return;
    c_.proc.ConvertedCount = 0;
    ConvertAll();
}

void TBatchConversion::ConvertAll() {
    if (running_) return;
    TCustomProc& proc = c_.proc;
    ISourceList& list = proc.SourceList();
    proc.ConvertedCount = 0;
    proc.CheckedCount = 0;
    for (int row = 0; row < list.RowCount(); ++row) {
        if (list.Cell(row, colCheckStatus) == kChecked) ++proc.CheckedCount;
    }
    running_ = true;
    stopping_ = false;
    failed_.clear();
    if (list.RowCount() == 0) {
        Guarded([&] { ShowMessageBox(c_.boxes, kNoRowsWarning, 1); });
        Finish();
        return;
    }
    proc.CurrentRow = 0;
    NextRow();
}

void TBatchConversion::NextRow() {
    TCustomProc& proc = c_.proc;
    ISourceList& list = proc.SourceList();
    while (proc.CurrentRow <= list.RowCount() - 1) {
        if (list.Cell(proc.CurrentRow, colCheckStatus) == kChecked) {
            StartRow();
            return;
        }
        ++proc.CurrentRow;
    }
    AfterLoop();
}

void TBatchConversion::StartRow() {
    Guarded([&] {
        TCustomProc& proc = c_.proc;
        const std::string file = proc.SourceList().Cell(proc.CurrentRow, colFileName);
        rowFile_ = file;
        lastMessage_.clear();
        proc.CommandLine = proc.BuildConvertParameter(file);
        proc.Lib().AppFunc().WriteLog("parameter: " + proc.CommandLine);
        proc.RefreshCount = 0;
        c_.ProgressBar1.SetPosition(0);
        c_.windows.ShowProgressDialog();
        c_.windows.SetMainWindowEnabled(false);
    });
    c_.scheduler.After(0, [this] {
        c_.scheduler.After(kStartDelay, [this] { c_.scheduler.After(0, [this] { StartRunner(); }); });
    });
}

void TBatchConversion::StartRunner() {
    Guarded([&] {
        ConvertThread = c_.runner.Start(c_.proc.CommandLine, [this](const std::string& text) {
            const std::string line = LastLine(text);
            if (!line.empty()) lastMessage_ = line;
            // What a stopped encoder still says would undo the dialog's reset.
            if (!stopping_) c_.progress.ShowConvertOutput(text);
        });
    });
    c_.scheduler.After(0, [this] { c_.scheduler.After(kFirstPollDelay, [this] { PollEncoders(); }); });
}

bool TBatchConversion::EncoderRunning() const {
    const TPathNaming& naming = c_.proc.Lib().Naming();
    return c_.sys.GetProcessIdByName(naming.FavcName) != 0 ||
           c_.sys.GetProcessIdByName(naming.RavcName) != 0;
}

void TBatchConversion::PollEncoders() {
    bool running = false;
    Guarded([&] { running = EncoderRunning(); });
    if (running) {
        c_.scheduler.After(kPollInterval, [this] { PollEncoders(); });
        return;
    }
    WaitForRunEnd();
}

// The run ends about a second after its child; freeing it only then keeps the GUI thread from
// waiting on the worker.
void TBatchConversion::WaitForRunEnd() {
    if (ConvertThread && !ConvertThread->Finished()) {
        c_.scheduler.After(kPollInterval, [this] { WaitForRunEnd(); });
        return;
    }
    FinishRow();
}

void TBatchConversion::CheckRowResult() {
    TCustomProc& proc = c_.proc;
    std::string why;
    const int code = ConvertThread ? ConvertThread->ExitCode() : IEncoderRun::kNoExitCode;
    if (proc.CommandLine.empty()) {
        why = kNoCommandLine;
    } else if (code == IEncoderRun::kNoExitCode && lastMessage_.empty()) {
        why = kNotStarted;
    } else if (code != 0) {
        why = lastMessage_.empty() ? "The encoder ended with code " + std::to_string(code) + "."
                                   : lastMessage_;
    } else if (proc.OutputFile.empty() || !proc.Lib().FileSystem().FileExists(proc.OutputFile)) {
        why = lastMessage_.empty() ? kNoOutput : lastMessage_;
    } else {
        return;
    }
    failed_.push_back(TFailedRow{rowFile_, why});
    proc.Lib().AppFunc().WriteLog("Convert failure: " + rowFile_ + " -> " + why);
}

void TBatchConversion::FinishRow() {
    if (!stopping_) Guarded([&] { CheckRowResult(); });
    ConvertThread.reset();
    ++c_.proc.ConvertedCount;
    if (!stopping_) c_.progress.RowFinished();
    ++c_.proc.CurrentRow;
    NextRow();
}

void TBatchConversion::AfterLoop() {
    TCustomProc& proc = c_.proc;
    if (!proc.StopRequested) {
        Guarded([&] {
            if (!failed_.empty() && !stopping_) ShowMessageBox(c_.boxes, FailureReport(failed_), 1);
            if (c_.chkShowOutputDirectory.Checked())
                c_.afterJob.OpenFolder(proc.Lib().ConvertParam.OutputFolder);
            if (c_.chkShutdown.Checked()) {
                c_.afterJob.ShutdownComputer();
                c_.afterJob.EndProgram();
            }
        });
    }
    proc.StopRequested = false;
    Finish();
}

void TBatchConversion::Finish() {
    running_ = false;
    c_.windows.HideProgressDialog();
    c_.windows.SetMainWindowEnabled(true);
}

void TBatchConversion::btnStop1Click() {
    if (!AskYesNo(c_.boxes, kStopQuestion)) return;
    TCustomProc& proc = c_.proc;
    proc.StopRequested = true;
    stopping_ = true;
    c_.windows.HideProgressDialog();
    c_.windows.SetMainWindowEnabled(true);
    proc.CurrentRow = proc.SourceList().RowCount() + 10;
    c_.stopper.StopEncoder(proc.Lib().ConvertParam.ExePath, [this] {
        c_.stopper.StopEncoder(c_.proc.Lib().Naming().FavcName,
                               [this] { c_.progress.ResetAfterStop(); });
    });
}

bool TBatchConversion::FormCloseQuery() {
    if (!AskYesNo(c_.boxes, kCloseQuestion)) return false;
    TCustomProc& proc = c_.proc;
    stopping_ = true;
    c_.windows.HideProgressDialog();
    c_.windows.SetMainWindowEnabled(true);
    proc.CurrentRow = proc.SourceList().RowCount() + 10;
    c_.stopper.StopEncoder(proc.Lib().ConvertParam.ExePath);
    return true;
}

std::string TBatchConversion::LastLine(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0) {
        std::size_t begin = text.find_last_of("\r\n", end - 1);
        begin = begin == std::string::npos ? 0 : begin + 1;
        const std::string line = IniText::Trim(text.substr(begin, end - begin));
        if (!line.empty()) return line;
        if (begin == 0) break;
        end = begin - 1;
    }
    return {};
}

std::string TBatchConversion::FailureReport(const std::vector<TFailedRow>& rows) {
    std::string text = rows.size() == 1 ? "1 file could not be converted:"
                                        : std::to_string(rows.size()) +
                                              " files could not be converted:";
    for (const TFailedRow& row : rows) text += "\n\n" + row.FileName + "\n" + row.Message;
    return text;
}
