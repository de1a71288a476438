#pragma once

// The encoders' command line: exactly the options Kestrava's command lines use.
// Arguments arrive split (argv). The output path is always the last argument; every option that
// takes a value takes the next argument whatever it looks like, so paths may begin with "-".

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrava::encoder {

struct Rational {
    int num = 0;
    int den = 1;
    double value() const { return den ? double(num) / den : 0.0; }
    bool operator==(const Rational&) const = default;
};

struct FrameSize {
    int width = 0;
    int height = 0;
    bool operator==(const FrameSize&) const = default;
};

struct EncoderOptions {
    bool overwrite = false;                 // -y
    std::string input;                      // -i
    std::string videoCodec;                 // -vcodec, empty: the container's choice
    std::string audioCodec;                 // -acodec, empty: the container's choice
    bool noVideo = false;                   // -vn
    bool noAudio = false;                   // -an
    std::optional<int> videoKbps;           // -b
    std::optional<FrameSize> size;          // -s
    std::optional<Rational> frameRate;      // -r
    std::optional<Rational> aspect;         // -aspect (display aspect)
    std::optional<int> audioKbps;           // -ab
    std::optional<double> volumePercent;    // -vol
    std::optional<int> channels;            // -ac
    std::optional<int> sampleRate;          // -ar
    std::string format;                     // -f
    std::string target;                     // -target
    std::optional<int64_t> startMicros;     // -ss
    std::optional<int64_t> lengthMicros;    // -t (may be zero or negative: refused later)
    std::string output;                     // the last argument
    // The option right after "-i <input>": Kestrava reads audio-only status text when it is
    // "-acodec" (and the output is not .3gp).
    std::string firstOptionAfterInput;
};

// A command line the encoder cannot take; what() says why in plain words.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// Parses the arguments after the program name. Throws UsageError.
EncoderOptions ParseEncoderArguments(const std::vector<std::string>& args);

// "-r" values: the table's decimal NTSC rates become their exact rationals (14.985 -> 15000/1001,
// 23.967 and 23.976 -> 24000/1001, 29.97 -> 30000/1001, 59.94 -> 60000/1001); whole numbers stay
// whole; anything else is read as a fraction ("30000/1001") or a decimal. Throws UsageError.
Rational ParseFrameRate(const std::string& text);

// A rate given as a decimal number (the script's fps=29.9700898503294): within 0.01% of an NTSC
// rate k*1000/1001 or of a whole number it snaps to that, otherwise the nearest small fraction.
Rational RateFromDecimal(double fps);

// "hh:mm:ss[.frac]", "mm:ss" or seconds; a leading "-" makes it negative. Throws UsageError.
int64_t ParseTimeMicros(const std::string& text, const std::string& option);

}  // namespace kestrava::encoder
