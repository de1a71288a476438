#include "app/FrmMainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QLocale>
#include <QMimeData>
#include <QUrl>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include "app/Artwork.h"
#include "app/BitmapButton.h"
#include "app/ClearMemory.h"
#include "app/FrmInitFileForm.h"
#include "app/FrmOption.h"
#include "app/HandlerGuard.h"
#include "app/KeyboardMap.h"
#include "app/PreviewGraph.h"
#include "app/Program.h"
#include "app/QtEventLoop.h"
#include "app/QtPreviewView.h"
#include "app/QtText.h"
#include "app/SegmentBar.h"
#include "app/VideoWindow.h"
#include "app/WindowShape.h"
#include "conversion/BatchConversion.h"
#include "conversion/CustomProc.h"
#include "media/AddSourceFiles.h"
#include "media/PreviewPlayer.h"
#include "media/SourceListOps.h"
#include "storage/AppFunc.h"
#include "storage/OutputFolderChooser.h"
#include "storage/UserSettings.h"

namespace {

constexpr int kGridLeft = 19, kGridTop = 287, kGridWidth = 539, kGridHeight = 127;

QFont ArialFont(int pixelSize, bool bold) {
    QFont font("Arial");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A transparent label in white Arial 8 point, drawn on the background picture.
QLabel* WhiteLabel(QWidget* parent, const char* name, const char* text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font("Arial");
    font.setPointSize(8);
    label->setFont(font);
    label->setStyleSheet("color: white; background: transparent;");
    // A press on the label is a press on the background picture behind it.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QComboBox* DropDownList(QWidget* parent, const char* name, const QRect& place) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    box->setEditable(false);
    box->setMaxVisibleItems(12);
    return box;
}

}  // namespace

TFrmMainForm::TFrmMainForm(TProgram& program) : QWidget(nullptr), program_(program) {
    setObjectName("FrmMainForm");
    setWindowTitle("FrmMainForm");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    setFont(font);
    resize(kClientWidth, kClientHeight);
    BuildControls();
    ConnectHandlers();
    // Key preview: the window sees every key before the focused control.
    qApp->installEventFilter(this);
    tmrClearMemory->start();
    tmrPaintSP->start();
    dstrckbrMainform->start();
}

TFrmMainForm::~TFrmMainForm() = default;

void TFrmMainForm::BuildControls() {
    rzfrmshpfrmConverter = new QLabel(this);
    rzfrmshpfrmConverter->setObjectName("rzfrmshpfrmConverter");
    rzfrmshpfrmConverter->setGeometry(0, 0, kClientWidth, kClientHeight);
    rzfrmshpfrmConverter->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    rzfrmshpfrmConverter->setPixmap(ArtworkPixmap("background"));
    rzfrmshpfrmConverter->installEventFilter(this);

    lblTitle = new QLabel("Application name ", this);
    lblTitle->setObjectName("lblTitle");
    lblTitle->setGeometry(103, 42, 514, 27);
    lblTitle->setFont(ArialFont(16, true));
    lblTitle->setStyleSheet("color: white; background: transparent;");
    lblTitle->installEventFilter(this);

    btnWindowMinimize = new TBitmapButton(this, "btnWindowMinimize", "minimize", {616, 40, 25, 25});
    btnWindowClose = new TBitmapButton(this, "btnWindowClose", "close", {642, 40, 25, 25});
    btnHomePage = new TBitmapButton(this, "btnHomePage", "homepage", {463, 73, 48, 48});
    btnEMail = new TBitmapButton(this, "btnEMail", "email", {515, 73, 48, 48});
    btnAbout = new TBitmapButton(this, "btnAbout", "about", {619, 73, 48, 48});
    for (TBitmapButton* link : {btnHomePage, btnEMail, btnAbout}) link->setCursor(Qt::PointingHandCursor);

    DSVideoWindowEx1 = new TVideoWindow(this, "DSVideoWindowEx1");
    DSVideoWindowEx1->move(21, 75);
    panLogo = new QWidget(DSVideoWindowEx1);
    panLogo->setObjectName("panLogo");
    panLogo->setGeometry(0, 0, 257, 155);
    imgLOGO = new QLabel(panLogo);
    imgLOGO->setObjectName("imgLOGO");
    imgLOGO->setGeometry(0, 0, 257, 155);
    imgLOGO->setScaledContents(true);
    imgLOGO->setPixmap(ArtworkPixmap("logo"));

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(295, 125, 372, 1);
    QPixmap line(372, 1);
    line.fill(QColor(58, 71, 88));
    Image1->setPixmap(line);

    lblOutputFileTypeName = WhiteLabel(this, "lblOutputFileTypeName", "Output FileType:", 304, 136);
    cbbOutputFiletype = DropDownList(this, "cbbOutputFiletype", {386, 133, 280, 21});
    lblProfileSettings = WhiteLabel(this, "lblProfileSettings", "Conversion Quality:", 288, 164);
    cbbProfile = DropDownList(this, "cbbProfile", {386, 160, 200, 21});
    btnOptions = new TBitmapButton(this, "btnOptions", "options", {595, 160, 70, 20}, "Ctrl + N");

    lblOutputFolderInfo = WhiteLabel(this, "lblOutputFolderInfo", "Output Folder:", 314, 191);
    edtOutputFolder = new QLineEdit(this);
    edtOutputFolder->setObjectName("edtOutputFolder");
    edtOutputFolder->setGeometry(386, 188, 200, 21);
    edtOutputFolder->setReadOnly(true);
    edtOutputFolder->setText(ToQt(program_.Env().HomeFolder + "Kestrava Output Folder"));
    edtOutputFolder->setCursorPosition(0);
    RzBmpButton1 = new TBitmapButton(this, "RzBmpButton1", "folder", {595, 188, 70, 20}, "Ctrl + N");
    btnSelectOutputFolder = new QPushButton(this);
    btnSelectOutputFolder->setObjectName("btnSelectOutputFolder");
    btnSelectOutputFolder->hide();

    chkShutdown = new QCheckBox(this);
    chkShutdown->setObjectName("chkShutdown");
    chkShutdown->setGeometry(294, 226, 14, 17);
    Label1 = WhiteLabel(this, "Label1", "Shutdown computer when job is finished.", 313, 227);
    chkShowOutputDirectory = new QCheckBox(this);
    chkShowOutputDirectory->setObjectName("chkShowOutputDirectory");
    chkShowOutputDirectory->setGeometry(294, 246, 13, 17);
    chkShowOutputDirectory->setChecked(true);
    Label2 = WhiteLabel(this, "Label2", "Show output directory when done", 313, 247);

    // The segment bar: left strip, start marker, segment, end marker, right strip.
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(19, 237, 260, 19);
    Panel1->setAutoFillBackground(true);
    QPalette bar = Panel1->palette();
    bar.setColor(QPalette::Window, QColor(61, 65, 77));
    Panel1->setPalette(bar);
    // The marker glyphs first: the markers paint from them.
    imgL = new QLabel(this);
    imgL->setObjectName("imgL");
    imgL->setGeometry(0, 0, 17, 19);
    imgL->setPixmap(ArtworkPixmap("marker-left"));
    imgL->hide();
    imgR = new QLabel(this);
    imgR->setObjectName("imgR");
    imgR->setGeometry(0, 0, 17, 19);
    imgR->setPixmap(ArtworkPixmap("marker-right"));
    imgR->hide();
    const QPixmap outer = ArtworkPixmap("strip-outer");
    Panel2 = new TPictureStrip(Panel1, "Panel2", outer);
    Panel2->setGeometry(0, 0, 1, 19);
    Splitter1 = new TMarker(Panel1, "Splitter1", *imgL);
    Splitter1->setGeometry(1, 0, 19, 19);
    Panel4 = new TPictureStrip(Panel1, "Panel4", ArtworkPixmap("strip-inner"));
    Panel4->setGeometry(20, 0, 220, 19);
    Splitter2 = new TMarker(Panel1, "Splitter2", *imgR);
    Splitter2->setGeometry(240, 0, 19, 19);
    Panel3 = new TPictureStrip(Panel1, "Panel3", outer);
    Panel3->setGeometry(259, 0, 1, 19);
    // The strips' presses reach the window through its application-wide event filter.

    btnPlay = new TBitmapButton(this, "btnPlay", "play", {20, 261, 20, 20}, "Ctrl + P");
    btnPause = new TBitmapButton(this, "btnPause", "pause", {44, 261, 20, 20}, "Ctrl + U");
    btnStop = new TBitmapButton(this, "btnStop", "stop", {68, 261, 20, 20}, "Ctrl + T");
    imgPlay = new QLabel(this);
    imgPlay->setObjectName("imgPlay");
    imgPlay->setGeometry(202, 261, 80, 20);
    imgPlay->setPixmap(ArtworkPixmap("timedisplay"));
    pnlCurTime = new QLabel("00:00:00", this);
    pnlCurTime->setObjectName("pnlCurTime");
    pnlCurTime->setGeometry(206, 263, 72, 17);
    pnlCurTime->setAlignment(Qt::AlignCenter);
    pnlCurTime->setFont(ArialFont(14, false));
    pnlCurTime->setStyleSheet("color: white; background: black;");

    grid_ = std::make_unique<TSourceGrid>(this);
    grid_->View().setGeometry(kGridLeft, kGridTop, kGridWidth, kGridHeight);

    btnOpenFile = new TBitmapButton(this, "btnOpenFile", "openfile", {567, 287, 100, 25}, "Ctrl + O");
    btnRemoveFile = new TBitmapButton(this, "btnRemoveFile", "removefile", {567, 318, 100, 25}, "Ctrl + R");
    btnClearFile = new TBitmapButton(this, "btnClearFile", "clearfile", {567, 349, 100, 25}, "Ctrl + L");
    btnConvert = new TBitmapButton(this, "btnConvert", "convert", {567, 380, 100, 35}, "Ctrl + S");

    tmrClearMemory = new QTimer(this);
    tmrClearMemory->setObjectName("tmrClearMemory");
    tmrClearMemory->setInterval(1000);
    tmrPaintSP = new QTimer(this);
    tmrPaintSP->setObjectName("tmrPaintSP");
    tmrPaintSP->setInterval(10);
    dstrckbrMainform = new QTimer(this);
    dstrckbrMainform->setObjectName("dstrckbrMainform");
    dstrckbrMainform->setInterval(1000);

    outputFiletype_ = std::make_unique<QtSelector>(*cbbOutputFiletype);
    profile_ = std::make_unique<QtSelector>(*cbbProfile);
    shutdown_ = std::make_unique<QtCheckBox>(*chkShutdown);
    showOutputDirectory_ = std::make_unique<QtCheckBox>(*chkShowOutputDirectory);
    outputFolder_ = std::make_unique<QtLineEditText>(*edtOutputFolder);
    segmentBar_ = std::make_unique<QtSegmentBar>(*Panel1, *Panel2, *Splitter1, *Panel4, *Splitter2, *Panel3);
    markers_ = std::make_unique<TSegmentMarkers>(*grid_, *segmentBar_, preview_, pump_);
    previewView_ = std::make_unique<QtPreviewView>(*panLogo, *pnlCurTime, *DSVideoWindowEx1, *dstrckbrMainform);
}

template <class Handler>
void TFrmMainForm::Run(Handler&& handler) {
    Guarded(*program_.Env().Boxes, std::forward<Handler>(handler));
}

void TFrmMainForm::ConnectHandlers() {
    auto on = [this](QAbstractButton* button, void (TFrmMainForm::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { Run([&] { (this->*handler)(); }); });
    };
    on(btnWindowMinimize, &TFrmMainForm::actMinimizeExecute);
    on(btnWindowClose, &TFrmMainForm::actCloseWindowExecute);
    on(btnHomePage, &TFrmMainForm::ActSysHomePageExecute);
    on(btnEMail, &TFrmMainForm::ActSysEmailExecute);
    on(btnAbout, &TFrmMainForm::ActSysAboutExecute);
    on(btnOptions, &TFrmMainForm::btnOptionsClick);
    on(RzBmpButton1, &TFrmMainForm::btnSelectOutputFolderClick);
    on(btnSelectOutputFolder, &TFrmMainForm::btnSelectOutputFolderClick);
    // The user's picks only: a selection set by the program emits no activated().
    connect(cbbOutputFiletype, &QComboBox::activated, this, [this] { Run([&] { cbbOutputFiletypeChange(); }); });
    connect(cbbProfile, &QComboBox::activated, this, [this] { Run([&] { cbbProfileChange(); }); });
    on(btnRemoveFile, &TFrmMainForm::btnRemoveFileClick);
    on(btnClearFile, &TFrmMainForm::btnClearFileClick);
    on(btnOpenFile, &TFrmMainForm::btnOpenFileClick);
    on(btnConvert, &TFrmMainForm::btnConvertClick);
    connect(&grid_->View(), &QAbstractItemView::clicked, this,
            [this] { Run([&] { actDxTreeListOnClickExecute(); }); });
    connect(tmrClearMemory, &QTimer::timeout, this, [this] { Run([&] { tmrClearMemoryTimer(); }); });
    on(btnPlay, &TFrmMainForm::btnPlayClick);
    on(btnPause, &TFrmMainForm::btnPauseClick);
    on(btnStop, &TFrmMainForm::btnStopClick);
    connect(dstrckbrMainform, &QTimer::timeout, this, [this] { Run([&] { dstrckbrMainformTimer(); }); });
    connect(tmrPaintSP, &QTimer::timeout, this, [this] { Run([&] { tmrPaintSPTimer(); }); });
    // A drag runs the marker's handler for every step that changes a strip's width.
    Splitter1->Dragged = [this](int left) {
        Run([&] {
            if (segmentBar_->DragStartMarkerTo(left)) SetStartTimeAndPlay();
        });
    };
    Splitter2->Dragged = [this](int left) {
        Run([&] {
            if (segmentBar_->DragEndMarkerTo(left)) Splitter2Moved();
        });
    };
    grid_->StartTimeChanged = [this] { Run([&] { dxtrlSourceFileStartTimeChange(); }); };
    grid_->EditEnded = [this] { Run([&] { dxTreeSourceFileInfoEdited(); }); };
    grid_->DragEnded = [this](bool overGrid) { Run([&] { dxTreeSourceFileInfoEndDrag(overGrid); }); };
}

void TFrmMainForm::FirstShow() {
    if (!shaped_) {
        ApplyShape(*this, ArtworkImage("background"));
        shaped_ = true;
    }
    Run([&] { FormShow(); });
}

void TFrmMainForm::FormShow() {
    program_.CheckRequiredFiles();
    program_.ShowSplash(this);
    TCustomProc* proc = program_.CustomProc();
    if (proc == nullptr) return;  // start-up failed; the program ends after this show
    CreatePreview();
    proc->FillAllSelectors([this] { LoadUserSettings(); });
    setAcceptDrops(true);
    proc->ApplyQualityProfile();
}

void TFrmMainForm::FormResize() {
    setMinimumHeight(kMinimumHeight);
    setMinimumWidth(kMinimumWidth);
}

void TFrmMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Run([&] { FormResize(); });
    // Anchors: the list follows all four edges, the two selectors the right edge.
    const int dw = width() - kClientWidth, dh = height() - kClientHeight;
    grid_->View().setGeometry(kGridLeft, kGridTop, kGridWidth + dw, kGridHeight + dh);
    cbbOutputFiletype->resize(280 + dw, 21);
    cbbProfile->resize(200 + dw, 21);
    rzfrmshpfrmConverter->resize(kClientWidth + dw, kClientHeight + dh);
}

void TFrmMainForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    switch (MatchKey(key, modifiers, QApplication::mouseButtons())) {
        case KeyCommand::OpenFile: btnOpenFile->click(); break;
        case KeyCommand::RemoveFile: btnRemoveFile->click(); break;
        case KeyCommand::ClearFile: btnClearFile->click(); break;
        case KeyCommand::Options: btnOptions->click(); break;
        case KeyCommand::Play: btnPlay->click(); break;
        case KeyCommand::Pause: btnPause->click(); break;
        case KeyCommand::Stop: btnStop->click(); break;
        case KeyCommand::Convert: btnConvert->click(); break;
        case KeyCommand::Help: ActSysHelpExecute(); break;
        case KeyCommand::SelectOutputFolder: btnSelectOutputFolderClick(); break;
        case KeyCommand::None: break;
    }
}

bool TFrmMainForm::IsKeyPreviewTarget(QObject* receiver) const {
    if (!receiver->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(receiver);
    if (widget->window() != this) return false;
    // A key goes first to the focused control and then, unless taken, up to its parents: the
    // window looks at it once, on its way to the focused control.
    QWidget* focused = focusWidget();
    return focused != nullptr ? widget == focused : widget == this;
}

bool TFrmMainForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (IsKeyPreviewTarget(watched)) {
                const auto* key = static_cast<QKeyEvent*>(event);
                Run([&] { FormKeyDown(key->key(), key->modifiers()); });
            }
            // The application-wide filter sees the grid's keys too.
            if (watched == &grid_->View()) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                Run([&] { dxTreeSourceFileInfoKeyDown(key); });
            }
            return false;  // the focused control receives the key as well
        case QEvent::KeyRelease:
            if (watched == &grid_->View()) Run([&] { dxTreeSourceFileInfoKeyUp(); });
            return false;
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonPress:
            if (watched == Panel2 || watched == Panel3 || watched == Panel4) {
                StripMouseDown(watched, *static_cast<QMouseEvent*>(event));
                break;
            }
            if (event->type() == QEvent::MouseButtonPress && watched == rzfrmshpfrmConverter) {
                StartWindowDrag(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                return true;
            }
            break;
        case QEvent::MouseMove:
            if (watched == rzfrmshpfrmConverter || watched == lblTitle) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (manualDrag_ && mouse->buttons() != Qt::NoButton) {
                    move(mouse->globalPosition().toPoint() - dragOffset_);
                    return true;
                }
                if (watched == lblTitle && mouse->buttons() != Qt::NoButton) {
                    dragOffset_ = mouse->globalPosition().toPoint() - pos();
                    Run([&] { lblTitleMouseMove(); });
                    return true;
                }
            }
            break;
        case QEvent::MouseButtonRelease:
            manualDrag_ = false;
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

