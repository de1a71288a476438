#pragma once

#include <cstdint>
#include <string>

#include "media/SegmentMarkers.h"
#include "media/SourceList.h"
#include "storage/AppFunc.h"
#include "storage/MessagePump.h"

// The media graph the preview drives: one file at a time, rendered into the video window.
// src/platform implements it on libmpv; tests use a recording fake. Every operation except
// Active() may throw (std::exception) when the graph fails.
class IMediaGraph {
public:
    virtual ~IMediaGraph() = default;

    virtual bool Active() const = 0;
    virtual void SetActive(bool active) = 0;
    // Removes the loaded file, if any.
    virtual void ClearFilters() = 0;
    // Loads the file for playback without starting it; 0 on success, anything else on failure.
    virtual int RenderFile(const std::string& path) = 0;
    virtual void Run() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // Position and duration of the loaded file, in milliseconds.
    virtual std::int64_t CurrentPositionMs() = 0;
    virtual std::int64_t DurationMs() = 0;
    // An exact seek to an absolute position in milliseconds.
    virtual void SetCurrentPositionMs(std::int64_t ms) = 0;
};

// What the main window shows of the preview: the logo over the video window, the clock
// (pnlCurTime) and the position track bar.
class IPreviewView {
public:
    virtual ~IPreviewView() = default;
    virtual void ShowLogo(bool shown) = 0;
    virtual void SetClockText(const std::string& text) = 0;
    virtual void ResetTrackBar() = 0;
};

// The preview player of the main window: PlayVideo, PauseVideo, OpenAndPlayVideo, StopVideo and
// SetPlayPosition over one media graph, the three buttons and the once-a-second clock tick.
//
// It keeps the preview's state itself: PreviewFile (the file loaded in the graph, empty when
// none) and IsPlaying (started or resumed, not paused or stopped) belong to this object, not to
// TCommonLib or TCustomProc, so that there is one store of each.
//
// A file that fails to open leaves the player Idle: graph inactive and cleared, PreviewFile
// empty, IsPlaying false, the clock "00:00:00" and the logo shown; then "Playing Video error."
// is logged. A later Play opens the selected row again instead of resuming an empty graph, and
// selecting that row places the markers for it.
class TPreviewPlayer : public IPreview {
public:
    static constexpr const char* kPlayingVideoError = "Playing Video error.";

    TPreviewPlayer(IMediaGraph& graph, IPreviewView& view, const TAppFunc& appFunc,
                   IMessagePump& pump);

    // The markers whose PlayStartSeconds, MarkersPlaced and StopAtTime steer the preview. Until
    // they are attached (or with nullptr) the values of program start apply: no start offset
    // and no rewind point.
    void SetMarkers(const TSegmentMarkers* markers) { markers_ = markers; }

    // IPreview
    std::string PreviewFile() const override { return previewFile_; }
    // Stops and unloads, back to Idle; nothing at all while the graph is inactive. A graph
    // error on the way shows the logo and changes nothing else.
    void StopVideo() override;
    bool IsActive() const override { return graph_.Active(); }
    // Exact absolute seek; graph errors reach the caller.
    void SetPlayPosition(std::int64_t ms) override;

    bool IsPlaying() const { return isPlaying_; }

    // Resume or pause the loaded file; nothing while the graph is inactive. A graph error shows
    // the logo.
    void PlayVideo();
    void PauseVideo();
    // Loads `path` into the preview and plays it, from PlayStartSeconds once markers were
    // placed. Throws only when "Playing Video error." cannot be written to the log, and then
    // with the player already Idle.
    void OpenAndPlayVideo(const std::string& path);

    // Play resumes a loaded file, or opens every selected row in turn (the last stays playing).
    void btnPlayClick(const ISourceList& list);
    void btnPauseClick();
    void btnStopClick();
    // The clock tick, once a second: the clock from the position, the rewind and pause at
    // StopAtTime, the stop at the end of the file.
    void dstrckbrMainformTimer();

private:
    // Each runs or pauses the graph and reports whether the graph accepted it.
    bool Resume();
    bool Hold();
    void EnterIdle();
    void FailedOpen();
    void Rewind();

    IMediaGraph& graph_;
    IPreviewView& view_;
    const TAppFunc& appFunc_;
    IMessagePump& pump_;
    const TSegmentMarkers* markers_ = nullptr;

    std::string previewFile_;
    bool isPlaying_ = false;
};
