#include "encoder/EncoderOptions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace kestrava::encoder {
namespace {

bool IsBlank(const std::string& s) {
    for (unsigned char c : s)
        if (!std::isspace(c))
            return false;
    return true;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

// A decimal number, the whole text; nullopt otherwise.
std::optional<double> ReadNumber(const std::string& raw) {
    const std::string text = Trim(raw);
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Kilobits per second: "128", "128k", "128kbps"; a value of 1000 or more written with no unit is
// taken as bits per second, the way FFmpeg reads "-b 128000".
int ReadKbps(const std::string& raw, const std::string& option) {
    std::string text = Trim(raw);
    for (const char* unit : {"kbps", "kbit/s", "kb/s", "k", "K"}) {
        const std::string u = unit;
        if (text.size() > u.size() && text.compare(text.size() - u.size(), u.size(), u) == 0) {
            text.resize(text.size() - u.size());
            break;
        }
    }
    const auto v = ReadNumber(text);
    if (!v || *v <= 0)
        throw UsageError("the value after " + option + " must be a bitrate in kbit/s, not \"" + raw + "\"");
    double kbps = *v;
    if (kbps >= 100000)
        kbps /= 1000.0;
    if (kbps < 1 || kbps > 100000)
        throw UsageError("the bitrate after " + option + " is out of range: \"" + raw + "\"");
    return static_cast<int>(std::lround(kbps));
}

int ReadInteger(const std::string& raw, const std::string& option, int low, int high, const char* what) {
    const auto v = ReadNumber(raw);
    if (!v || *v != std::floor(*v) || *v < low || *v > high)
        throw UsageError("the value after " + option + " must be " + what + " (" + std::to_string(low) +
                         " to " + std::to_string(high) + "), not \"" + raw + "\"");
    return static_cast<int>(*v);
}

FrameSize ReadSize(const std::string& raw) {
    const std::string text = Trim(raw);
    struct Named {
        const char* name;
        int w, h;
    };
    static const Named names[] = {{"sqcif", 128, 96}, {"qcif", 176, 144}, {"cif", 352, 288},
                                  {"4cif", 704, 576}, {"qvga", 320, 240}, {"vga", 640, 480},
                                  {"svga", 800, 600}, {"ntsc", 720, 480}, {"pal", 720, 576},
                                  {"hd480", 852, 480}, {"hd720", 1280, 720}, {"hd1080", 1920, 1080}};
    for (const auto& n : names)
        if (text == n.name)
            return {n.w, n.h};
    const auto x = text.find_first_of("xX");
    const auto w = x == std::string::npos ? std::nullopt : ReadNumber(text.substr(0, x));
    const auto h = x == std::string::npos ? std::nullopt : ReadNumber(text.substr(x + 1));
    if (!w || !h || *w != std::floor(*w) || *h != std::floor(*h) || *w < 16 || *h < 16 || *w > 8192 ||
        *h > 8192)
        throw UsageError("the value after -s must be a frame size like 320x240, not \"" + raw + "\"");
    // Even sizes: 4:2:0 video has half-size colour planes.
    return {static_cast<int>(*w) & ~1, static_cast<int>(*h) & ~1};
}

Rational ReduceRational(int64_t num, int64_t den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const int64_t g = std::gcd(num, den);
    if (g > 1) {
        num /= g;
        den /= g;
    }
    return {static_cast<int>(num), static_cast<int>(den)};
}

// "a:b", "a/b" or a decimal, positive.
std::optional<Rational> ReadRatio(const std::string& raw) {
    const std::string text = Trim(raw);
    const auto sep = text.find_first_of(":/");
    if (sep != std::string::npos) {
        const auto a = ReadNumber(text.substr(0, sep));
        const auto b = ReadNumber(text.substr(sep + 1));
        if (!a || !b || *a <= 0 || *b <= 0 || *a > 1e6 || *b > 1e6)
            return std::nullopt;
        if (*a == std::floor(*a) && *b == std::floor(*b))
            return ReduceRational(static_cast<int64_t>(*a), static_cast<int64_t>(*b));
        return RateFromDecimal(*a / *b);
    }
    const auto v = ReadNumber(text);
    if (!v || *v <= 0 || *v > 1e6)
        return std::nullopt;
    return RateFromDecimal(*v);
}

}  // namespace

Rational RateFromDecimal(double fps) {
    if (fps <= 0 || !std::isfinite(fps))
        return {0, 1};
    for (int k = 1; k <= 240; ++k) {
        const double ntsc = k * 1000.0 / 1001.0;
        if (std::fabs(fps - k) <= k * 1e-4)
            return {k, 1};
        if (std::fabs(fps - ntsc) <= ntsc * 1e-4)
            return {k * 1000, 1001};
    }
    // The nearest fraction with a denominator up to 1001 (continued fractions).
    int64_t h0 = 0, h1 = 1, k0 = 1, k1 = 0;
    double x = fps;
    for (int i = 0; i < 32; ++i) {
        const int64_t a = static_cast<int64_t>(std::floor(x));
        const int64_t h2 = a * h1 + h0, k2 = a * k1 + k0;
        if (k2 > 1001 || h2 > 1000000)
            break;
        h0 = h1;
        h1 = h2;
        k0 = k1;
        k1 = k2;
        const double frac = x - a;
        if (frac < 1e-9)
            break;
        x = 1.0 / frac;
    }
    return ReduceRational(h1, k1 ? k1 : 1);
}

Rational ParseFrameRate(const std::string& raw) {
    const std::string text = Trim(raw);
    // Kestrava's table writes the NTSC rates as rounded decimals; "23.967" is the
    // table's spelling of the NTSC film rate 23.976 (24000/1001).
    struct Named {
        const char* text;
        Rational rate;
    };
    static const Named names[] = {{"14.985", {15000, 1001}}, {"23.967", {24000, 1001}},
                                  {"23.976", {24000, 1001}}, {"23.98", {24000, 1001}},
                                  {"29.97", {30000, 1001}},  {"59.94", {60000, 1001}},
                                  {"ntsc", {30000, 1001}},   {"pal", {25, 1}},
                                  {"film", {24, 1}},         {"ntsc-film", {24000, 1001}}};
    for (const auto& n : names)
        if (text == n.text)
            return n.rate;
    const auto r = ReadRatio(text);
    if (!r || r->num <= 0 || r->value() < 1 || r->value() > 240)
        throw UsageError("the value after -r must be a frame rate like 25 or 29.97, not \"" + raw + "\"");
    return *r;
}

int64_t ParseTimeMicros(const std::string& raw, const std::string& option) {
    std::string text = Trim(raw);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.erase(0, 1);
    }
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const auto colon = text.find(':', from);
        parts.push_back(text.substr(from, colon == std::string::npos ? std::string::npos : colon - from));
        if (colon == std::string::npos)
            break;
        from = colon + 1;
    }
    const auto bad = [&] {
        return UsageError("the value after " + option + " must be a time like 00:01:30 or 90, not \"" + raw + "\"");
    };
    if (parts.size() > 3 || text.empty())
        throw bad();
    double seconds = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const auto v = ReadNumber(parts[i]);
        if (!v || *v < 0 || (!last && *v != std::floor(*v)) || parts[i].find_first_of("eE+-") != std::string::npos)
            throw bad();
        seconds = seconds * 60 + *v;
    }
    if (seconds > 1e9)
        throw bad();
    const int64_t micros = std::llround(seconds * 1e6);
    return negative ? -micros : micros;
}

