#pragma once

#include <cstdint>
#include <string>

#include "media/SourceList.h"
#include "storage/MessagePump.h"

// The marker bar under the video window: the left strip (Panel2) before the start marker and
// the right strip (Panel3) after the end marker. The window implements it on its widgets.
class ISegmentBar {
public:
    virtual ~ISegmentBar() = default;
    virtual int LeftStripWidth() const = 0;
    virtual void SetLeftStripWidth(int width) = 0;
    virtual int RightStripWidth() const = 0;
    virtual void SetRightStripWidth(int width) = 0;
    virtual void SetBarWidth(int width) = 0;
    virtual void RepaintEndMarker() = 0;
};

// What the markers need of the preview player.
class IPreview {
public:
    virtual ~IPreview() = default;
    // Full path of the loaded file; empty when none.
    virtual std::string PreviewFile() const = 0;
    // Stops and unloads; nothing when nothing is loaded.
    virtual void StopVideo() = 0;
    // True while a file is loaded (the player is active).
    virtual bool IsActive() const = 0;
    // Seeks to an absolute position in milliseconds. May throw.
    virtual void SetPlayPosition(std::int64_t ms) = 0;
};

// The modifier and button state reported with a mouse press. `leftButton` set means the press
// is one of the left button.
struct MouseState {
    bool leftButton = false;
    bool rightButton = false;
    bool middleButton = false;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool doubleClick = false;
};

// End minus start (cells 5 and 4) of the last row whose path equals `path` ignoring the case of
// A-Z; 0 when no row matches; may be negative. A cell that does not split into three pieces
// keeps the value read before; a piece that is no integer throws ConvertError.
std::int64_t GetCutLength(const ISourceList& grid, const std::string& path);

// The two segment markers of the main window and the values they keep for the window.
class TSegmentMarkers {
public:
    static constexpr int kBarWidth = 260;
    static constexpr int kMarkerWidth = 19;  // start and end marker alike
    static constexpr int kPercent = 100;
    static constexpr int kPercentFactor = 121;
    static constexpr int kPercentOffset = 22;
    static constexpr int kMinMarkerDistance = 20;
    static constexpr int kLeftTolerance = 1;
    static constexpr int kRightTolerance = 2;
    static constexpr int kFineStep = 1;
    static constexpr int kPlainStep = 5;
    static constexpr int kCoarseStep = 10;
    static constexpr int kFreeRoom = 45;
    static constexpr int kResetStripWidth = 2;

    TSegmentMarkers(ISourceList& grid, ISegmentBar& bar, IPreview& preview, IMessagePump& pump);

    // Duration of the row the markers were last placed for.
    std::int64_t DurationSeconds = 0;
    // Start last set by the start marker; where a newly opened preview starts.
    std::int64_t PlayStartSeconds = 0;
    // Time code last set by the end marker; the preview rewinds and pauses there.
    std::string StopAtTime;
    // False while markers are being placed, true afterwards; false until the first placement.
    bool MarkersPlaced = false;

    // Places the markers for each selected row not loaded in the preview, stopping the preview.
    void ShowSelectedFile();
    // The start marker moved: writes the start (and cut) of the selected rows, seeks the preview.
    void SetStartTimeAndPlay();
    // The end marker moved: writes the end (and cut) of the selected rows and StopAtTime.
    void Splitter2Moved();
    // A press on the left or right strip nudges the marker beside it toward the click.
    void Panel2MouseDown(const MouseState& mouse);
    void Panel3MouseDown(const MouseState& mouse);
    // The list became empty: both strips 2 pixels.
    void ResetMarkers();
    // An edit of a cell ended: checks and corrects start, end and cut of each selected row.
    void ValidateEditedCells();
    // The start editor changed: the selected rows give up the focus, then the cells are checked.
    void CommitStartCell();

    // Marker left edges, from the strip widths.
    int StartMarkerLeft() const;
    int EndMarkerLeft() const;

private:
    static int NudgeStep(const MouseState& mouse);

    ISourceList& grid_;
    ISegmentBar& bar_;
    IPreview& preview_;
    IMessagePump& pump_;
};
