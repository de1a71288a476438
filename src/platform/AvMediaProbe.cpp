#include "platform/AvMediaProbe.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <cstring>
#include <memory>

namespace {

// When the container's header already tells the duration, the stream search needs to look
// at little more than the first packets; these bounds keep it from reading seconds of data.
constexpr std::int64_t kProbeBytesWhenKnown = 32 * 1024;
constexpr std::int64_t kAnalyzeMicrosecondsWhenKnown = 100 * 1000;

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

struct DictionaryFreer {
    void operator()(AVDictionary* dictionary) const { av_dict_free(&dictionary); }
};

Input OpenLocalFile(const std::string& name) {
    AVDictionary* raw = nullptr;
    if (av_dict_set(&raw, "protocol_whitelist", "file", 0) < 0) {
        av_dict_free(&raw);
        return nullptr;
    }
    std::unique_ptr<AVDictionary, DictionaryFreer> options(raw);
    // The prefix keeps a name such as "pipe:3.avi" or "http:x" a file name.
    const std::string url = "file:" + name;
    AVFormatContext* context = nullptr;
    raw = options.release();
    const int result = avformat_open_input(&context, url.c_str(), nullptr, &raw);
    options.reset(raw);
    if (result < 0) {
        return nullptr;  // avformat_open_input frees the context itself on failure
    }
    return Input(context);
}

bool IsText(const AVFormatContext& input) {
    // Any text file opens as "tty" (text rendered as video); a text file has no duration.
    return input.iformat != nullptr && std::strcmp(input.iformat->name, "tty") == 0;
}

}  // namespace

AvMediaProbe::AvMediaProbe() { av_log_set_level(AV_LOG_QUIET); }

std::int64_t AvMediaProbe::GetMediaDuration(const std::string& name) {
    if (name.empty()) {
        return 0;
    }
    const Input input = OpenLocalFile(name);
    if (!input || IsText(*input)) {
        return 0;
    }
    if (input->duration > 0) {
        input->probesize = kProbeBytesWhenKnown;
        input->max_analyze_duration = kAnalyzeMicrosecondsWhenKnown;
    }
    if (avformat_find_stream_info(input.get(), nullptr) < 0) {
        return 0;
    }
    if (input->duration == AV_NOPTS_VALUE || input->duration <= 0) {
        return 0;
    }
    return input->duration / AV_TIME_BASE;
}
