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

private:
    void Layout();

    QWidget& bar_;
    QWidget& leftStrip_;
    QWidget& startMarker_;
    QWidget& segment_;
    QWidget& endMarker_;
    QWidget& rightStrip_;
};

// The preview as long as no player is wired to the window: nothing loaded, nothing to stop.
class TNoPreview : public IPreview {
public:
    std::string PreviewFile() const override { return {}; }
    void StopVideo() override {}
    bool IsActive() const override { return false; }
    void SetPlayPosition(std::int64_t) override {}
};
