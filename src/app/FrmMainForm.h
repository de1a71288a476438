#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>

#include "app/QtControls.h"
#include "app/QtSelector.h"
#include "app/SegmentBar.h"
#include "app/SourceGrid.h"
#include "app/SourceListAdapters.h"
#include "app/VideoWindow.h"
#include "media/SegmentMarkers.h"
#include "platform/AvMediaProbe.h"
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QTimer;
class IMediaGraph;
class QtPreviewView;
class TBitmapButton;
class TPreviewPlayer;
class TProgram;

// The main window: borderless, cut to the shape of its background picture, with its own title,
// minimize and close buttons, the output selectors, the source list, the preview area and the
// segment bar. Its handlers carry the names of the window's design; each runs inside the
// handler guard.
class TFrmMainForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 690;
    static constexpr int kClientHeight = 454;
    static constexpr int kMinimumWidth = 686;
    static constexpr int kMinimumHeight = 519;

    explicit TFrmMainForm(TProgram& program);
    ~TFrmMainForm() override;

    // The first show, before the window becomes visible: the shape of the background picture,
    // then FormShow.
    void FirstShow();

    // Handlers.
    void FormShow();
    void FormResize();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void tmrClearMemoryTimer();
    void cbbOutputFiletypeChange();
    void cbbProfileChange();
    void btnOptionsClick();
    void btnSelectOutputFolderClick();
    void ActSysHomePageExecute();
    void ActSysEmailExecute();
    void ActSysAboutExecute();
    void ActSysHelpExecute();
    void actMinimizeExecute();
    void actCloseWindowExecute();
    void lblTitleMouseMove();
    void btnRemoveFileClick();
    void btnClearFileClick();
    void actDxTreeListOnClickExecute();
    void dxTreeSourceFileInfoKeyDown(int key);
    void dxTreeSourceFileInfoKeyUp();
    void btnOpenFileClick();
    // The preview (made by FormShow): the three buttons and the clock tick.
    void btnPlayClick();
    void btnPauseClick();
    void btnStopClick();
    void dstrckbrMainformTimer();
    // The segment markers: a drag of either marker, the strips' mouse presses, the 10 ms paint.
    void SetStartTimeAndPlay();
    void Splitter2Moved();
    void Panel2MouseDown(const MouseState& mouse);
    void Panel3MouseDown(const MouseState& mouse);
    void Panel4MouseDown(const MouseState& mouse);
    void tmrPaintSPTimer();
    // The grid's time cells: an edit that ended, and a change in the start editor.
    void dxTreeSourceFileInfoEdited();
    void dxtrlSourceFileStartTimeChange();
    // The preview's media graph and player, once libmpv is up; without it the preview stays
    // Idle with the logo shown, and PreviewFailure says why.
    void CreatePreview();
    void btnConvertClick();
    // A drag of rows that began in the grid ended, over the grid or not.
    void dxTreeSourceFileInfoEndDrag(bool overGrid);
    // AddSourceFiles on the list with the window's media probe, then ShowSelectedFile.
    void AddFiles(const std::vector<std::string>& names);
    // The shell's drop: every local file's name, in order.
    void FormDropFiles(const std::vector<std::string>& names);
    // InitDir from the open dialog's current file name.
    void SaveInitDir();

    // The user settings of this window (Config/UserSettings.ini).
    void LoadUserSettings();
    void SaveUserSettings();

    // Controls, by their names in the window's design.
    QLabel* rzfrmshpfrmConverter;
    QLabel* lblTitle;
    TBitmapButton* btnWindowMinimize;
    TBitmapButton* btnWindowClose;
    TBitmapButton* btnHomePage;
    TBitmapButton* btnEMail;
    TBitmapButton* btnAbout;
    TVideoWindow* DSVideoWindowEx1;
    QWidget* panLogo;
    QLabel* imgLOGO;
    QLabel* Image1;
    QLabel* lblOutputFileTypeName;
    QComboBox* cbbOutputFiletype;
    QLabel* lblProfileSettings;
    QComboBox* cbbProfile;
    TBitmapButton* btnOptions;
    QLabel* lblOutputFolderInfo;
    QLineEdit* edtOutputFolder;
    TBitmapButton* RzBmpButton1;
    QPushButton* btnSelectOutputFolder;  // hidden, the same handler as RzBmpButton1
    QCheckBox* chkShutdown;
    QLabel* Label1;
    QCheckBox* chkShowOutputDirectory;
    QLabel* Label2;
    QWidget* Panel1;
    QWidget* Panel2;
    TMarker* Splitter1;
    QWidget* Panel4;
    TMarker* Splitter2;
    QWidget* Panel3;
    QLabel* imgL;
    QLabel* imgR;
    TBitmapButton* btnPlay;
    TBitmapButton* btnPause;
    TBitmapButton* btnStop;
    QLabel* imgPlay;
    QLabel* pnlCurTime;
    TBitmapButton* btnOpenFile;
    TBitmapButton* btnRemoveFile;
    TBitmapButton* btnClearFile;
    TBitmapButton* btnConvert;
    QTimer* tmrClearMemory;
    QTimer* tmrPaintSP;        // 10 ms: paints the markers
    QTimer* dstrckbrMainform;  // the hidden track bar's one-second tick: the preview clock

    // The core's view of the controls.
    TSourceGrid& dxTreeSourceFileInfo() { return *grid_; }
    QtSelector& OutputFiletypeSelector() { return *outputFiletype_; }
    QtSelector& ProfileSelector() { return *profile_; }
    QtCheckBox& ShutdownBox() { return *shutdown_; }
    QtCheckBox& ShowOutputDirectoryBox() { return *showOutputDirectory_; }
    QtLineEditText& OutputFolderText() { return *outputFolder_; }
    TSegmentMarkers& SegmentMarkers() { return *markers_; }
    // Null until FormShow made the preview.
    TPreviewPlayer* PreviewPlayer() { return player_.get(); }
    IMediaGraph* FilterGraph() { return filterGraph_.get(); }
    // Why the preview is not available; empty while it is (or before FormShow).
    const std::string& PreviewFailure() const { return previewFailure_; }

    // How often the memory trim has run.
    int ClearMemoryCount() const { return clearMemoryCount_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    template <class Handler>
    void Run(Handler&& handler);
    void BuildControls();
    void ConnectHandlers();
    void StartWindowDrag(const QPoint& globalPos);
    void StripMouseDown(QObject* strip, const QMouseEvent& event);
    bool IsKeyPreviewTarget(QObject* receiver) const;

    TProgram& program_;
    std::unique_ptr<TSourceGrid> grid_;
    std::unique_ptr<QtSelector> outputFiletype_;
    std::unique_ptr<QtSelector> profile_;
    std::unique_ptr<QtCheckBox> shutdown_;
    std::unique_ptr<QtCheckBox> showOutputDirectory_;
    std::unique_ptr<QtLineEditText> outputFolder_;
    QtMessagePump pump_;
    std::unique_ptr<QtSegmentBar> segmentBar_;
    // The player as the markers and the list commands reach it; Idle until FormShow made it.
    TWindowPreview preview_;
    std::unique_ptr<IMediaGraph> filterGraph_;
    std::unique_ptr<QtPreviewView> previewView_;
    std::unique_ptr<TPreviewPlayer> player_;
    std::string previewFailure_;
    std::unique_ptr<TSegmentMarkers> markers_;
    AvMediaProbe probe_;
    // The open dialog's current file name: the first name of its last accepted choice.
    std::string dialogFileName_;
    bool shaped_ = false;
    bool manualDrag_ = false;
    QPoint dragOffset_;
    int clearMemoryCount_ = 0;
};
