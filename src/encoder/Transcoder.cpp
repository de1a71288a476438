#include "encoder/Transcoder.h"

#include "encoder/AvSupport.h"
#include "encoder/FrameQueue.h"
#include "encoder/OutputPlan.h"
#include "encoder/StatusLine.h"
#include "encoder/StopSignal.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace kestrava::encoder {
namespace {

constexpr int64_t kMicros = 1000000;
constexpr AVRational kMicrosBase{1, 1000000};
constexpr int64_t kNoLimit = INT64_MAX / 4;

AVRational Av(Rational r) {
    return AVRational{r.num, r.den};
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// ---------------------------------------------------------------------------------------------
// Shared state of the pipeline threads.

// The first failure of any thread; it aborts every queue so that all threads come to an end.
class Failure {
public:
    void Set(const std::string& message) {
        {
            std::lock_guard lock(mutex_);
            if (!failed_) {
                message_ = message;
                failed_ = true;
            }
        }
        for (const auto& abort : aborts_)
            abort();
    }
    bool Failed() const { return failed_.load(); }
    std::string Message() const {
        std::lock_guard lock(mutex_);
        return message_;
    }
    void OnFailure(std::function<void()> abort) { aborts_.push_back(std::move(abort)); }

    // Runs body, turning any exception into the failure.
    void Guard(const std::function<void()>& body) {
        try {
            body();
        } catch (const std::exception& e) {
            Set(e.what());
        } catch (...) {
            Set("unexpected error");
        }
    }

private:
    mutable std::mutex mutex_;
    std::string message_;
    std::atomic<bool> failed_{false};
    std::vector<std::function<void()>> aborts_;  // set up before the threads start
};

// Writes packets of all streams into the container (interleaved by libavformat) and keeps the
// numbers the status line shows.
class Muxer {
public:
    explicit Muxer(AVFormatContext* oc) : oc_(oc) {}

    void Write(AVPacket* packet, AVStream* stream, AVRational encoderBase, bool video) {
        if (video && packet->duration <= 0)
            packet->duration = 1;  // constant rate: one frame of the encoder's 1/rate time base
        av_packet_rescale_ts(packet, encoderBase, stream->time_base);
        packet->stream_index = stream->index;
        const int64_t endTs = (packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts) + packet->duration;
        const double end = endTs * av_q2d(stream->time_base);
        double quality = -1;
        if (video) {
            size_t size = 0;
            if (const uint8_t* stats = av_packet_get_side_data(packet, AV_PKT_DATA_QUALITY_STATS, &size);
                stats && size >= 4) {
                const uint32_t lambda = uint32_t(stats[0]) | uint32_t(stats[1]) << 8 | uint32_t(stats[2]) << 16 |
                                        uint32_t(stats[3]) << 24;
                quality = double(lambda) / FF_QP2LAMBDA;
            }
        }
        std::lock_guard lock(mutex_);
        if (video) {
            ++progress_.frames;
            if (quality >= 0)
                progress_.quality = quality;
        }
        progress_.seconds = std::max(progress_.seconds, end);
        Check(av_interleaved_write_frame(oc_, packet), "cannot write the output file");
        if (oc_->pb)
            progress_.bytes = std::max<int64_t>(progress_.bytes, avio_tell(oc_->pb));
    }

    Progress Snapshot() {
        std::lock_guard lock(mutex_);
        return progress_;
    }

    void SetFinalBytes(int64_t bytes) {
        std::lock_guard lock(mutex_);
        progress_.bytes = bytes;
    }

private:
    std::mutex mutex_;
    AVFormatContext* oc_;
    Progress progress_;
};

// Sends one frame (nullptr: flush) and writes every packet the encoder gives back.
void EncodeFrame(AVCodecContext* encoder, const AVFrame* frame, AVPacket* packet, Muxer& muxer, AVStream* stream,
                 bool video) {
    Check(avcodec_send_frame(encoder, frame), video ? "the video encoder failed" : "the audio encoder failed");
    for (;;) {
        const int r = avcodec_receive_packet(encoder, packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            return;
        Check(r, video ? "the video encoder failed" : "the audio encoder failed");
        muxer.Write(packet, stream, encoder->time_base, video);
        av_packet_unref(packet);
    }
}

// A decoded frame with its time relative to the start of the converted window: microseconds for
// video, samples at the frame's own rate for audio.
struct TimedFrame {
    FramePtr frame;
    int64_t time = 0;
    int64_t duration = 0;
};

// ---------------------------------------------------------------------------------------------
// Input.

struct Source {
    InputFormatPtr context;
    AVStream* video = nullptr;
    AVStream* audio = nullptr;
};

Source OpenSource(const std::string& path) {
    Source source;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw EncoderError("cannot read the source " + Quoted(path) + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw EncoderError("cannot read the source " + Quoted(path) + ": it is a folder");
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext* raw = nullptr;
    const std::string url = "file:" + path;
    const int r = avformat_open_input(&raw, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (r < 0)
        throw EncoderError("cannot read the source " + Quoted(path) + ": " + AvErrorText(r));
    source.context.reset(raw);
    const int info2 = avformat_find_stream_info(raw, nullptr);
    if (info2 < 0)
        throw EncoderError("cannot read the source " + Quoted(path) + ": " + AvErrorText(info2));

    // The main video (no cover pictures) and audio streams that this FFmpeg can decode.
    const auto pick = [&](AVMediaType type) -> AVStream* {
        const int best = av_find_best_stream(raw, type, -1, -1, nullptr, 0);
        const auto usable = [&](AVStream* st) {
            return st->codecpar->codec_type == type && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
                   avcodec_find_decoder(st->codecpar->codec_id) != nullptr &&
                   (type != AVMEDIA_TYPE_VIDEO || (st->codecpar->width > 0 && st->codecpar->height > 0)) &&
                   (type != AVMEDIA_TYPE_AUDIO || st->codecpar->sample_rate > 0);
        };
        if (best >= 0 && usable(raw->streams[best]))
            return raw->streams[best];
        for (unsigned i = 0; i < raw->nb_streams; ++i)
            if (usable(raw->streams[i]))
                return raw->streams[i];
        return nullptr;
    };
    source.video = pick(AVMEDIA_TYPE_VIDEO);
    source.audio = pick(AVMEDIA_TYPE_AUDIO);
    if (!source.video && !source.audio)
        throw EncoderError("the source " + Quoted(path) + " has neither video nor audio that can be decoded");
    return source;
}

CodecContextPtr OpenDecoder(AVStream* stream, int threads) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        throw EncoderError(std::string("no decoder for ") + avcodec_get_name(stream->codecpar->codec_id));
    CodecContextPtr context(CheckAlloc(avcodec_alloc_context3(codec), "allocating a decoder"));
    Check(avcodec_parameters_to_context(context.get(), stream->codecpar), "cannot set up the decoder");
    context->pkt_timebase = stream->time_base;
    context->thread_count = threads;
    if (threads != 1)
        context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    Check(avcodec_open2(context.get(), codec, nullptr),
          std::string("cannot open the ") + avcodec_get_name(stream->codecpar->codec_id) + " decoder");
    return context;
}

// ---------------------------------------------------------------------------------------------
// Video: constant-rate frame selection, then the filter graph (scale, pad, aspect, pixel format).

class VideoFilter {
public:
    VideoFilter(FrameSize frame, Rational aspect, AVPixelFormat format, Rational rate)
        : frame_(frame), aspect_(aspect), format_(format), rate_(rate) {}

    // Filters one frame (pts already set in 1/rate units); every output goes to sink.
    void Push(AVFrame* input, const std::function<void(AVFrame*)>& sink) {
        if (!graph_ || input->width != width_ || input->height != height_ || input->format != inputFormat_ ||
            av_cmp_q(input->sample_aspect_ratio, sar_) != 0)
            Configure(input);
        Check(av_buffersrc_add_frame_flags(source_, input, AV_BUFFERSRC_FLAG_KEEP_REF), "the video filter failed");
        Drain(sink);
    }

    void Flush(const std::function<void(AVFrame*)>& sink) {
        if (!graph_)
            return;
        Check(av_buffersrc_add_frame_flags(source_, nullptr, 0), "the video filter failed");
        Drain(sink);
    }

private:
    void Drain(const std::function<void(AVFrame*)>& sink) {
        for (;;) {
            FramePtr out = MakeFrame();
            const int r = av_buffersink_get_frame(sink_, out.get());
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return;
            Check(r, "the video filter failed");
            sink(out.get());
        }
    }

    void Configure(const AVFrame* input) {
        graph_.reset(CheckAlloc(avfilter_graph_alloc(), "allocating the video filter"));
        graph_->nb_threads = 1;
        width_ = input->width;
        height_ = input->height;
        inputFormat_ = input->format;
        sar_ = input->sample_aspect_ratio;
        const Rational sar = {sar_.num, sar_.den};
        const PictureBox box = FitPicture(width_, height_, sar, frame_, aspect_);

        char args[256];
        std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d:frame_rate=%d/%d",
                      width_, height_, inputFormat_, rate_.den, rate_.num, sar_.num > 0 ? sar_.num : 1,
                      sar_.den > 0 ? sar_.den : 1, rate_.num, rate_.den);
        Check(avfilter_graph_create_filter(&source_, avfilter_get_by_name("buffer"), "in", args, nullptr, graph_.get()),
              "cannot set up the video filter input");
        Check(avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                           graph_.get()),
              "cannot set up the video filter output");

        const char* formatName = av_get_pix_fmt_name(format_);
        char description[512];
        if (box.width == frame_.width && box.height == frame_.height)
            std::snprintf(description, sizeof description, "scale=%d:%d:flags=bicubic,setsar=%d/%d,format=%s",
                          box.width, box.height, box.sar.num, box.sar.den, formatName);
        else
            std::snprintf(description, sizeof description,
                          "scale=%d:%d:flags=bicubic,setsar=1,pad=%d:%d:%d:%d:black,setsar=%d/%d,format=%s", box.width,
                          box.height, frame_.width, frame_.height, box.x, box.y, box.sar.num, box.sar.den, formatName);

        FilterInOutPtr outputs(CheckAlloc(avfilter_inout_alloc(), "allocating the video filter"));
        FilterInOutPtr inputs(CheckAlloc(avfilter_inout_alloc(), "allocating the video filter"));
        outputs->name = av_strdup("in");
        outputs->filter_ctx = source_;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = sink_;
        AVFilterInOut* in = inputs.release();
        AVFilterInOut* out = outputs.release();
        const int r = avfilter_graph_parse_ptr(graph_.get(), description, &in, &out, nullptr);
        avfilter_inout_free(&in);
        avfilter_inout_free(&out);
        Check(r, "cannot set up the video filter");
        Check(avfilter_graph_config(graph_.get(), nullptr), "cannot set up the video filter");
    }

    FrameSize frame_;
    Rational aspect_;
    AVPixelFormat format_;
    Rational rate_;
    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    int width_ = 0, height_ = 0, inputFormat_ = -1;
    AVRational sar_{0, 1};
};

// Picks, for output frame n at time n / rate, the latest source frame shown at that time.
class FrameSelector {
public:
    FrameSelector(Rational rate, int64_t maxFrames, std::optional<Rational> grid)
        : rate_(rate), maxFrames_(maxFrames), grid_(grid) {}

    bool Done() const { return next_ >= maxFrames_; }
    int64_t Emitted() const { return next_; }

    void Offer(TimedFrame&& frame, const std::function<void(AVFrame*, int64_t)>& emit) {
        if (current_.frame)
            while (!Done() && SlotTime(next_) < frame.time)
                EmitCurrent(emit);
        current_ = std::move(frame);
    }

    void Finish(const std::function<void(AVFrame*, int64_t)>& emit) {
        if (!current_.frame)
            return;
        const int64_t end = current_.time + std::max<int64_t>(current_.duration, 1);
        while (!Done() && SlotTime(next_) < end)
            EmitCurrent(emit);
    }

private:
    void EmitCurrent(const std::function<void(AVFrame*, int64_t)>& emit) {
        emit(current_.frame.get(), next_);
        ++next_;
    }

    // The source time shown by output frame n.
    int64_t SlotTime(int64_t n) const {
        const int64_t t = av_rescale(n, int64_t(rate_.den) * kMicros, rate_.num);
        if (!grid_)
            return t;
        // convertfps: the source is first a constant-rate clip on its own grid.
        const int64_t g = av_rescale_rnd(t + 1, grid_->num, int64_t(grid_->den) * kMicros, AV_ROUND_DOWN);
        return av_rescale(g, int64_t(grid_->den) * kMicros, grid_->num);
    }

    Rational rate_;
    int64_t maxFrames_;
    std::optional<Rational> grid_;
    TimedFrame current_;
    int64_t next_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Audio: trim, channel mix, resample, volume, limiter, encoder format, fixed frame size.

class AudioFilter {
public:
    AudioFilter(AVCodecContext* encoder, double gain, int64_t lengthMicros)
        : encoder_(encoder), gain_(gain), lengthMicros_(lengthMicros) {}

    void Push(AVFrame* input, const std::function<void(AVFrame*)>& sink) {
        if (graph_ && (input->sample_rate != rate_ || input->format != format_ ||
                       av_channel_layout_compare(&input->ch_layout, &layout_) != 0)) {
            Flush(sink);  // the old graph's samples first
            graph_.reset();
        }
        if (!graph_)
            Configure(input);
        Check(av_buffersrc_add_frame_flags(source_, input, AV_BUFFERSRC_FLAG_KEEP_REF), "the audio filter failed");
        Drain(sink);
    }

    void Flush(const std::function<void(AVFrame*)>& sink) {
        if (!graph_)
            return;
        Check(av_buffersrc_add_frame_flags(source_, nullptr, 0), "the audio filter failed");
        Drain(sink);
    }

    ~AudioFilter() { av_channel_layout_uninit(&layout_); }

private:
    void Drain(const std::function<void(AVFrame*)>& sink) {
        for (;;) {
            FramePtr out = MakeFrame();
            const int r = av_buffersink_get_frame(sink_, out.get());
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return;
            Check(r, "the audio filter failed");
            out->pts = av_rescale_q(out->pts, av_buffersink_get_time_base(sink_), encoder_->time_base);
            sink(out.get());
        }
    }

    void Configure(const AVFrame* input) {
        graph_.reset(CheckAlloc(avfilter_graph_alloc(), "allocating the audio filter"));
        graph_->nb_threads = 1;
        rate_ = input->sample_rate;
        format_ = input->format;
        av_channel_layout_uninit(&layout_);
        Check(av_channel_layout_copy(&layout_, &input->ch_layout), "cannot read the audio layout");
        if (layout_.order == AV_CHANNEL_ORDER_UNSPEC) {
            const int n = layout_.nb_channels;
            av_channel_layout_uninit(&layout_);
            av_channel_layout_default(&layout_, n);
        }

        char layoutName[128] = "";
        av_channel_layout_describe(&layout_, layoutName, sizeof layoutName);
        char args[320];
        std::snprintf(args, sizeof args, "time_base=1/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s", rate_, rate_,
                      av_get_sample_fmt_name(static_cast<AVSampleFormat>(format_)), layoutName);
        Check(avfilter_graph_create_filter(&source_, avfilter_get_by_name("abuffer"), "in", args, nullptr, graph_.get()),
              "cannot set up the audio filter input");
        Check(avfilter_graph_create_filter(&sink_, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                           graph_.get()),
              "cannot set up the audio filter output");

        char outLayout[128] = "";
        av_channel_layout_describe(&encoder_->ch_layout, outLayout, sizeof outLayout);
        const char* outFormat = av_get_sample_fmt_name(encoder_->sample_fmt);
        std::string d;
        char piece[256];
        // Keep the converted window only: [0, length) of the times relative to the start.
        if (lengthMicros_ < kNoLimit)
            std::snprintf(piece, sizeof piece, "atrim=start_pts=0:end_pts=%lld,",
                          static_cast<long long>(av_rescale(lengthMicros_, rate_, kMicros)));
        else
            std::snprintf(piece, sizeof piece, "atrim=start_pts=0,");
        d += piece;
        // Mono to stereo at unity on both sides (the resampler would lower it by 3 dB).
        if (layout_.nb_channels == 1 && encoder_->ch_layout.nb_channels == 2) {
            d += "pan=stereo|c0=c0|c1=c0,";
        } else if (layout_.nb_channels == 2 && encoder_->ch_layout.nb_channels == 1) {
            d += "pan=mono|c0=0.5*c0+0.5*c1,";
        }
        std::snprintf(piece, sizeof piece, "aresample=%d:rematrix_maxval=1.0,aformat=sample_fmts=fltp:channel_layouts=%s,",
                      encoder_->sample_rate, outLayout);
        d += piece;
        if (std::fabs(gain_ - 1.0) > 1e-9) {
            std::snprintf(piece, sizeof piece, "volume=%.6f:precision=float,", gain_);
            d += piece;
        }
        if (gain_ > 1.0 + 1e-9) {
            // A loud source turned up must not clip hard: a look-ahead limiter just under full
            // scale, with its delay compensated, and no automatic level change.
            d += "alimiter=limit=0.98:level=false:attack=5:release=50:latency=true,";
        }
        std::snprintf(piece, sizeof piece, "aformat=sample_fmts=%s:sample_rates=%d:channel_layouts=%s", outFormat,
                      encoder_->sample_rate, outLayout);
        d += piece;

        FilterInOutPtr outputs(CheckAlloc(avfilter_inout_alloc(), "allocating the audio filter"));
        FilterInOutPtr inputs(CheckAlloc(avfilter_inout_alloc(), "allocating the audio filter"));
        outputs->name = av_strdup("in");
        outputs->filter_ctx = source_;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = sink_;
        AVFilterInOut* in = inputs.release();
        AVFilterInOut* out = outputs.release();
        const int r = avfilter_graph_parse_ptr(graph_.get(), d.c_str(), &in, &out, nullptr);
        avfilter_inout_free(&in);
        avfilter_inout_free(&out);
        Check(r, "cannot set up the audio filter");
        Check(avfilter_graph_config(graph_.get(), nullptr), "cannot set up the audio filter");
        if (encoder_->frame_size > 0 && !(encoder_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE))
            av_buffersink_set_frame_size(sink_, encoder_->frame_size);
    }

    AVCodecContext* encoder_;
    double gain_;
    int64_t lengthMicros_;
    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    int rate_ = 0, format_ = -1;
    AVChannelLayout layout_{};
};

// ---------------------------------------------------------------------------------------------
// Setup helpers.

bool SamePath(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool Exists(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0;
}

AVPixelFormat ChoosePixelFormat(const AVCodec* encoder, AVPixelFormat wanted) {
    const AVPixelFormat* formats = compat::SupportedPixelFormats(encoder);
    if (!formats)
        return wanted;
    for (const AVPixelFormat* f = formats; *f != AV_PIX_FMT_NONE; ++f)
        if (*f == wanted)
            return wanted;
    return formats[0];
}

AVSampleFormat ChooseSampleFormat(const AVCodec* encoder) {
    const AVSampleFormat* formats = compat::SupportedSampleFormats(encoder);
    if (!formats)
        return AV_SAMPLE_FMT_FLTP;
    for (AVSampleFormat preferred : {AV_SAMPLE_FMT_FLTP, AV_SAMPLE_FMT_FLT, AV_SAMPLE_FMT_S16P, AV_SAMPLE_FMT_S16})
        for (const AVSampleFormat* f = formats; *f != AV_SAMPLE_FMT_NONE; ++f)
            if (*f == preferred)
                return preferred;
    return formats[0];
}

void ChooseChannelLayout(const AVCodec* encoder, int channels, AVChannelLayout* layout) {
    av_channel_layout_default(layout, channels);
    const AVChannelLayout* layouts = compat::SupportedChannelLayouts(encoder);
    if (!layouts)
        return;
    const AVChannelLayout* best = nullptr;
    for (const AVChannelLayout* l = layouts; l->nb_channels; ++l) {
        if (av_channel_layout_compare(l, layout) == 0)
            return;
        if (!best || std::abs(l->nb_channels - channels) < std::abs(best->nb_channels - channels))
            best = l;
    }
    if (best) {
        av_channel_layout_uninit(layout);
        Check(av_channel_layout_copy(layout, best), "cannot set up the audio layout");
    }
}

// Deletes the output file when the run fails after creating it.
class OutputFileGuard {
public:
    explicit OutputFileGuard(std::string path) : path_(std::move(path)) {}
    ~OutputFileGuard() {
        if (armed_)
            ::unlink(path_.c_str());
    }
    void Arm() { armed_ = true; }
    void Keep() { armed_ = false; }

private:
    std::string path_;
    bool armed_ = false;
};

}  // namespace

// ---------------------------------------------------------------------------------------------

TranscodeOutcome Transcode(const TranscodeJob& job) {
    const EncoderOptions& o = job.options;
    const std::string& output = o.output;

    Source source = OpenSource(job.sourcePath);
    AVFormatContext* ic = source.context.get();

    std::optional<Rational> sourceRate = job.sourceFrameRate;
    if (!sourceRate && source.video) {
        const AVRational r = av_guess_frame_rate(ic, source.video, nullptr);
        if (r.num > 0 && r.den > 0 && av_q2d(r) >= 1 && av_q2d(r) <= 240)
            sourceRate = RateFromDecimal(av_q2d(r));
    }
    OutputPlan plan = MakeOutputPlan(o, sourceRate);

    // The converted window of the source.
    const int64_t zero = ic->start_time != AV_NOPTS_VALUE ? ic->start_time : 0;
    const int64_t start = o.startMicros.value_or(0);
    const int64_t length = o.lengthMicros.value_or(kNoLimit);
    if (ic->duration != AV_NOPTS_VALUE && ic->duration > 0 && start >= ic->duration) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", ic->duration / 1e6);
        throw UsageError("the start time lies at or beyond the end of the source (it lasts " + std::string(text) +
                         " seconds)");
    }
    const int64_t windowStart = zero + start;

    AVStream* inVideo = plan.videoAllowed ? source.video : nullptr;
    AVStream* inAudio = plan.audioAllowed ? source.audio : nullptr;
    if (!inVideo && !inAudio) {
        if (plan.videoAllowed && !plan.audioAllowed)
            throw EncoderError("the source " + Quoted(job.sourcePath) + " has no video for this video-only output");
        throw EncoderError("the source " + Quoted(job.sourcePath) + " has no audio for this audio-only output");
    }

    // The output file.
    if (SamePath(job.sourcePath, output))
        throw UsageError("the output file is the source itself: " + Quoted(output));
    if (!o.overwrite && Exists(output))
        throw UsageError("the output file " + Quoted(output) + " exists; add -y to overwrite it");

    // Streams not converted are not even read where the container allows it.
    for (unsigned i = 0; i < ic->nb_streams; ++i)
        if (ic->streams[i] != inVideo && ic->streams[i] != inAudio)
            ic->streams[i]->discard = AVDISCARD_ALL;

    CodecContextPtr videoDecoder, audioDecoder;
    if (inVideo)
        videoDecoder = OpenDecoder(inVideo, 0);
    if (inAudio)
        audioDecoder = OpenDecoder(inAudio, 1);

    OutputContext oc;
    oc.Allocate(plan.muxer, "file:" + output);
    const bool globalHeader = (plan.muxer->flags & AVFMT_GLOBALHEADER) != 0;
    const std::optional<TargetPreset>& target = plan.target;

    // Video encoder and stream.
    CodecContextPtr videoEncoder;
    AVStream* outVideo = nullptr;
    Rational rate{25, 1};
    FrameSize frame;
    Rational aspect;
    if (inVideo) {
        rate = o.frameRate ? *o.frameRate : target ? target->frameRate : sourceRate.value_or(Rational{25, 1});
        const AVRational guessedSar = av_guess_sample_aspect_ratio(ic, inVideo, nullptr);
        const Rational sourceAspect =
            DisplayAspectOf(inVideo->codecpar->width, inVideo->codecpar->height, {guessedSar.num, guessedSar.den});
        frame = o.size ? *o.size
                : target ? target->size
                         : FrameSize{inVideo->codecpar->width & ~1, inVideo->codecpar->height & ~1};
        // -aspect is the display aspect of the output frame; without it the frame shows the
        // picture's own aspect (so no bars are needed).
        if (o.aspect)
            aspect = *o.aspect;
        else if (target)
            aspect = target->format == "vcd" || target->format == "svcd" || sourceAspect.value() < 1.55
                         ? Rational{4, 3}
                         : Rational{16, 9};
        else
            aspect = sourceAspect;
        const int kbps = o.videoKbps ? *o.videoKbps : target ? target->videoKbps : 512;

        const AVCodec* codec = plan.videoEncoder;
        videoEncoder.reset(CheckAlloc(avcodec_alloc_context3(codec), "allocating the video encoder"));
        AVCodecContext* e = videoEncoder.get();
        e->width = frame.width;
        e->height = frame.height;
        e->pix_fmt = ChoosePixelFormat(codec, target ? target->pixelFormat : AV_PIX_FMT_YUV420P);
        e->time_base = AVRational{rate.den, rate.num};
        e->framerate = Av(rate);
        const PictureBox box = FitPicture(frame.width, frame.height, {1, 1}, frame, aspect);
        e->sample_aspect_ratio = Av(box.sar);
        e->bit_rate = int64_t(kbps) * 1000;
        e->color_range = AVCOL_RANGE_MPEG;
        e->thread_count = frame.width * frame.height > 352 * 288 ? 0 : 1;
        if (globalHeader)
            e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (target) {
            e->gop_size = target->gop;
            e->rc_max_rate = int64_t(target->maxKbps) * 1000;
            e->rc_min_rate = int64_t(target->minKbps) * 1000;
            e->rc_buffer_size = target->bufferBits;
            if (codec->id == AV_CODEC_ID_MPEG2VIDEO)
                e->max_b_frames = 2;
        } else if (codec->id == AV_CODEC_ID_MPEG4 || codec->id == AV_CODEC_ID_H263 ||
                   codec->id == AV_CODEC_ID_H263P || codec->id == AV_CODEC_ID_MPEG1VIDEO ||
                   codec->id == AV_CODEC_ID_MPEG2VIDEO) {
            // FFmpeg's default tolerance (4 Mbit) lets MPEG-4 overshoot low rates by a third; a
            // quarter of the rate keeps a minute within a few percent. A five-second key frame
            // interval keeps the fixed cost of key frames low at these small rates.
            e->bit_rate_tolerance = std::max(e->bit_rate / 4, int64_t(8000));
            e->gop_size = std::max(1, static_cast<int>(std::lround(rate.value() * 5)));
            e->max_b_frames = 0;
            if (codec->id == AV_CODEC_ID_MPEG4) {
                // Simple Profile: no B-frames, no quarter-pel, no global motion compensation.
                e->profile = compat::kProfileMpeg4Simple;
                e->level = Mpeg4SimpleLevel(frame, rate, kbps);
            }
        }
        if (plan.videoTag)
            e->codec_tag = plan.videoTag;
        Check(avcodec_open2(e, codec, nullptr), std::string("cannot set up the ") + codec->name + " video encoder");
        outVideo = CheckAlloc(avformat_new_stream(oc.get(), nullptr), "allocating the video stream");
        Check(avcodec_parameters_from_context(outVideo->codecpar, e), "cannot set up the video stream");
        outVideo->time_base = e->time_base;
        outVideo->avg_frame_rate = Av(rate);
        outVideo->r_frame_rate = Av(rate);
        outVideo->sample_aspect_ratio = e->sample_aspect_ratio;
        outVideo->codecpar->codec_tag = plan.videoTag;
    }

    // Audio encoder and stream.
    CodecContextPtr audioEncoder;
    AVStream* outAudio = nullptr;
    double gain = 1.0;
    if (inAudio) {
        const AVCodec* codec = plan.audioEncoder;
        audioEncoder.reset(CheckAlloc(avcodec_alloc_context3(codec), "allocating the audio encoder"));
        AVCodecContext* e = audioEncoder.get();
        const bool amr = codec->id == AV_CODEC_ID_AMR_NB;
        int sampleRate = o.sampleRate ? *o.sampleRate : target ? target->sampleRate : inAudio->codecpar->sample_rate;
        int channels = o.channels ? *o.channels : target ? target->channels : inAudio->codecpar->ch_layout.nb_channels;
        if (amr) {
            sampleRate = 8000;
            channels = 1;
        }
        channels = std::clamp(channels, 1, 8);
        e->sample_rate = NearestSampleRate(codec, sampleRate);
        e->sample_fmt = ChooseSampleFormat(codec);
        ChooseChannelLayout(codec, channels, &e->ch_layout);
        const int kbps = o.audioKbps ? *o.audioKbps : target ? target->audioKbps : 128;
        e->bit_rate = int64_t(kbps) * 1000;
        e->time_base = AVRational{1, e->sample_rate};
        if (codec->id == AV_CODEC_ID_AAC)
            e->profile = compat::kProfileAacLow;
        if (globalHeader)
            e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        Check(avcodec_open2(e, codec, nullptr), std::string("cannot set up the ") + codec->name + " audio encoder");
        outAudio = CheckAlloc(avformat_new_stream(oc.get(), nullptr), "allocating the audio stream");
        Check(avcodec_parameters_from_context(outAudio->codecpar, e), "cannot set up the audio stream");
        outAudio->time_base = e->time_base;
        gain = o.volumePercent.value_or(100.0) / 100.0;
    }

    // Create the file: from here on a failure deletes it.
    OutputFileGuard guard(output);
    guard.Arm();
    oc.OpenFile();
    AVDictionary* muxOptions = nullptr;
    const std::string muxerName = plan.muxer->name;
    if (muxerName == "mp4" || muxerName == "mov" || muxerName == "ipod" || muxerName == "3gp" ||
        muxerName == "3g2" || muxerName == "psp")
        av_dict_set(&muxOptions, "movflags", "+faststart", 0);
    if (target && target->muxRate)
        av_dict_set_int(&muxOptions, "muxrate", target->muxRate, 0);
    if (target && target->packetSize)
        oc->packet_size = static_cast<unsigned>(target->packetSize);
    const int headerResult = avformat_write_header(oc.get(), &muxOptions);
    av_dict_free(&muxOptions);
    Check(headerResult, "cannot write the output file's header");

    // ---- The pipeline.
    Muxer muxer(oc.get());
    Failure failure;
    // Decoded and filtered pictures go one by one; audio frames are small and go in batches.
    FrameQueue<TimedFrame> videoDecoded(8), videoFiltered(8), audioDecoded(64, 16), audioFiltered(64, 16);
    failure.OnFailure([&] { videoDecoded.Abort(); });
    failure.OnFailure([&] { audioDecoded.Abort(); });
    failure.OnFailure([&] { videoFiltered.Abort(); });
    failure.OnFailure([&] { audioFiltered.Abort(); });
    std::atomic<bool> videoDone{!inVideo}, audioDone{!inAudio};
    std::atomic<int> running{0};
    std::mutex runningMutex;
    std::condition_variable runningChanged;
    const auto finished = [&] {
        std::lock_guard lock(runningMutex);
        --running;
        runningChanged.notify_all();
    };

    std::vector<std::thread> threads;
    const auto spawn = [&](std::function<void()> body) {
        ++running;
        threads.emplace_back([&, body = std::move(body)] {
            failure.Guard(body);
            finished();
        });
    };

    // Demux and decode.
    spawn([&] {
        PacketPtr packet = MakePacket();
        FramePtr decoded = MakeFrame();
        int64_t nextVideoTs = AV_NOPTS_VALUE, nextAudioTs = AV_NOPTS_VALUE;
        const int64_t lengthEnd = length;
        const int64_t videoFallbackDuration =
            sourceRate ? av_rescale(kMicros, sourceRate->den, sourceRate->num) : kMicros / 25;
        bool audioPastEnd = false;
        int lastAudioRate = 0;

        const auto takeVideo = [&](AVFrame* f) {
            int64_t ts = f->best_effort_timestamp;
            if (ts == AV_NOPTS_VALUE)
                ts = nextVideoTs != AV_NOPTS_VALUE ? nextVideoTs : inVideo->start_time != AV_NOPTS_VALUE ? inVideo->start_time : 0;
            int64_t duration = compat::FrameDuration(f);
            const int64_t durationUs = duration > 0 ? av_rescale_q(duration, inVideo->time_base, kMicrosBase)
                                                    : videoFallbackDuration;
            nextVideoTs = ts + (duration > 0 ? duration : av_rescale_q(durationUs, kMicrosBase, inVideo->time_base));
            TimedFrame item;
            item.time = av_rescale_q(ts, inVideo->time_base, kMicrosBase) - windowStart;
            item.duration = durationUs;
            item.frame = MakeFrame();
            av_frame_move_ref(item.frame.get(), f);
            const bool pastEnd = item.time >= lengthEnd;
            if (!videoDone.load())
                videoDecoded.Push(std::move(item));
            if (pastEnd)
                videoDone = true;
        };
        const auto takeAudio = [&](AVFrame* f) {
            const int sr = f->sample_rate;
            // The first frame's time places the audio; after it the samples are counted, since
            // some sources (RealAudio among them) give frames unusable times.
            int64_t ts = nextAudioTs;
            if (ts == AV_NOPTS_VALUE || sr != lastAudioRate) {
                ts = f->best_effort_timestamp;
                ts = ts != AV_NOPTS_VALUE ? av_rescale_q(ts, inAudio->time_base, AVRational{1, sr})
                     : nextAudioTs != AV_NOPTS_VALUE ? av_rescale(nextAudioTs, sr, lastAudioRate)
                                                     : 0;
                lastAudioRate = sr;
            }
            nextAudioTs = ts + f->nb_samples;
            TimedFrame item;
            item.time = ts - av_rescale_q(windowStart, kMicrosBase, AVRational{1, sr});
            item.duration = f->nb_samples;
            if (item.time + f->nb_samples <= 0) {  // wholly before the window
                av_frame_unref(f);
                return;
            }
            if (audioPastEnd) {
                av_frame_unref(f);
                return;
            }
            if (item.time >= av_rescale(lengthEnd, sr, kMicros))
                audioPastEnd = true;
            item.frame = MakeFrame();
            av_frame_move_ref(item.frame.get(), f);
            item.frame->pts = item.time;
            audioDecoded.Push(std::move(item));
        };
        const auto drain = [&](AVCodecContext* decoder, bool video) {
            for (;;) {
                const int r = avcodec_receive_frame(decoder, decoded.get());
                if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                    return;
                if (r == AVERROR_INVALIDDATA)
                    continue;
                Check(r, video ? "cannot decode the source's video" : "cannot decode the source's audio");
                if (video)
                    takeVideo(decoded.get());
                else
                    takeAudio(decoded.get());
                av_frame_unref(decoded.get());
            }
        };
        const auto decode = [&](AVCodecContext* decoder, const AVPacket* p, bool video) {
            const int r = avcodec_send_packet(decoder, p);
            if (r == AVERROR_INVALIDDATA || r == AVERROR_EOF)
                return;  // a damaged packet is skipped
            if (r != AVERROR(EAGAIN))
                Check(r, video ? "cannot decode the source's video" : "cannot decode the source's audio");
            drain(decoder, video);
            if (r == AVERROR(EAGAIN)) {
                const int again = avcodec_send_packet(decoder, p);
                if (again < 0 && again != AVERROR_INVALIDDATA)
                    Check(again, video ? "cannot decode the source's video" : "cannot decode the source's audio");
                drain(decoder, video);
            }
        };

        // Audio whose packets all carry the same time (some RealMedia files) can only be placed
        // by counting its samples from the beginning: then the source is read from the start.
        std::deque<PacketPtr> preRead;
        bool seekable = start > 0;
        if (seekable && inAudio) {
            int audioPackets = 0;
            int64_t firstTs = AV_NOPTS_VALUE;
            bool advances = false;
            while (preRead.size() < 256 && audioPackets < 16 && !advances) {
                PacketPtr p = MakePacket();
                if (av_read_frame(ic, p.get()) < 0)
                    break;
                if (p->stream_index == inAudio->index) {
                    ++audioPackets;
                    const int64_t ts = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
                    if (ts != AV_NOPTS_VALUE && firstTs == AV_NOPTS_VALUE)
                        firstTs = ts;
                    else if (ts != AV_NOPTS_VALUE && ts != firstTs)
                        advances = true;
                }
                preRead.push_back(std::move(p));
            }
            if (audioPackets >= 4 && !advances)
                seekable = false;
        }
        // Seek close to the start: the key frame at or before it, with some audio lead.
        if (seekable) {
            preRead.clear();
            const int64_t target = std::max<int64_t>(zero, windowStart - kMicros / 2);
            // By the stream that is converted: an unread (discarded) video stream cannot guide it.
            const AVStream* guide = inVideo ? inVideo : inAudio;
            const int64_t guideTarget = av_rescale_q(target, kMicrosBase, guide->time_base);
            if (av_seek_frame(ic, guide->index, guideTarget, AVSEEK_FLAG_BACKWARD) < 0)
                av_seek_frame(ic, -1, zero, AVSEEK_FLAG_BACKWARD);  // decode from the beginning
        }

        while (!StopRequested() && !failure.Failed()) {
            if (videoDone.load() && (audioDone.load() || audioPastEnd))
                break;
            int r = 0;
            if (!preRead.empty()) {
                av_packet_move_ref(packet.get(), preRead.front().get());
                preRead.pop_front();
            } else {
                r = av_read_frame(ic, packet.get());
            }
            if (r == AVERROR(EAGAIN)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            if (r < 0)
                break;  // the end, or an unreadable rest: convert what was read
            if (inVideo && packet->stream_index == inVideo->index && !videoDone.load())
                decode(videoDecoder.get(), packet.get(), true);
            else if (inAudio && packet->stream_index == inAudio->index && !audioPastEnd)
                decode(audioDecoder.get(), packet.get(), false);
            av_packet_unref(packet.get());
        }
        if (!failure.Failed()) {
            if (videoDecoder && !videoDone.load())
                decode(videoDecoder.get(), nullptr, true);
            if (audioDecoder && !audioPastEnd)
                decode(audioDecoder.get(), nullptr, false);
        }
        videoDecoded.Close();
        audioDecoded.Close();
    });

    // Video: constant-rate selection and filtering.
    if (inVideo) {
        spawn([&] {
            const int64_t maxFrames =
                length < kNoLimit ? av_rescale_rnd(length, rate.num, int64_t(rate.den) * kMicros, AV_ROUND_UP) : INT64_MAX;
            FrameSelector selector(rate, maxFrames, job.sourceFrameRate);
            VideoFilter filter(frame, aspect, videoEncoder->pix_fmt, rate);
            FramePtr slot = MakeFrame();
            const auto toEncoder = [&](AVFrame* filtered) {
                TimedFrame item;
                item.frame = MakeFrame();
                av_frame_move_ref(item.frame.get(), filtered);
                videoFiltered.Push(std::move(item));
            };
            const auto emit = [&](AVFrame* picture, int64_t n) {
                Check(av_frame_ref(slot.get(), picture), "the video filter failed");
                slot->pts = n;
                slot->pict_type = AV_PICTURE_TYPE_NONE;
                filter.Push(slot.get(), toEncoder);
                av_frame_unref(slot.get());
            };
            TimedFrame item;
            while (videoDecoded.Pop(item)) {
                if (selector.Done())
                    continue;  // past the end: let the decoder run out
                selector.Offer(std::move(item), emit);
                if (selector.Done())
                    videoDone = true;
            }
            if (failure.Failed())
                return;
            selector.Finish(emit);
            filter.Flush(toEncoder);
            videoDone = true;
            videoFiltered.Close();
        });

        // Video encoding.
        spawn([&] {
            PacketPtr packet = MakePacket();
            TimedFrame item;
            int64_t n = 0;
            while (videoFiltered.Pop(item)) {
                item.frame->pts = n++;
                item.frame->pict_type = AV_PICTURE_TYPE_NONE;
                EncodeFrame(videoEncoder.get(), item.frame.get(), packet.get(), muxer, outVideo, true);
            }
            if (failure.Failed())
                return;
            EncodeFrame(videoEncoder.get(), nullptr, packet.get(), muxer, outVideo, true);
        });
    }

    // Audio: filtering, then encoding on a thread of its own (the encoder, LAME above all, is the
    // costly part of an audio-only job).
    if (inAudio) {
        spawn([&] {
            AudioFilter filter(audioEncoder.get(), gain, length);
            const auto toEncoder = [&](AVFrame* filtered) {
                TimedFrame item;
                item.frame = MakeFrame();
                av_frame_move_ref(item.frame.get(), filtered);
                audioFiltered.Push(std::move(item));
            };
            TimedFrame item;
            while (audioDecoded.Pop(item))
                filter.Push(item.frame.get(), toEncoder);
            if (failure.Failed())
                return;
            filter.Flush(toEncoder);
            audioFiltered.Close();
        });

        spawn([&] {
            AVCodecContext* e = audioEncoder.get();
            PacketPtr packet = MakePacket();
            const bool padLast = e->frame_size > 0 &&
                                 !(e->codec->capabilities & (AV_CODEC_CAP_VARIABLE_FRAME_SIZE | AV_CODEC_CAP_SMALL_LAST_FRAME));
            TimedFrame item;
            while (audioFiltered.Pop(item)) {
                AVFrame* f = item.frame.get();
                if (padLast && f->nb_samples < e->frame_size) {
                    // An encoder that takes whole frames only: the last one is made up with silence.
                    FramePtr padded = MakeFrame();
                    padded->format = f->format;
                    padded->sample_rate = f->sample_rate;
                    padded->nb_samples = e->frame_size;
                    Check(av_channel_layout_copy(&padded->ch_layout, &f->ch_layout), "the audio encoder failed");
                    Check(av_frame_get_buffer(padded.get(), 0), "the audio encoder failed");
                    av_samples_set_silence(padded->extended_data, 0, e->frame_size, f->ch_layout.nb_channels,
                                           static_cast<AVSampleFormat>(f->format));
                    av_samples_copy(padded->extended_data, f->extended_data, 0, 0, f->nb_samples,
                                    f->ch_layout.nb_channels, static_cast<AVSampleFormat>(f->format));
                    padded->pts = f->pts;
                    EncodeFrame(e, padded.get(), packet.get(), muxer, outAudio, false);
                } else {
                    EncodeFrame(e, f, packet.get(), muxer, outAudio, false);
                }
            }
            if (failure.Failed())
                return;
            EncodeFrame(e, nullptr, packet.get(), muxer, outAudio, false);
            audioDone = true;
        });
    }

    // Status about twice a second while the threads work.
    const bool withVideo = !StatusIsAudioOnly(o.firstOptionAfterInput, output);
    {
        std::unique_lock lock(runningMutex);
        while (running > 0) {
            runningChanged.wait_for(lock, std::chrono::milliseconds(500), [&] { return running == 0; });
            if (running == 0)
                break;
            lock.unlock();
            WriteAll(FormatStatus(muxer.Snapshot(), withVideo) + "\r");
            lock.lock();
        }
    }
    for (auto& t : threads)
        t.join();

    if (failure.Failed()) {
        WriteAll("\n");
        throw EncoderError(failure.Message());
    }
    const Progress before = muxer.Snapshot();
    const bool stopped = StopRequested();
    if (before.frames == 0 && before.seconds <= 0 && !stopped)
        throw UsageError("nothing to convert: the start time lies at or beyond the end of the source");

    Check(av_write_trailer(oc.get()), "cannot finish the output file");
    const int64_t bytes = oc->pb ? avio_size(oc->pb) : 0;
    if (oc->pb && oc->pb->error < 0)
        Check(oc->pb->error, "cannot write the output file");
    oc.CloseFile();
    if (bytes > 0)
        muxer.SetFinalBytes(bytes);
    guard.Keep();
    WriteAll(FormatStatus(muxer.Snapshot(), withVideo) + "\n");
    return stopped ? TranscodeOutcome::Stopped : TranscodeOutcome::Completed;
}

}  // namespace kestrava::encoder
