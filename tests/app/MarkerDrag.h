#pragma once

#include <QPoint>
#include <QTest>
#include <QWidget>

// Presses a marker, moves the mouse `dx` pixels on the screen one pixel at a time (the marker
// follows it, so each move is given in the marker's coordinates of the moment), and releases it.
inline void DragMarker(QWidget* marker, int dx) {
    const QPoint grip = marker->mapToGlobal(QPoint(9, 9));
    QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(9, 9));
    const int step = dx < 0 ? -1 : 1;
    for (int moved = step; moved != dx + step; moved += step)
        QTest::mouseMove(marker, marker->mapFromGlobal(grip + QPoint(moved, 0)));
    QTest::mouseRelease(marker, Qt::LeftButton, {}, marker->mapFromGlobal(grip + QPoint(dx, 0)));
}
