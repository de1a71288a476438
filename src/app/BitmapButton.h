#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QRect>

// A button drawn from three pictures, up, down and hot (under the mouse), whose olive pixels
// are transparent so that the window's background shows through.
class TBitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    // `art` names the pictures "<art>-up", "<art>-down" and "<art>-hot".
    TBitmapButton(QWidget* parent, const char* name, const QString& art, const QRect& place,
                  const QString& hint = QString());

    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap up_, down_, hot_;
    bool hot_state_ = false;
};
