#include "media/PreviewPlayer.h"

#include <exception>

#include "media/TimeCode.h"

TPreviewPlayer::TPreviewPlayer(IMediaGraph& graph, IPreviewView& view, const TAppFunc& appFunc,
                               IMessagePump& pump)
    : graph_(graph), view_(view), appFunc_(appFunc), pump_(pump) {}

bool TPreviewPlayer::Resume() {
    try {
        graph_.Run();
        isPlaying_ = true;
        view_.ShowLogo(false);
        return true;
    } catch (const std::exception&) {
        view_.ShowLogo(true);
        return false;
    }
}

bool TPreviewPlayer::Hold() {
    try {
        graph_.Pause();
        isPlaying_ = false;
        view_.ShowLogo(false);
        return true;
    } catch (const std::exception&) {
        view_.ShowLogo(true);
        return false;
    }
}

void TPreviewPlayer::PlayVideo() {
    if (!graph_.Active()) return;
    Resume();
}

void TPreviewPlayer::PauseVideo() {
    if (!graph_.Active()) return;
    Hold();
}

void TPreviewPlayer::SetPlayPosition(std::int64_t ms) { graph_.SetCurrentPositionMs(ms); }

void TPreviewPlayer::EnterIdle() {
    previewFile_.clear();
    view_.SetClockText(ClockText(0));
    isPlaying_ = false;
    view_.ShowLogo(true);
    view_.ResetTrackBar();
}

void TPreviewPlayer::StopVideo() {
    if (!graph_.Active()) return;
    try {
        graph_.Stop();
        graph_.SetActive(false);
        graph_.ClearFilters();
    } catch (const std::exception&) {
        view_.ShowLogo(true);
        return;
    }
    EnterIdle();
}

// Whatever was loaded before is gone already, so the preview goes back to Idle rather than
// keeping a path in an empty graph. The state is complete before the log is written: a log
// that cannot be written reaches the handler's error report without leaving anything half-done.
void TPreviewPlayer::FailedOpen() {
    try {
        graph_.SetActive(false);
        graph_.ClearFilters();
    } catch (const std::exception&) {
        // The open failed already; an active graph left behind is stopped by the next Stop.
    }
    EnterIdle();
    appFunc_.WriteLog(kPlayingVideoError);
}

void TPreviewPlayer::OpenAndPlayVideo(const std::string& path) {
    try {
        graph_.SetActive(false);
        graph_.ClearFilters();
        graph_.SetActive(true);
    } catch (const std::exception&) {
        return;
    }

    int result = -1;
    try {
        result = graph_.RenderFile(path);
        previewFile_ = path;
    } catch (const std::exception&) {
        result = -1;
        previewFile_.clear();
    }
    if (result != 0) {
        FailedOpen();
        return;
    }

    try {
        Hold();
        // A graph that refuses to run keeps the logo over the video window and IsPlaying false,
        // so that Play can try again.
        if (!Resume()) return;
        // The graph has the file loaded when RenderFile returns, so no wait is needed before
        // letting the pending window messages run.
        pump_.ProcessMessages();
        // Those messages may have stopped the preview or opened another file; then that state
        // stands.
        if (!graph_.Active() || previewFile_ != path) return;
        if (markers_ != nullptr && markers_->MarkersPlaced) {
            SetPlayPosition(markers_->PlayStartSeconds * 1000);
        }
        isPlaying_ = true;
        view_.ShowLogo(false);
    } catch (const std::exception&) {
        view_.ShowLogo(true);
    }
}

void TPreviewPlayer::btnPlayClick(const ISourceList& list) {
    if (!previewFile_.empty()) {
        if (!isPlaying_) PlayVideo();
        return;
    }
    for (int row = 0; row < list.RowCount(); ++row) {
        if (list.IsSelected(row)) OpenAndPlayVideo(list.Cell(row, colFileName));
    }
}

void TPreviewPlayer::btnPauseClick() {
    if (!previewFile_.empty() && isPlaying_) PauseVideo();
}

void TPreviewPlayer::btnStopClick() { StopVideo(); }

// The rewinds of the tick ignore a failing seek: the pause or stop that follows still happens.
void TPreviewPlayer::Rewind() {
    try {
        SetPlayPosition(0);
    } catch (const std::exception&) {
    }
}

void TPreviewPlayer::dstrckbrMainformTimer() {
    // Ticks only while the graph can report a position.
    if (!graph_.Active()) return;
    std::int64_t position = 0;
    try {
        position = graph_.CurrentPositionMs();
    } catch (const std::exception&) {
        return;
    }
    if (position < 0) position = 0;

    const std::string clock = ClockText(position / 1000);
    view_.SetClockText(clock);

    if (markers_ != nullptr && clock == markers_->StopAtTime) {
        Rewind();
        PauseVideo();
    }

    std::int64_t duration = 0;
    try {
        duration = graph_.DurationMs();
    } catch (const std::exception&) {
        return;  // no known end yet
    }
    if (duration > 0 && position >= duration) {
        Rewind();
        StopVideo();
    }
}
