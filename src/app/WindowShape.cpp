#include "app/WindowShape.h"

#include <QWidget>

QImage KeyOutColour(const QImage& picture, QRgb transparent) {
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent | 0xff000000u;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] | 0xff000000u) == key) line[x] = 0;
        }
    }
    return keyed;
}

QBitmap ShapeFromPicture(const QImage& picture) {
    if (picture.isNull()) return {};
    const QRgb cutout = picture.pixel(0, picture.height() - 1);
    return QBitmap::fromImage(KeyOutColour(picture, cutout).createAlphaMask());
}

void ApplyShape(QWidget& window, const QImage& picture) {
    const QBitmap shape = ShapeFromPicture(picture);
    if (!shape.isNull()) window.setMask(shape);
}
