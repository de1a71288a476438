#pragma once

// The one place that knows FFmpeg's version differences. Everything else in src/encoder includes
// this header instead of the libav headers and calls the helpers below where the API moved between
// FFmpeg 5.1 (libavcodec 59), 6.x (60) and 7.x (61). Only the AVChannelLayout API is used for
// channels (present since 5.1, the only one left in 7.0).

#include <cstdint>
#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/mathematics.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#if LIBAVCODEC_VERSION_MAJOR < 59
#error "Kestrava's encoders need FFmpeg 5.1 or newer (libavcodec 59)"
#endif

namespace kestrava::compat {

// MPEG-4 Part 2 Simple Profile: FF_PROFILE_* became AV_PROFILE_* in FFmpeg 6.1 / 7.0.
#if defined(AV_PROFILE_MPEG4_SIMPLE)
inline constexpr int kProfileMpeg4Simple = AV_PROFILE_MPEG4_SIMPLE;
#else
inline constexpr int kProfileMpeg4Simple = FF_PROFILE_MPEG4_SIMPLE;
#endif

#if defined(AV_PROFILE_AAC_LOW)
inline constexpr int kProfileAacLow = AV_PROFILE_AAC_LOW;
#else
inline constexpr int kProfileAacLow = FF_PROFILE_AAC_LOW;
#endif

// AVFrame.duration arrived in libavutil 57.30 (FFmpeg 6.0); 5.1 only has pkt_duration.
inline int64_t FrameDuration(const AVFrame* frame) {
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100)
    return frame->duration;
#else
    return frame->pkt_duration;
#endif
}

// The encoders' supported formats: avcodec_get_supported_config (FFmpeg 7.1) replaced the
// AVCodec arrays. Each returns a pointer to a terminated list, or nullptr for "anything".
inline const AVSampleFormat* SupportedSampleFormats(const AVCodec* codec) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100)
    const void* list = nullptr;
    if (avcodec_get_supported_config(nullptr, codec, AV_CODEC_CONFIG_SAMPLE_FORMAT, 0, &list, nullptr) < 0)
        return nullptr;
    return static_cast<const AVSampleFormat*>(list);
#else
    return codec->sample_fmts;
#endif
}

inline const AVPixelFormat* SupportedPixelFormats(const AVCodec* codec) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100)
    const void* list = nullptr;
    if (avcodec_get_supported_config(nullptr, codec, AV_CODEC_CONFIG_PIX_FORMAT, 0, &list, nullptr) < 0)
        return nullptr;
    return static_cast<const AVPixelFormat*>(list);
#else
    return codec->pix_fmts;
#endif
}

// Terminated by 0.
inline const int* SupportedSampleRates(const AVCodec* codec) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100)
    const void* list = nullptr;
    if (avcodec_get_supported_config(nullptr, codec, AV_CODEC_CONFIG_SAMPLE_RATE, 0, &list, nullptr) < 0)
        return nullptr;
    return static_cast<const int*>(list);
#else
    return codec->supported_samplerates;
#endif
}

// Terminated by a zeroed layout (nb_channels 0).
inline const AVChannelLayout* SupportedChannelLayouts(const AVCodec* codec) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100)
    const void* list = nullptr;
    if (avcodec_get_supported_config(nullptr, codec, AV_CODEC_CONFIG_CHANNEL_LAYOUT, 0, &list, nullptr) < 0)
        return nullptr;
    return static_cast<const AVChannelLayout*>(list);
#else
    return codec->ch_layouts;
#endif
}

// Whether the encoder's frame is a key frame (AVFrame.key_frame deprecated in 6.1).
inline void MarkKeyFrame(AVFrame* frame, bool key) {
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 29, 100)
    if (key)
        frame->flags |= AV_FRAME_FLAG_KEY;
    else
        frame->flags &= ~AV_FRAME_FLAG_KEY;
#else
    frame->key_frame = key ? 1 : 0;
#endif
}

// The av_err2str macro uses a C99 compound literal that C++ does not have.
inline const char* ErrorText(int error, char* buffer, size_t size) {
    if (av_strerror(error, buffer, size) < 0)
        snprintf(buffer, size, "error %d", error);
    return buffer;
}

// FFmpeg 5.x registers everything itself; nothing to call. Kept as the one hook for older setups.
inline void InitLibraries() {}

}  // namespace kestrava::compat