namespace {

// The modifier state reported with a press: the pressed button, the buttons held, the keys and
// the double-click flag.
MouseState MouseStateOf(const QMouseEvent& event) {
    MouseState state;
    const Qt::MouseButtons held = event.buttons() | event.button();
    state.leftButton = event.button() == Qt::LeftButton;
    state.rightButton = (held & Qt::RightButton) != 0;
    state.middleButton = (held & Qt::MiddleButton) != 0;
    state.ctrl = (event.modifiers() & Qt::ControlModifier) != 0;
    state.shift = (event.modifiers() & Qt::ShiftModifier) != 0;
    state.alt = (event.modifiers() & Qt::AltModifier) != 0;
    state.doubleClick = event.type() == QEvent::MouseButtonDblClick;
    return state;
}

}  // namespace

void TFrmMainForm::StripMouseDown(QObject* strip, const QMouseEvent& event) {
    const MouseState mouse = MouseStateOf(event);
    if (strip == Panel2) Run([&] { Panel2MouseDown(mouse); });
    if (strip == Panel3) Run([&] { Panel3MouseDown(mouse); });
    if (strip == Panel4) Run([&] { Panel4MouseDown(mouse); });
}

void TFrmMainForm::StartWindowDrag(const QPoint& globalPos) {
    dragOffset_ = globalPos - pos();
    // The window system's own move loop; where it has none, the window follows the mouse.
    manualDrag_ = windowHandle() == nullptr || !windowHandle()->startSystemMove();
}

