#pragma once

// What the output will be, decided from the command line (and, for -target without a norm, the
// source's frame rate): container, encoders and their settings, and the picture geometry.

#include "encoder/EncoderOptions.h"
#include "encoder/FfmpegCompat.h"

#include <optional>
#include <string>

namespace kestrava::encoder {

// A "-target" preset (vcd, svcd, dvd, dv with an optional pal-/ntsc-/film- prefix), the settings
// FFmpeg's own -target gives.
struct TargetPreset {
    std::string format;        // muxer
    std::string videoCodec;
    std::string audioCodec;
    FrameSize size;
    Rational frameRate;
    int videoKbps = 0;
    int maxKbps = 0;
    int minKbps = 0;
    int bufferBits = 0;
    int gop = 0;
    int audioKbps = 0;
    int sampleRate = 0;
    int channels = 2;
    int packetSize = 0;
    int muxRate = 0;
    AVPixelFormat pixelFormat = AV_PIX_FMT_YUV420P;
};

// sourceRate: the source's frame rate, used when the target names no norm (25 Hz sources take
// PAL, 24 Hz film, the rest NTSC). Throws UsageError for an unknown target.
TargetPreset ResolveTarget(const std::string& target, std::optional<Rational> sourceRate);

struct OutputPlan {
    const AVOutputFormat* muxer = nullptr;
    std::string extension;                  // of the output path, with its dot, as written
    bool videoAllowed = false;              // the command line and container allow video
    const AVCodec* videoEncoder = nullptr;
    unsigned videoTag = 0;                  // codec tag to force (xvid in AVI), 0: the muxer's
    bool audioAllowed = false;
    const AVCodec* audioEncoder = nullptr;
    std::optional<TargetPreset> target;
};

// Container and encoders. Throws UsageError (unknown container or codec, a codec the container
// cannot hold, an encoder this FFmpeg lacks).
OutputPlan MakeOutputPlan(const EncoderOptions& options, std::optional<Rational> sourceRate);

// Where the picture goes inside the output frame so that it keeps its own display aspect:
// letterbox or pillarbox with black. sar is the output's sample aspect ratio that makes the
// frame show displayAspect.
struct PictureBox {
    int width = 0;   // the scaled picture
    int height = 0;
    int x = 0;       // its place in the frame
    int y = 0;
    Rational sar;    // output sample aspect ratio
};
PictureBox FitPicture(int sourceWidth, int sourceHeight, Rational sourceSar, FrameSize frame,
                      Rational displayAspect);

// The display aspect of a picture (sar 0 counts as square pixels).
Rational DisplayAspectOf(int width, int height, Rational sar);

// MPEG-4 Part 2 Simple Profile level for the frame and rate (1, 2, 3, 4 (=4a), 5, 6).
int Mpeg4SimpleLevel(FrameSize frame, Rational rate, int kbps);

// The sample rate closest to wanted that the encoder takes.
int NearestSampleRate(const AVCodec* encoder, int wanted);

}  // namespace kestrava::encoder
