#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

// The pictures compiled into the program, by their artwork names (assets/artwork.txt).
QImage ArtworkImage(const QString& name);
QPixmap ArtworkPixmap(const QString& name);

// The transparent colour of the bitmap buttons' pictures: olive.
inline constexpr QRgb kButtonTransparent = 0xff808000u;  // red 128, green 128, blue 0
