#pragma once

// Error reporting and ownership for libav objects: every libav call goes through Check (or an
// explicit test), and every object is held by a unique_ptr so that each path frees it.

#include "encoder/FfmpegCompat.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace kestrava::encoder {

// A failure the run cannot go on from; what() is the plain-words message for the user.
class EncoderError : public std::runtime_error {
public:
    explicit EncoderError(const std::string& message) : std::runtime_error(message) {}
};

// av_strerror's text for a libav error code.
std::string AvErrorText(int error);

// Throws EncoderError("<what>: <libav's text>") when result < 0; returns result otherwise.
int Check(int result, const std::string& what);

template <typename T>
T* CheckAlloc(T* pointer, const std::string& what) {
    if (!pointer)
        throw EncoderError(what + ": out of memory");
    return pointer;
}

struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FilterGraphDeleter {
    void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};
struct InputFormatDeleter {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct FilterInOutDeleter {
    void operator()(AVFilterInOut* io) const { avfilter_inout_free(&io); }
};
struct DictionaryDeleter {
    void operator()(AVDictionary* d) const { av_dict_free(&d); }
};

using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphDeleter>;
using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatDeleter>;
using FilterInOutPtr = std::unique_ptr<AVFilterInOut, FilterInOutDeleter>;

FramePtr MakeFrame();
PacketPtr MakePacket();

// An output context with its file: the destructor closes the file if still open and frees the
// context. Writing the trailer is the owner's job.
class OutputContext {
public:
    OutputContext() = default;
    OutputContext(const OutputContext&) = delete;
    OutputContext& operator=(const OutputContext&) = delete;
    ~OutputContext();

    // Allocates the context for the named muxer writing to url.
    void Allocate(const AVOutputFormat* format, const std::string& url);
    void OpenFile();
    void CloseFile();
    AVFormatContext* get() const { return context_; }
    AVFormatContext* operator->() const { return context_; }

private:
    AVFormatContext* context_ = nullptr;
};

}  // namespace kestrava::encoder
