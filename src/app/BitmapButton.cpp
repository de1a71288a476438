#include "app/BitmapButton.h"

#include <QPainter>

#include "app/Artwork.h"
#include "app/WindowShape.h"

namespace {

QPixmap ButtonPicture(const QString& art, const char* state) {
    return QPixmap::fromImage(KeyOutColour(ArtworkImage(art + "-" + state), kButtonTransparent));
}

}  // namespace

TBitmapButton::TBitmapButton(QWidget* parent, const char* name, const QString& art,
                             const QRect& place, const QString& hint)
    : QAbstractButton(parent),
      up_(ButtonPicture(art, "up")),
      down_(ButtonPicture(art, "down")),
      hot_(ButtonPicture(art, "hot")) {
    setObjectName(name);
    setGeometry(place);
    setFocusPolicy(Qt::NoFocus);
    if (!hint.isEmpty()) setToolTip(hint);
}

void TBitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = isDown() ? down_ : (hot_state_ && isEnabled() ? hot_ : up_);
    if (!isEnabled()) painter.setOpacity(0.45);
    painter.drawPixmap(0, 0, picture);
}

void TBitmapButton::enterEvent(QEnterEvent* event) {
    hot_state_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TBitmapButton::leaveEvent(QEvent* event) {
    hot_state_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}