void TFrmMainForm::lblTitleMouseMove() {
    // Moved only while a button is held: the label does not pick the window up on a mere
    // pass of the mouse.
    manualDrag_ = windowHandle() == nullptr || !windowHandle()->startSystemMove();
}

void TFrmMainForm::tmrClearMemoryTimer() {
    ++clearMemoryCount_;
    app::ClearMemory();
}

void TFrmMainForm::cbbOutputFiletypeChange() {
    if (TCustomProc* proc = program_.CustomProc()) proc->ApplyQualityProfile();
}

void TFrmMainForm::cbbProfileChange() {
    if (TCustomProc* proc = program_.CustomProc()) proc->ApplyQualityProfile();
}

void TFrmMainForm::btnOptionsClick() {
    TfrmOption& options = program_.frmOption();
    options.show();  // not modal; the first showing from hidden runs its FormShow
    options.raise();
    options.activateWindow();
}

void TFrmMainForm::btnSelectOutputFolderClick() {
    const TProgramEnvironment& env = program_.Env();
    outputFolder_->SetText(
        SelectOutputFolder(outputFolder_->Text(), *env.FolderBrowser, *env.Fs, *env.Boxes, '/'));
}

void TFrmMainForm::dxTreeSourceFileInfoEndDrag(bool overGrid) {
    // Rows dragged out of the grid go as by the Remove button.
    if (!overGrid) btnRemoveFile->click();
}

