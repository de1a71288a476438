#include "app/PreviewGraph.h"

#include "app/VideoWindow.h"
#include "platform/MpvMediaGraph.h"

void TUnavailableMediaGraph::SetActive(bool active) {
    if (active) Refuse();
}

void TUnavailableMediaGraph::Refuse() const {
    throw std::runtime_error("The preview is not available: " + reason_);
}

std::unique_ptr<IMediaGraph> CreatePreviewGraph(IPoster& gui, TVideoWindow& video,
                                                const std::string& audioOutput,
                                                std::string& failure) {
    failure.clear();
    MpvGraphOptions options;
    options.audioOutput = audioOutput;
    try {
        auto graph = std::make_unique<MpvMediaGraph>(gui, options);
        graph->SetRenderTarget(video.RenderTarget());
        graph->SetFrameReadyHandler([&video] { video.FrameReady(); });
        return graph;
    } catch (const std::exception& error) {
        failure = error.what();
        return std::make_unique<TUnavailableMediaGraph>(failure);
    }
}
