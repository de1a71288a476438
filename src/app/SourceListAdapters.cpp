#include "app/SourceListAdapters.h"

#include <QCoreApplication>
#include <QWidget>
#include <algorithm>

void QtMessagePump::ProcessMessages() { QCoreApplication::processEvents(); }

QtSegmentBar::QtSegmentBar(QWidget& bar, QWidget& leftStrip, QWidget& startMarker,
                           QWidget& segment, QWidget& endMarker, QWidget& rightStrip)
    : bar_(bar),
      leftStrip_(leftStrip),
      startMarker_(startMarker),
      segment_(segment),
      endMarker_(endMarker),
      rightStrip_(rightStrip) {}

int QtSegmentBar::LeftStripWidth() const { return leftStrip_.width(); }

void QtSegmentBar::SetLeftStripWidth(int width) {
    leftStrip_.resize(std::max(0, width), leftStrip_.height());
    Layout();
}

int QtSegmentBar::RightStripWidth() const { return rightStrip_.width(); }

void QtSegmentBar::SetRightStripWidth(int width) {
    rightStrip_.resize(std::max(0, width), rightStrip_.height());
    Layout();
}

void QtSegmentBar::SetBarWidth(int width) {
    bar_.resize(width, bar_.height());
    Layout();
}

void QtSegmentBar::RepaintEndMarker() { endMarker_.repaint(); }

namespace {

// The width a dragged strip takes: `wanted` kept at 1 pixel or more (a strip already narrower
// does not widen by itself) and at most `limit`, unless it is wider than that already, when it
// may only narrow.
int DraggedWidth(int current, int wanted, int limit) {
    const int low = std::min(1, current);
    const int high = std::max(limit, current);
    return std::clamp(wanted, low, std::max(low, high));
}

}  // namespace

bool QtSegmentBar::DragStartMarkerTo(int left) {
    const int current = leftStrip_.width();
    const int limit = bar_.width() - startMarker_.width() - endMarker_.width() - rightStrip_.width() - 1;
    const int width = DraggedWidth(current, left, limit);
    if (width == current) return false;
    SetLeftStripWidth(width);
    return true;
}

bool QtSegmentBar::DragEndMarkerTo(int left) {
    const int current = rightStrip_.width();
    const int wanted = bar_.width() - endMarker_.width() - left;
    const int limit = bar_.width() - startMarker_.width() - endMarker_.width() - leftStrip_.width() - 1;
    const int width = DraggedWidth(current, wanted, limit);
    if (width == current) return false;
    SetRightStripWidth(width);
    return true;
}

void QtSegmentBar::Layout() {
    const int barWidth = bar_.width();
    const int left = leftStrip_.width(), right = rightStrip_.width();
    leftStrip_.move(0, 0);
    startMarker_.move(left, 0);
    rightStrip_.move(barWidth - right, 0);
    endMarker_.move(barWidth - right - endMarker_.width(), 0);
    const int segmentLeft = left + startMarker_.width();
    segment_.setGeometry(segmentLeft, 0, std::max(0, endMarker_.x() - segmentLeft),
                         segment_.height());
}