void TFrmMainForm::btnRemoveFileClick() {
    RemoveSelectedFiles(*grid_, pump_);
    if (grid_->RowCount() == 0) markers_->ResetMarkers();
    preview_.StopVideo();
    markers_->ShowSelectedFile();
}

void TFrmMainForm::btnClearFileClick() {
    ClearFileList(*grid_);  // an error leaves the rows it could not delete; nothing is shown
    preview_.StopVideo();
    markers_->ResetMarkers();
}

void TFrmMainForm::actDxTreeListOnClickExecute() { markers_->ShowSelectedFile(); }

void TFrmMainForm::dxTreeSourceFileInfoKeyDown(int key) {
    markers_->ShowSelectedFile();
    if (key != Qt::Key_Delete) return;
    RemoveSelectedFiles(*grid_, pump_);
    preview_.StopVideo();
    if (grid_->RowCount() == 0) markers_->ResetMarkers();
}

void TFrmMainForm::dxTreeSourceFileInfoKeyUp() { markers_->ShowSelectedFile(); }

void TFrmMainForm::btnConvertClick() {
    // Nothing while a batch runs, or while the row of a stopped batch is still ending.
    if (TBatchConversion* batch = program_.Batch()) batch->btnConvertClick();
}

void TFrmMainForm::CreatePreview() {
    if (filterGraph_) return;
    TAppFunc* appFunc = program_.AppFunc();
    if (appFunc == nullptr) return;  // start-up failed; the preview stays Idle
    filterGraph_ = CreatePreviewGraph(program_.EventLoop(), *DSVideoWindowEx1,
                                      program_.Env().PreviewAudioOutput, previewFailure_);
    player_ = std::make_unique<TPreviewPlayer>(*filterGraph_, *previewView_, *appFunc, pump_);
    player_->SetMarkers(markers_.get());
    preview_.SetPlayer(player_.get());
    if (!previewFailure_.empty()) {
        // The program goes on without a preview: the logo stays and says why when pointed at.
        qWarning("Kestrava: the preview is not available: %s", previewFailure_.c_str());
        imgLOGO->setToolTip(ToQt("The preview is not available: " + previewFailure_));
    }
}

