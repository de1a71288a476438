#include "app/SegmentBar.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "app/Artwork.h"
#include "app/WindowShape.h"

TPictureStrip::TPictureStrip(QWidget* parent, const char* name, const QPixmap& picture)
    : QWidget(parent), picture_(picture) {
    setObjectName(name);
}

void TPictureStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), picture_);
}

TMarker::TMarker(QWidget* parent, const char* name, const QLabel& glyph)
    : QWidget(parent), glyph_(glyph) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void TMarker::paintEvent(QPaintEvent*) {
    const QPixmap glyph = glyph_.pixmap();
    if (glyph.cacheKey() != glyphKey_) {
        keyedGlyph_ = QPixmap::fromImage(KeyOutColour(glyph.toImage(), qRgb(0, 0, 0)));
        glyphKey_ = glyph.cacheKey();
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.drawPixmap(rect(), keyedGlyph_);
}

void TMarker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    pressX_ = qRound(event->globalPosition().x());
    pressLeft_ = x();
    event->accept();
}

void TMarker::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    // Measured on the screen: the marker moves under the mouse while it is dragged.
    const int left = pressLeft_ + qRound(event->globalPosition().x()) - pressX_;
    event->accept();
    if (Dragged) Dragged(left);
}

void TMarker::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}
