#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// A strip of the marker bar: its picture stretched over the whole widget.
class TPictureStrip : public QWidget {
public:
    TPictureStrip(QWidget* parent, const char* name, const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

// A segment marker: filled with the button-face colour, then its glyph copied over it with the
// glyph's black shown in that colour.
class TMarker : public QWidget {
public:
    TMarker(QWidget* parent, const char* name, const QPixmap& glyph);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap glyph_;
};

// The glyph with its black pixels made transparent, so the marker's colour shows there.
QPixmap MarkerGlyph(const QString& art);