EncoderOptions ParseEncoderArguments(const std::vector<std::string>& rawArgs) {
    const std::vector<std::string>& args = rawArgs;
    if (args.empty())
        throw UsageError("no arguments; usage: -y -i <input> [options] <output>");
    EncoderOptions o;
    o.output = args.back();
    const size_t optionCount = args.size() - 1;
    bool sawInput = false;
    bool expectFirstAfterInput = false;
    for (size_t i = 0; i < optionCount; ++i) {
        const std::string& opt = args[i];
        if (IsBlank(opt))  // an empty option fragment carries nothing
            continue;
        if (expectFirstAfterInput) {
            o.firstOptionAfterInput = opt;
            expectFirstAfterInput = false;
        }
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= optionCount)
                throw UsageError("the option " + opt + " needs a value" +
                                 (i + 1 == optionCount ? " (the last argument is the output file)" : ""));
            return args[++i];
        };
        if (opt == "-y") {
            o.overwrite = true;
        } else if (opt == "-i") {
            if (sawInput)
                throw UsageError("only one input file (-i) is allowed");
            o.input = value();
            sawInput = true;
            expectFirstAfterInput = true;
        } else if (opt == "-vcodec" || opt == "-c:v" || opt == "-codec:v") {
            o.videoCodec = Trim(value());
        } else if (opt == "-acodec" || opt == "-c:a" || opt == "-codec:a") {
            o.audioCodec = Trim(value());
        } else if (opt == "-vn") {
            o.noVideo = true;
        } else if (opt == "-an") {
            o.noAudio = true;
        } else if (opt == "-b" || opt == "-b:v") {
            o.videoKbps = ReadKbps(value(), opt);
        } else if (opt == "-s") {
            o.size = ReadSize(value());
        } else if (opt == "-r") {
            o.frameRate = ParseFrameRate(value());
        } else if (opt == "-aspect") {
            const std::string& v = value();
            const auto r = ReadRatio(v);
            if (!r || r->value() < 0.1 || r->value() > 10)
                throw UsageError("the value after -aspect must be a display aspect like 4:3 or 16:9, not \"" + v + "\"");
            o.aspect = r;
        } else if (opt == "-ab" || opt == "-b:a") {
            o.audioKbps = ReadKbps(value(), opt);
        } else if (opt == "-vol") {
            const std::string& v = value();
            const auto n = ReadNumber(v);
            if (!n || *n < 0 || *n > 10000)
                throw UsageError("the value after -vol must be a volume in percent (100 keeps the level), not \"" + v + "\"");
            o.volumePercent = *n;
        } else if (opt == "-ac") {
            o.channels = ReadInteger(value(), opt, 1, 8, "a channel count");
        } else if (opt == "-ar") {
            o.sampleRate = ReadInteger(value(), opt, 8000, 192000, "a sample rate in Hz");
        } else if (opt == "-f") {
            o.format = Trim(value());
            if (o.format.empty())
                throw UsageError("the value after -f must name a container");
        } else if (opt == "-target") {
            o.target = Trim(value());
        } else if (opt == "-ss") {
            o.startMicros = ParseTimeMicros(value(), opt);
            if (*o.startMicros < 0)
                throw UsageError("the start time after -ss cannot be negative");
        } else if (opt == "-t") {
            o.lengthMicros = ParseTimeMicros(value(), opt);
        } else if (!opt.empty() && opt[0] == '-') {
            throw UsageError("unknown option " + opt);
        } else {
            throw UsageError("unexpected argument \"" + opt + "\" (the output file must be the last argument)");
        }
    }
    if (!sawInput)
        throw UsageError("no input file: give it with -i");
    if (o.input.empty())
        throw UsageError("the input file name is empty");
    if (IsBlank(o.output))
        throw UsageError("the output file name is empty");
    if (o.lengthMicros && *o.lengthMicros <= 0)
        throw UsageError("the length after -t must be more than 0 seconds");
    return o;
}

}  // namespace kestrava::encoder
