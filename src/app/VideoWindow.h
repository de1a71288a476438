#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "platform/MpvMediaGraph.h"

// The video window `DSVideoWindowEx1`: 257 × 155 pixels on black. The preview graph draws each
// new frame, letter-boxed, into the window's own picture, and the window shows that picture.
class TVideoWindow : public QWidget {
public:
    static constexpr int kWidth = 257;
    static constexpr int kHeight = 155;

    TVideoWindow(QWidget* parent, const char* name);

    // Where the graph draws: the window's own pixels, which live as long as the window and are
    // never moved.
    MpvRenderTarget RenderTarget();
    // A new frame is in the picture: show it.
    void FrameReady();
    // Back to black, so that no frame of an unloaded file shows when the next one starts.
    void ClearFrame();
    // A copy of the picture as it stands.
    QImage Frame() const;
    // How many frames were drawn since the window was made.
    int FrameCount() const { return frames_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The pixels stay in this buffer for good: a QImage over them could be detached onto a new
    // buffer while the graph still draws into the old one.
    std::unique_ptr<std::uint32_t[]> pixels_;
    int frames_ = 0;
};
