#pragma once

#include <cstdint>
#include <string>

#include "media/SegmentMarkers.h"
#include "storage/MessagePump.h"

class QWidget;

// "Let pending window messages run once": one pass of the Qt event loop.
class QtMessagePump : public IMessagePump {
public:
    void ProcessMessages() override;
};

// The segment bar `Panel1` as the markers see it: the left strip `Panel2`, the start marker
// `Splitter1`, the segment `Panel4`, the end marker `Splitter2` and the right strip `Panel3`,
// laid out from the two strip widths.
class QtSegmentBar : public ISegmentBar {
public:
    QtSegmentBar(QWidget& bar, QWidget& leftStrip, QWidget& startMarker, QWidget& segment,
                 QWidget& endMarker, QWidget& rightStrip);

    int LeftStripWidth() const override;
    void SetLeftStripWidth(int width) override;
    int RightStripWidth() const override;
    void SetRightStripWidth(int width) override;
    void SetBarWidth(int width) override;
    void RepaintEndMarker() override;

    // A marker dragged so that its left edge would be at `left`: its outer strip follows within
    // the limits of a drag (neither that strip nor the segment narrower than 1 pixel; a segment
    // already narrower lets the marker move away only). True when the strip's width changed.
    bool DragStartMarkerTo(int left);
    bool DragEndMarkerTo(int left);

private:
    void Layout();

    QWidget& bar_;
    QWidget& leftStrip_;
    QWidget& startMarker_;
    QWidget& segment_;
    QWidget& endMarker_;
    QWidget& rightStrip_;
};

// The preview as the markers see it: the window's player once it is made (when the program's
// objects exist), and before that a preview with nothing loaded and nothing to stop.
class TWindowPreview : public IPreview {
public:
    void SetPlayer(IPreview* player) { player_ = player; }

    std::string PreviewFile() const override { return player_ ? player_->PreviewFile() : std::string(); }
    void StopVideo() override {
        if (player_) player_->StopVideo();
    }
    bool IsActive() const override { return player_ && player_->IsActive(); }
    void SetPlayPosition(std::int64_t ms) override {
        if (player_) player_->SetPlayPosition(ms);
    }

private:
    IPreview* player_ = nullptr;
};