void TFrmMainForm::btnPlayClick() {
    if (player_) player_->btnPlayClick(*grid_);
}

void TFrmMainForm::btnPauseClick() {
    if (player_) player_->btnPauseClick();
}

void TFrmMainForm::btnStopClick() {
    if (player_) player_->btnStopClick();
}

void TFrmMainForm::dstrckbrMainformTimer() {
    if (player_) player_->dstrckbrMainformTimer();
}

void TFrmMainForm::SetStartTimeAndPlay() { markers_->SetStartTimeAndPlay(); }

void TFrmMainForm::Splitter2Moved() { markers_->Splitter2Moved(); }

void TFrmMainForm::Panel2MouseDown(const MouseState& mouse) { markers_->Panel2MouseDown(mouse); }

void TFrmMainForm::Panel3MouseDown(const MouseState& mouse) { markers_->Panel3MouseDown(mouse); }

// A press on the segment itself moves nothing.
void TFrmMainForm::Panel4MouseDown(const MouseState&) {}

void TFrmMainForm::tmrPaintSPTimer() {
    // Both markers copy their glyphs from imgL and imgR when they paint.
    Splitter1->update();
    Splitter2->update();
}

void TFrmMainForm::dxTreeSourceFileInfoEdited() { markers_->ValidateEditedCells(); }

