#include "platform/MpvMediaGraph.h"

#include <mpv/client.h>
#include <mpv/render.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <utility>

namespace {

// Frames are still drawn while no target is set, so that libmpv's video output never waits
// for a caller that is not there.
constexpr int kScratchWidth = 64;
constexpr int kScratchHeight = 36;
// Longest single wait for an event while waiting on a load or a seek, so that frames keep
// being drawn in between.
constexpr double kWaitSliceSeconds = 0.02;

std::string Failure(const char* what, int code) {
    return std::string(what) + " failed: " + mpv_error_string(code);
}

void Check(int code, const char* what) {
    if (code < 0) throw MpvError(Failure(what, code));
}

void CheckTarget(const MpvRenderTarget& target) {
    if (target.pixels == nullptr) throw std::invalid_argument("render target without pixels");
    if (target.width <= 0 || target.height <= 0) {
        throw std::invalid_argument("render target of no size");
    }
    if (target.stride % 4 != 0 || target.stride < static_cast<std::size_t>(target.width) * 4) {
        throw std::invalid_argument("render target stride too small or not a multiple of 4");
    }
}

}  // namespace

MpvMediaGraph::MpvMediaGraph(IPoster& gui, MpvGraphOptions options)
    : gui_(gui), options_(std::move(options)) {
    // libmpv refuses to start under a locale whose decimal separator is not ".".
    if (std::setlocale(LC_NUMERIC, "C") == nullptr) throw MpvError("setlocale(LC_NUMERIC) failed");
    mpv_ = mpv_create();
    if (mpv_ == nullptr) throw MpvError("mpv_create failed");
    try {
        const std::pair<const char*, std::string> settings[] = {
            {"config", "no"},
            {"terminal", "no"},
            {"input-default-bindings", "no"},
            {"input-vo-keyboard", "no"},
            {"input-terminal", "no"},
            {"osc", "no"},
            {"ytdl", "no"},
            {"load-scripts", "no"},
            {"load-stats-overlay", "no"},
            {"load-osd-console", "no"},
            {"osd-level", "0"},
            {"idle", "yes"},
            {"keep-open", "yes"},
            {"hr-seek", "yes"},
            {"pause", "yes"},
            {"vo", "libmpv"},
            {"audio-fallback-to-null", "yes"},
            {"ao", options_.audioOutput},
            {"audio-device", options_.audioDevice},
        };
        for (const auto& [name, value] : settings) {
            if (value.empty()) continue;
            const int code = mpv_set_option_string(mpv_, name, value.c_str());
            if (code < 0) {
                throw MpvError(Failure(("option " + std::string(name) + "=" + value).c_str(), code));
            }
        }
        Check(mpv_initialize(mpv_), "mpv_initialize");

        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        Check(mpv_render_context_create(&render_, mpv_, params), "mpv_render_context_create");
    } catch (...) {
        if (render_ != nullptr) mpv_render_context_free(render_);
        mpv_terminate_destroy(mpv_);
        throw;
    }
    scratch_ = std::make_unique<std::uint32_t[]>(kScratchWidth * kScratchHeight);
    mpv_render_context_set_update_callback(render_, &MpvMediaGraph::OnRenderUpdate, this);
    mpv_set_wakeup_callback(mpv_, &MpvMediaGraph::OnWakeup, this);
}

MpvMediaGraph::~MpvMediaGraph() {
    // Once both callbacks are unset no libmpv thread calls into this object any more; tasks
    // still queued find alive_ expired.
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    mpv_terminate_destroy(mpv_);
}

// --- callbacks: on libmpv's threads, touching nothing but the atomics and the poster ---

void MpvMediaGraph::OnWakeup(void* self) { static_cast<MpvMediaGraph*>(self)->PostPump(); }

void MpvMediaGraph::OnRenderUpdate(void* self) {
    auto* graph = static_cast<MpvMediaGraph*>(self);
    graph->framePending_ = true;
    graph->PostPump();
}

