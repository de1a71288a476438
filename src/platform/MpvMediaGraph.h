#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "media/PreviewPlayer.h"
#include "platform/Poster.h"

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;

// A libmpv call failed; the message names the call and libmpv's error text.
class MpvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Byte order of a 4-byte pixel, lowest address first; the fourth byte is padding.
// Bgr0 is QImage::Format_RGB32 on little-endian machines, Rgb0 is QImage::Format_RGBX8888.
enum class MpvPixelFormat { Rgb0, Bgr0 };

// Pixels owned by the caller that frames are drawn into, letter-boxed on black.
struct MpvRenderTarget {
    void* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;  // bytes per line: a multiple of 4, at least 4 × width
    MpvPixelFormat format = MpvPixelFormat::Bgr0;
};

struct MpvGraphOptions {
    // libmpv's audio output ("ao"); empty: the desktop's default output. Tests use "null".
    // Whatever it is, a machine on which no audio device opens plays on without sound.
    std::string audioOutput;
    // libmpv's "audio-device"; empty: the output's default device.
    std::string audioDevice;
    // How long RenderFile waits for the file to load, and a seek for its first frame.
    std::chrono::milliseconds loadTimeout{5000};
    std::chrono::milliseconds seekTimeout{5000};
};

// The preview's media graph on libmpv: one libmpv player, headless (no window, terminal,
// configuration files, key bindings or on-screen controls), drawing through the software render
// API. Everything runs on the GUI thread: libmpv's wakeups and frame notifications are posted
// there through `gui`, and the posted task pumps libmpv's events and draws a new frame into the
// render target, then calls the frame-ready handler.
//
// Active is a flag of this object; deactivating or clearing unloads the file. The position
// of a file played to its end reads as its duration.
class MpvMediaGraph : public IMediaGraph {
public:
    // Throws MpvError when libmpv cannot be created or refuses an option.
    explicit MpvMediaGraph(IPoster& gui, MpvGraphOptions options = {});
    ~MpvMediaGraph() override;
    MpvMediaGraph(const MpvMediaGraph&) = delete;
    MpvMediaGraph& operator=(const MpvMediaGraph&) = delete;

    bool Active() const override { return active_; }
    void SetActive(bool active) override;
    void ClearFilters() override;
    // Loads the file paused and waits for it: 0 once loaded, libmpv's (negative) error code
    // when it fails or does not load within loadTimeout, or when the graph is inactive.
    int RenderFile(const std::string& path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    std::int64_t CurrentPositionMs() override;
    std::int64_t DurationMs() override;
    // Seeks exactly and waits, up to seekTimeout, until the new position is shown.
    void SetCurrentPositionMs(std::int64_t ms) override;

    // Frames are drawn into `target` from now on (its pixels must stay valid until replaced
    // or cleared). Throws std::invalid_argument for a target without pixels or with a bad size.
    void SetRenderTarget(const MpvRenderTarget& target);
    void ClearRenderTarget();
    // Runs on the GUI thread after each new frame was drawn into the render target; it must
    // not throw.
    void SetFrameReadyHandler(std::function<void()> handler);
    // Draws the current frame into `target` now. Throws std::invalid_argument or MpvError.
    void RenderFrame(const MpvRenderTarget& target);

    // Serves every queued libmpv event, then draws a pending frame; the posted tasks call it.
    void PumpEvents();

private:
    static void OnWakeup(void* self);
    static void OnRenderUpdate(void* self);
    void PostPump();
    void HandleEvent(const mpv_event& event);
    void DrainEvents();
    void ServeFrame();
    // Pumps events and frames until `done` holds or `timeout` passes; whether `done` held.
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    void ForgetFile();
    void Command(const char* const* args, const char* what);
    void SetPause(bool paused);
    double ReadDouble(const char* property);

    IPoster& gui_;
    MpvGraphOptions options_;
    mpv_handle* mpv_ = nullptr;
    mpv_render_context* render_ = nullptr;
    // Posted tasks check it before touching this object.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::atomic<bool> pumpPosted_{false};
    std::atomic<bool> framePending_{false};

    bool active_ = false;
    // The file in libmpv's hands: its playlist entry once started, loaded, ended.
    std::int64_t entry_ = -1;
    bool loadRequested_ = false;
    bool loaded_ = false;
    bool ended_ = false;
    int endError_ = 0;
    std::int64_t lastDurationMs_ = -1;
    // Seeks announced and playback restarts seen, for waiting on a seek.
    std::uint64_t seeks_ = 0;
    std::uint64_t restarts_ = 0;

    MpvRenderTarget target_;
    bool hasTarget_ = false;
    std::unique_ptr<std::uint32_t[]> scratch_;
    std::function<void()> onFrame_;
};
