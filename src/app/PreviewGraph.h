#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "media/PreviewPlayer.h"
#include "platform/Poster.h"

class TVideoWindow;

// The preview graph where libmpv could not be made (for instance no usable output): never
// active, and it refuses to become active, so that an open ends silently and Play, Pause and
// Stop do nothing. The reason is kept for whoever wants to tell the user.
class TUnavailableMediaGraph : public IMediaGraph {
public:
    explicit TUnavailableMediaGraph(std::string reason) : reason_(std::move(reason)) {}

    const std::string& Reason() const { return reason_; }

    bool Active() const override { return false; }
    void SetActive(bool active) override;
    void ClearFilters() override {}
    int RenderFile(const std::string&) override { return -1; }
    void Run() override { Refuse(); }
    void Pause() override { Refuse(); }
    void Stop() override {}
    std::int64_t CurrentPositionMs() override { Refuse(); }
    std::int64_t DurationMs() override { Refuse(); }
    void SetCurrentPositionMs(std::int64_t) override { Refuse(); }

private:
    [[noreturn]] void Refuse() const;
    std::string reason_;
};

// The main window's preview graph `FilterGraph`: libmpv drawing into the video window, its
// events served on the GUI thread through `gui`; sound to the desktop's default output, or to
// `audioOutput` when given (the tests use "null"). When libmpv cannot be made, the graph that
// stands in for it is TUnavailableMediaGraph with the reason, and `failure` receives the reason
// too (empty on success).
std::unique_ptr<IMediaGraph> CreatePreviewGraph(IPoster& gui, TVideoWindow& video,
                                                const std::string& audioOutput,
                                                std::string& failure);
