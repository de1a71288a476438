#include "app/SegmentBar.h"

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

TMarker::TMarker(QWidget* parent, const char* name, const QPixmap& glyph)
    : QWidget(parent), glyph_(glyph) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void TMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.drawPixmap(rect(), glyph_);
}

QPixmap MarkerGlyph(const QString& art) {
    return QPixmap::fromImage(KeyOutColour(ArtworkImage(art), qRgb(0, 0, 0)));
}
