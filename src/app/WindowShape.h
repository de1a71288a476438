#pragma once

#include <QBitmap>
#include <QColor>
#include <QImage>

class QWidget;

// The picture with every pixel of `transparent` made fully transparent.
QImage KeyOutColour(const QImage& picture, QRgb transparent);

// The outline of a shaped window: every pixel of the picture whose colour differs from the
// colour of its bottom-left pixel (the cut-out colour).
QBitmap ShapeFromPicture(const QImage& picture);

// Makes the widget show only the picture's outline (QWidget::setMask).
void ApplyShape(QWidget& window, const QImage& picture);
