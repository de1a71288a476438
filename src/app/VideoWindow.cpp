#include "app/VideoWindow.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr std::size_t kPixelCount = static_cast<std::size_t>(TVideoWindow::kWidth) * TVideoWindow::kHeight;
constexpr int kBytesPerLine = TVideoWindow::kWidth * 4;
constexpr std::uint32_t kBlack = 0xff000000u;

}  // namespace

TVideoWindow::TVideoWindow(QWidget* parent, const char* name)
    : QWidget(parent), pixels_(std::make_unique<std::uint32_t[]>(kPixelCount)) {
    setObjectName(name);
    resize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    std::fill_n(pixels_.get(), kPixelCount, kBlack);
}

MpvRenderTarget TVideoWindow::RenderTarget() {
    // Format_RGB32 is B, G, R, padding in memory on the little-endian machines Kestrava runs on.
    return MpvRenderTarget{pixels_.get(), kWidth, kHeight, static_cast<std::size_t>(kBytesPerLine),
                           MpvPixelFormat::Bgr0};
}

void TVideoWindow::FrameReady() {
    ++frames_;
    update();
}

void TVideoWindow::ClearFrame() {
    std::fill_n(pixels_.get(), kPixelCount, kBlack);
    update();
}

QImage TVideoWindow::Frame() const {
    return QImage(reinterpret_cast<const uchar*>(pixels_.get()), kWidth, kHeight, kBytesPerLine,
                  QImage::Format_RGB32)
        .copy();
}

void TVideoWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A window resized away from the picture's size keeps black around it.
    painter.fillRect(rect(), Qt::black);
    const QImage picture(reinterpret_cast<const uchar*>(pixels_.get()), kWidth, kHeight,
                         kBytesPerLine, QImage::Format_RGB32);
    painter.drawImage(QPoint(0, 0), picture);
}
