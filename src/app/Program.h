#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/ProgramEnvironment.h"
#include "storage/ProductInfo.h"

class QObject;
class QWidget;
class QtEventLoop;
class IEncoderRunner;
class IProcessTable;
class TAfterJob;
class TAppFunc;
class TBatchConversion;
class TBatchWindows;
class TEncoderStopper;
class TSysFunc;
class TCommonLib;
class TConvertingProgress;
class TCustomProc;
class TFrmInitFileForm;
class TFrmMainForm;
class TOptionsDialogLogic;
class TProfileFiles;
class TfrmConverting;
class TfrmOption;

// The program-wide singletons: the four windows, created in order when the program starts,
// and the long-lived objects, created by InitProgram while the splash is up. The real entry
// makes one; tests make one per case over a temporary program folder.
class TProgram {
public:
    explicit TProgram(TProgramEnvironment environment);
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // The main window's first show (splash, start-up sequence, selectors, settings), then the
    // window itself, centred on the desktop. False when start-up told the program to end: the
    // message loop must then not run.
    bool Start();

    // Start-up.
    void ShowSplash(QWidget* owner);
    void InitProgram();
    void CreateFuncObjects();
    // The batch and what it drives: process table, encoder runner and stopper, windows and
    // after-job actions.
    void CreateBatch();
    void CheckRequiredFiles();
    void ReadSoftInfo();
    // The application is to end as soon as its message loop runs.
    void Terminate() { terminateRequested_ = true; }
    bool TerminateRequested() const { return terminateRequested_; }

    // The links of the main window.
    void OpenHomePage();
    void SendEMail();
    void OpenHelp();
    void ShowAbout();

    TFrmMainForm& FrmMainForm() { return *frmMainForm_; }
    TfrmConverting& frmConverting() { return *frmConverting_; }
    TfrmOption& frmOption() { return *frmOption_; }
    TFrmInitFileForm& FrmInitFileForm() { return *frmInitFileForm_; }
    // Timers and posted tasks on the GUI thread, run inside the handler guard.
    QtEventLoop& EventLoop() { return *eventLoop_; }
    // The object names of the windows in the order they were created.
    const std::vector<std::string>& CreatedWindows() const { return createdWindows_; }

    // Null until InitProgram has run.
    TCustomProc* CustomProc() { return customProc_.get(); }
    TCommonLib* CommonLib() { return commonLib_.get(); }
    TAppFunc* AppFunc() { return appFunc_.get(); }
    TOptionsDialogLogic* OptionLogic() { return optionLogic_.get(); }
    TConvertingProgress* ConvertingProgress() { return convertingProgress_.get(); }
    TBatchConversion* Batch() { return batch_.get(); }

    const TRecSoftInfo& RecSoftInfo() const { return recSoftInfo_; }
    const TProgramEnvironment& Env() const { return env_; }

private:
    TProgramEnvironment env_;
    // The owner of the loop's pending tasks: destroying it drops them.
    std::unique_ptr<QObject> loopContext_;
    std::unique_ptr<QtEventLoop> eventLoop_;
    std::unique_ptr<TFrmMainForm> frmMainForm_;
    std::unique_ptr<TfrmConverting> frmConverting_;
    std::unique_ptr<TfrmOption> frmOption_;
    std::unique_ptr<TFrmInitFileForm> frmInitFileForm_;
    std::vector<std::string> createdWindows_;

    std::unique_ptr<TAppFunc> appFunc_;
    std::unique_ptr<TCommonLib> commonLib_;
    std::unique_ptr<TProfileFiles> profileFiles_;
    std::unique_ptr<TCustomProc> customProc_;
    std::unique_ptr<TOptionsDialogLogic> optionLogic_;
    std::unique_ptr<TConvertingProgress> convertingProgress_;
    std::unique_ptr<IProcessTable> processTable_;
    std::unique_ptr<TSysFunc> sysFunc_;
    std::unique_ptr<TEncoderStopper> stopper_;
    std::unique_ptr<IEncoderRunner> runner_;
    std::unique_ptr<TBatchWindows> batchWindows_;
    std::unique_ptr<TAfterJob> afterJob_;
    std::unique_ptr<TBatchConversion> batch_;

    TRecSoftInfo recSoftInfo_;
    bool terminateRequested_ = false;
};
