#pragma once

#include <string>

#include "media/PreviewPlayer.h"

class QLabel;
class QTimer;
class QWidget;
class TVideoWindow;

// What the preview player shows in the main window: the logo panel `panLogo` over the video
// window, the clock `pnlCurTime`, and the timer that stands in for the hidden position track
// bar `dstrckbrMainform`.
class QtPreviewView : public IPreviewView {
public:
    QtPreviewView(QWidget& logo, QLabel& clock, TVideoWindow& video, QTimer& trackBar);

    // A shown logo covers the video window; the picture of a file no longer shown is wiped.
    void ShowLogo(bool shown) override;
    void SetClockText(const std::string& text) override;
    // The track bar has no picture of its own here: putting it back to 0 starts its one-second
    // count afresh, so that the next file's ticks count from its own start.
    void ResetTrackBar() override;

private:
    QWidget& logo_;
    QLabel& clock_;
    TVideoWindow& video_;
    QTimer& trackBar_;
};