void MpvMediaGraph::PostPump() {
    if (pumpPosted_.exchange(true)) return;  // one task in the queue serves them all
    gui_.Post([this, alive = std::weak_ptr<int>(alive_)] {
        if (alive.expired()) return;
        PumpEvents();
    });
}

// --- the GUI thread ---

void MpvMediaGraph::PumpEvents() {
    pumpPosted_ = false;
    DrainEvents();
    ServeFrame();
}

void MpvMediaGraph::DrainEvents() {
    for (;;) {
        const mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) return;
        HandleEvent(*event);
    }
}

void MpvMediaGraph::HandleEvent(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_START_FILE:
            if (loadRequested_) {
                entry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
                loadRequested_ = false;
            }
            break;
        case MPV_EVENT_FILE_LOADED:
            if (entry_ >= 0) loaded_ = true;
            break;
        case MPV_EVENT_END_FILE: {
            // Ends of files unloaded before the current one started carry other entries.
            const auto* end = static_cast<const mpv_event_end_file*>(event.data);
            if (entry_ < 0 || end->playlist_entry_id != entry_) break;
            ended_ = true;
            loaded_ = false;
            if (end->reason == MPV_END_FILE_REASON_ERROR) {
                endError_ = end->error < 0 ? end->error : MPV_ERROR_LOADING_FAILED;
            }
            break;
        }
        case MPV_EVENT_SEEK:
            ++seeks_;
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            ++restarts_;
            break;
        default:
            break;
    }
}

void MpvMediaGraph::ServeFrame() {
    if (!framePending_.exchange(false)) return;
    if ((mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) == 0) return;
    // A frame that cannot be drawn is skipped; the next one tries again.
    try {
        if (hasTarget_) {
            RenderFrame(target_);
        } else {
            RenderFrame(MpvRenderTarget{scratch_.get(), kScratchWidth, kScratchHeight,
                                        static_cast<std::size_t>(kScratchWidth) * 4,
                                        MpvPixelFormat::Bgr0});
        }
    } catch (const MpvError&) {
        return;
    }
    if (hasTarget_ && onFrame_) onFrame_();
}

bool MpvMediaGraph::WaitFor(const std::function<bool()>& done,
                            std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    DrainEvents();
    while (!done()) {
        const auto left = std::chrono::duration<double>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        ServeFrame();
        const mpv_event* event = mpv_wait_event(mpv_, std::min(left, kWaitSliceSeconds));
        if (event->event_id != MPV_EVENT_NONE) HandleEvent(*event);
    }
    return true;
}

void MpvMediaGraph::ForgetFile() {
    entry_ = -1;
    loadRequested_ = false;
    loaded_ = false;
    ended_ = false;
    endError_ = 0;
    lastDurationMs_ = -1;
}

void MpvMediaGraph::Command(const char* const* args, const char* what) {
    Check(mpv_command(mpv_, const_cast<const char**>(args)), what);
}

void MpvMediaGraph::SetPause(bool paused) {
    int flag = paused ? 1 : 0;
    Check(mpv_set_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag), "setting pause");
}

double MpvMediaGraph::ReadDouble(const char* property) {
    double value = 0;
    const int code = mpv_get_property(mpv_, property, MPV_FORMAT_DOUBLE, &value);
    if (code < 0) throw MpvError(Failure(("reading " + std::string(property)).c_str(), code));
    return value;
}

void MpvMediaGraph::SetActive(bool active) {
    if (!active) Stop();
    active_ = active;
}

void MpvMediaGraph::ClearFilters() { Stop(); }

void MpvMediaGraph::Stop() {
    const char* args[] = {"stop", nullptr};
    Command(args, "stop");
    ForgetFile();
}

