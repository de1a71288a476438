#include "app/Artwork.h"

QImage ArtworkImage(const QString& name) { return QImage(":/artwork/" + name + ".png"); }

QPixmap ArtworkPixmap(const QString& name) { return QPixmap::fromImage(ArtworkImage(name)); }
