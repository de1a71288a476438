#include "app/Application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStyleFactory>

#include "app/Artwork.h"
#include "storage/MessageBoxes.h"

void SetUpApplication(QApplication& application) {
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setWindowIcon(QIcon(ArtworkPixmap("icon")));
    if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arial", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
    (void)application;
}
