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
