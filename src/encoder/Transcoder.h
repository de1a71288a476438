#pragma once

// One conversion: demux -> decode -> one filter graph per stream ("in" ... "out") -> encode ->
// mux, on four threads (demux and decode; video frame selection and filtering; video encoding;
// audio filtering and encoding), with the status line printed from the calling thread.

#include "encoder/EncoderOptions.h"

#include <optional>
#include <string>

namespace kestrava::encoder {

struct TranscodeJob {
    EncoderOptions options;
    std::string sourcePath;                   // the media file to read
    // ravc: the script's fps with convertfps=true. The source is first made constant-rate at this
    // rate (each grid point shows the latest frame at or before it), then converted to -r.
    std::optional<Rational> sourceFrameRate;
};

enum class TranscodeOutcome {
    Completed,  // the output is complete
    Stopped,    // a stop signal ended the run; the output was finished and plays
};

// Runs the conversion. Throws EncoderError or UsageError with a plain-words message; a throw
// leaves no output file behind (an existing file is only replaced once writing has begun).
TranscodeOutcome Transcode(const TranscodeJob& job);

}  // namespace kestrava::encoder
