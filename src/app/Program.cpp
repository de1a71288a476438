#include "app/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "app/AfterJob.h"
#include "app/BatchWindows.h"
#include "app/Companions.h"
#include "app/FileVersion.h"
#include "app/FrmConverting.h"
#include "app/FrmFlashForm.h"
#include "app/FrmInitFileForm.h"
#include "app/FrmMainForm.h"
#include "app/FrmOption.h"
#include "app/HandlerGuard.h"
#include "app/QtEventLoop.h"
#include "app/QtText.h"
#include "conversion/BatchConversion.h"
#include "conversion/CommonLib.h"
#include "conversion/ConvertingProgress.h"
#include "conversion/CustomProc.h"
#include "platform/PosixEncoderRunner.h"
#include "platform/ProcProcessTable.h"
#include "profiles/OptionsDialogLogic.h"
#include "profiles/ProfileFiles.h"
#include "storage/AppFunc.h"
#include "storage/PathNaming.h"

TProgram::TProgram(TProgramEnvironment environment) : env_(std::move(environment)) {
    loopContext_ = std::make_unique<QObject>();
    eventLoop_ = std::make_unique<QtEventLoop>(*loopContext_, *env_.Boxes);
    frmMainForm_ = std::make_unique<TFrmMainForm>(*this);
    createdWindows_.push_back(frmMainForm_->objectName().toStdString());
    frmConverting_ = std::make_unique<TfrmConverting>(*this, frmMainForm_.get());
    createdWindows_.push_back(frmConverting_->objectName().toStdString());
    frmOption_ = std::make_unique<TfrmOption>(*this, frmMainForm_.get());
    createdWindows_.push_back(frmOption_->objectName().toStdString());
    frmInitFileForm_ = std::make_unique<TFrmInitFileForm>(frmMainForm_.get());
    createdWindows_.push_back(frmInitFileForm_->objectName().toStdString());
}

TProgram::~TProgram() {
    // A run in progress is waited for before anything it reports to goes; then timers and
    // posted tasks still pending would reach objects that are going away.
    batch_.reset();
    loopContext_.reset();
    // The owned windows go before their owner.
    frmInitFileForm_.reset();
    frmOption_.reset();
    frmConverting_.reset();
    frmMainForm_.reset();
}

bool TProgram::Start() {
    frmMainForm_->FirstShow();
    if (terminateRequested_) return false;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        frmMainForm_->move(area.center() - QPoint(TFrmMainForm::kMinimumWidth / 2,
                                                  frmMainForm_->height() / 2));
    }
    frmMainForm_->show();
    return true;
}

void TProgram::ShowSplash(QWidget* owner) {
    QImage picture;
    {
        const TRecLibrary rec(env_.AppPath + kRecLibrary);
        const std::string jpeg = rec.Resource("ImgFlash", "jpeg");
        if (!jpeg.empty())
            picture.loadFromData(reinterpret_cast<const uchar*>(jpeg.data()),
                                 static_cast<int>(jpeg.size()), "JPG");
    }
    TFrmFlashForm splash(owner, picture, env_.Splash, [this] {
        // Without the objects of the start-up sequence the program cannot go on.
        if (!Guarded(*env_.Boxes, [this] { InitProgram(); })) Terminate();
    });
    splash.exec();
}

void TProgram::InitProgram() {
    // The objects reference one another, so they come into being in the order of their
    // dependencies: the log object before the job object, both before the driver.
    CreateFuncObjects();
    commonLib_ = std::make_unique<TCommonLib>(env_.AppPath, env_.Naming, *env_.Fs, *appFunc_);
    profileFiles_ = std::make_unique<TProfileFiles>(env_.AppPath, *env_.Fs, '/');
    TFrmMainForm& main = *frmMainForm_;
    TfrmOption& options = *frmOption_;
    const TSelectors selectors{main.OutputFiletypeSelector(), main.ProfileSelector(),
                               options.VideoSize(),           options.VideoBitrate(),
                               options.Framerate(),           options.Aspectratio(),
                               options.AudioBitrate(),        options.AudioSample(),
                               options.AudioVolumeGain(),     options.AudioChannels(),
                               options.CustomProfile()};
    customProc_ = std::make_unique<TCustomProc>(selectors, *profileFiles_, *commonLib_,
                                                main.dxTreeSourceFileInfo(), main.OutputFolderText());
    optionLogic_ = std::make_unique<TOptionsDialogLogic>(*customProc_);
    convertingProgress_ = std::make_unique<TConvertingProgress>(*customProc_, frmConverting_->View());
    CreateBatch();

    // The companion libraries were checked before the splash was built.
    QCoreApplication::processEvents();  // the splash paints
    ReadSoftInfo();
    recSoftInfo_.AppPath = env_.AppPath;
    const QString title = ToQt(MakeWindowTitle(recSoftInfo_));
    main.setWindowTitle(title);
    main.lblTitle->setText(main.windowTitle());
}

void TProgram::CreateBatch() {
    processTable_ = std::make_unique<ProcProcessTable>();
    sysFunc_ = std::make_unique<TSysFunc>(*processTable_);
    stopper_ = std::make_unique<TEncoderStopper>(*sysFunc_, *appFunc_, *eventLoop_, env_.Naming);
    // The runner shares the loop, which outlives every run.
    runner_ = std::make_unique<PosixEncoderRunner>(
        std::shared_ptr<IPoster>(std::shared_ptr<void>(), eventLoop_.get()), env_.AppPath);
    batchWindows_ = std::make_unique<TBatchWindows>(*frmMainForm_, *frmConverting_);
    afterJob_ = std::make_unique<TAfterJob>(*env_.Desktop, env_.Power, *env_.Exit);
    TFrmMainForm& main = *frmMainForm_;
    batch_ = std::make_unique<TBatchConversion>(TBatchContext{
        *customProc_, *convertingProgress_, frmConverting_->FileBar(), *runner_, *sysFunc_,
        *stopper_, *eventLoop_, *env_.Boxes, *batchWindows_, *afterJob_,
        main.ShowOutputDirectoryBox(), main.ShutdownBox()});
}

void TProgram::CreateFuncObjects() {
    // TStrFunc and TFileFunc live inside TCommonLib; TSysFunc comes with the batch.
    appFunc_ = std::make_unique<TAppFunc>(env_.AppPath, *env_.Fs);
}

void TProgram::CheckRequiredFiles() {
    // Looked up in the program folder, not in whatever folder the program was started from.
    for (const char* name : {kUseLibrary, kRecLibrary}) {
        if (env_.Fs->FileExists(env_.AppPath + name)) continue;
        AppMessageBox(*env_.Boxes, MissingLibraryText(name), 1);
        Terminate();
    }
}

void TProgram::ReadSoftInfo() {
    recSoftInfo_ = ReadSoftInfoFrom(env_.AppPath + kRecLibrary, GetFileVersionText());
}

void TProgram::OpenHomePage() { env_.Desktop->Open(recSoftInfo_.HomePage); }

void TProgram::SendEMail() { env_.Desktop->Open("mailto:" + recSoftInfo_.EMail); }

void TProgram::OpenHelp() { env_.Desktop->Open(recSoftInfo_.AppPath + "Help.html"); }

void TProgram::ShowAbout() {
    ShowAboutFrom(env_.AppPath + kUseLibrary, QCoreApplication::instance(), recSoftInfo_);
}
