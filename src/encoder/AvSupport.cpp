#include "encoder/AvSupport.h"

namespace kestrava::encoder {

std::string AvErrorText(int error) {
    char buffer[AV_ERROR_MAX_STRING_SIZE + 16] = {};
    return compat::ErrorText(error, buffer, sizeof buffer);
}

int Check(int result, const std::string& what) {
    if (result < 0)
        throw EncoderError(what + ": " + AvErrorText(result));
    return result;
}

FramePtr MakeFrame() {
    return FramePtr(CheckAlloc(av_frame_alloc(), "allocating a frame"));
}

PacketPtr MakePacket() {
    return PacketPtr(CheckAlloc(av_packet_alloc(), "allocating a packet"));
}

OutputContext::~OutputContext() {
    CloseFile();
    avformat_free_context(context_);
}

void OutputContext::Allocate(const AVOutputFormat* format, const std::string& url) {
    Check(avformat_alloc_output_context2(&context_, format, nullptr, url.c_str()),
          "cannot set up the output container");
}

void OutputContext::OpenFile() {
    if (context_->oformat->flags & AVFMT_NOFILE)
        return;
    Check(avio_open(&context_->pb, context_->url, AVIO_FLAG_WRITE), "cannot create the output file");
}

void OutputContext::CloseFile() {
    if (context_ && context_->pb && !(context_->oformat->flags & AVFMT_NOFILE))
        avio_closep(&context_->pb);
}

}  // namespace kestrava::encoder
