#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>

class QLabel;

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
// glyph's black shown in that colour. The glyph is read from the picture `glyph` (the window's
// hidden imgL or imgR) each time the marker paints.
//
// Dragged with the left button, the marker reports after each mouse move where its left edge
// would be if it followed the mouse exactly; the bar decides how far it really moves.
class TMarker : public QWidget {
public:
    TMarker(QWidget* parent, const char* name, const QLabel& glyph);

    std::function<void(int left)> Dragged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QLabel& glyph_;
    qint64 glyphKey_ = 0;
    QPixmap keyedGlyph_;
    bool dragging_ = false;
    // Where the drag began: the mouse on the screen, and the marker's left edge in the bar.
    int pressX_ = 0;
    int pressLeft_ = 0;
};