int MpvMediaGraph::RenderFile(const std::string& path) {
    if (!active_) return MPV_ERROR_UNINITIALIZED;
    DrainEvents();
    ForgetFile();
    try {
        SetPause(true);
    } catch (const MpvError&) {
        return MPV_ERROR_GENERIC;
    }
    // The path is one argument of its own: blanks, quotes and any UTF-8 pass unchanged.
    const char* args[] = {"loadfile", path.c_str(), "replace", nullptr};
    const int code = mpv_command(mpv_, args);
    if (code < 0) return code;
    loadRequested_ = true;
    if (!WaitFor([this] { return loaded_ || ended_; }, options_.loadTimeout)) {
        const char* stop[] = {"stop", nullptr};
        mpv_command(mpv_, stop);  // best effort: the load failed already
        ForgetFile();
        return MPV_ERROR_LOADING_FAILED;
    }
    if (!loaded_) {
        const int error = endError_ != 0 ? endError_ : MPV_ERROR_LOADING_FAILED;
        ForgetFile();
        return error;
    }
    return 0;
}

void MpvMediaGraph::Run() {
    if (!loaded_) throw MpvError("run: no file loaded");
    SetPause(false);
}

void MpvMediaGraph::Pause() {
    if (!loaded_) throw MpvError("pause: no file loaded");
    SetPause(true);
}

std::int64_t MpvMediaGraph::DurationMs() {
    DrainEvents();
    if (!loaded_) {
        if (ended_ && lastDurationMs_ >= 0) return lastDurationMs_;
        throw MpvError("duration: no file loaded");
    }
    lastDurationMs_ = std::llround(ReadDouble("duration") * 1000.0);
    return lastDurationMs_;
}

std::int64_t MpvMediaGraph::CurrentPositionMs() {
    DrainEvents();
    // A file that ended (played out without keep-open, or broken off) reads as played out.
    if (!loaded_) {
        if (ended_ && lastDurationMs_ >= 0) return lastDurationMs_;
        throw MpvError("position: no file loaded");
    }
    int eof = 0;
    Check(mpv_get_property(mpv_, "eof-reached", MPV_FORMAT_FLAG, &eof), "reading eof-reached");
    if (eof != 0) return DurationMs();
    return std::llround(ReadDouble("time-pos") * 1000.0);
}

void MpvMediaGraph::SetCurrentPositionMs(std::int64_t ms) {
    if (!loaded_) throw MpvError("seek: no file loaded");
    char seconds[32];
    const auto [end, error] = std::to_chars(seconds, seconds + sizeof seconds - 1,
                                            static_cast<double>(ms) / 1000.0,
                                            std::chars_format::fixed, 3);
    if (error != std::errc()) throw MpvError("seek: position out of range");
    *end = '\0';
    DrainEvents();
    const std::uint64_t seeksBefore = seeks_;
    const char* args[] = {"seek", seconds, "absolute+exact", nullptr};
    Command(args, "seek");
    std::uint64_t restartsAtSeek = 0;
    bool seekSeen = false;
    const bool landed = WaitFor(
        [&] {
            if (!loaded_) return true;
            if (!seekSeen && seeks_ != seeksBefore) {
                seekSeen = true;
                restartsAtSeek = restarts_;
            }
            return seekSeen && restarts_ != restartsAtSeek;
        },
        options_.seekTimeout);
    if (!loaded_) throw MpvError("seek: the file ended");
    if (!landed) throw MpvError("seek: no frame at the new position in time");
}

void MpvMediaGraph::SetRenderTarget(const MpvRenderTarget& target) {
    CheckTarget(target);
    target_ = target;
    hasTarget_ = true;
}

void MpvMediaGraph::ClearRenderTarget() { hasTarget_ = false; }

void MpvMediaGraph::SetFrameReadyHandler(std::function<void()> handler) {
    onFrame_ = std::move(handler);
}

void MpvMediaGraph::RenderFrame(const MpvRenderTarget& target) {
    CheckTarget(target);
    int size[2] = {target.width, target.height};
    std::size_t stride = target.stride;
    char rgb0[] = "rgb0";
    char bgr0[] = "bgr0";
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, target.format == MpvPixelFormat::Rgb0 ? rgb0 : bgr0},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, target.pixels},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    Check(mpv_render_context_render(render_, params), "mpv_render_context_render");
}