void TFrmMainForm::dxtrlSourceFileStartTimeChange() {
    // The selected rows give up the focus, which ends the edit; CommitStartCell then checks the
    // cells itself, so the ending is not reported a second time.
    grid_->WithoutEditEnded([&] { markers_->CommitStartCell(); });
}

void TFrmMainForm::btnOpenFileClick() {
    const TProgramEnvironment& env = program_.Env();
    const std::string initDir = TUserSettings(env.AppPath, *env.Fs).ReadInitDir(env.HomeFolder);
    QtOpenFileDialog systemDialog;
    IOpenFileDialog& dialog = env.OpenDialog != nullptr ? *env.OpenDialog : systemDialog;
    const std::vector<std::string> chosen = dialog.Execute(this, kSourceFileFilter, initDir);
    if (!chosen.empty()) dialogFileName_ = chosen.front();

    TFrmInitFileForm& busy = program_.FrmInitFileForm();
    busy.SetFileList(RemoveDuplicateNames(chosen));
    busy.AddFiles = [this](const std::vector<std::string>& names) { Run([&] { AddFiles(names); }); };
    busy.SaveInitDir = [this] { Run([&] { SaveInitDir(); }); };
    busy.ShowModal();
    SaveInitDir();
}

void TFrmMainForm::SaveInitDir() {
    const TProgramEnvironment& env = program_.Env();
    TUserSettings(env.AppPath, *env.Fs).SaveInitDir(dialogFileName_);
}

void TFrmMainForm::AddFiles(const std::vector<std::string>& names) {
    const TProgramEnvironment& env = program_.Env();
    const QString point = QLocale().decimalPoint();
    const char separator = point.size() == 1 && point[0].unicode() < 128 ? point[0].toLatin1() : '.';
    AddSourceFiles(*grid_, names, probe_, *env.Fs, *env.Boxes, [this] { markers_->ShowSelectedFile(); },
                   separator);
}

void TFrmMainForm::FormDropFiles(const std::vector<std::string>& names) { AddFiles(names); }

void TFrmMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFrmMainForm::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFrmMainForm::dropEvent(QDropEvent* event) {
    std::vector<std::string> names;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) names.push_back(ToStd(url.toLocalFile()));
    }
    event->acceptProposedAction();
    Run([&] { FormDropFiles(names); });
}

void TFrmMainForm::ActSysHomePageExecute() { program_.OpenHomePage(); }
void TFrmMainForm::ActSysEmailExecute() { program_.SendEMail(); }
void TFrmMainForm::ActSysAboutExecute() { program_.ShowAbout(); }
void TFrmMainForm::ActSysHelpExecute() { program_.OpenHelp(); }

void TFrmMainForm::actMinimizeExecute() { showMinimized(); }

void TFrmMainForm::actCloseWindowExecute() { close(); }

void TFrmMainForm::LoadUserSettings() {
    const TProgramEnvironment& env = program_.Env();
    TUserSettings(env.AppPath, *env.Fs).LoadUserSettings(*showOutputDirectory_, *shutdown_, *outputFolder_);
}

void TFrmMainForm::SaveUserSettings() {
    const TProgramEnvironment& env = program_.Env();
    TUserSettings(env.AppPath, *env.Fs).SaveUserSettings(*showOutputDirectory_, *shutdown_, *outputFolder_);
}

void TFrmMainForm::closeEvent(QCloseEvent* event) {
    // FormClose: the preview graph deactivated and cleared, settings saved, then the process
    // ends at once. When the save fails the error is reported and the window stays open (its
    // preview stopped); every further close tries again.
    Run([&] {
        // Stopping deactivates and clears the graph and brings the player back to Idle with it.
        if (player_) player_->StopVideo();
        if (filterGraph_ && filterGraph_->Active()) {
            filterGraph_->SetActive(false);
            filterGraph_->ClearFilters();
        }
    });
    const bool saved = Guarded(*program_.Env().Boxes, [&] { SaveUserSettings(); });
    if (!saved) {
        event->ignore();
        return;
    }
    event->accept();
    program_.Env().Exit->EndProcess(0);
}
