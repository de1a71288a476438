#include "media/TimeCode.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "storage/Errors.h"

std::vector<std::string> SplitText(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    for (;;) {
        const auto found = text.find(separator, start);
        if (found == std::string::npos) break;
        pieces.push_back(text.substr(start, found - start));
        start = found + 1;
    }
    if (start < text.size()) pieces.push_back(text.substr(start));
    return pieces;
}

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimBlanks(const std::string& text) {
    std::string::size_type first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// Converts an optional sign followed by digits with at most one "." (the only shapes the
// reader keeps). At least one digit is needed.
double ConvertKept(const std::string& kept) {
    std::string::size_type pos = 0;
    bool negative = false;
    if (pos < kept.size() && (kept[pos] == '+' || kept[pos] == '-')) {
        negative = kept[pos] == '-';
        ++pos;
    }
    const std::string body = kept.substr(pos);
    if (body.find_first_of("0123456789") == std::string::npos) {
        throw ConvertError("'" + kept + "' is not a valid floating point value");
    }
    double value = 0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value,
                                        std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        value = std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc() || result.ptr != body.data() + body.size()) {
        throw ConvertError("'" + kept + "' is not a valid floating point value");
    }
    return negative ? -value : value;
}

}  // namespace

double TextToNumber(const std::string& text) {
    std::string kept;
    bool dot = false, plus = false, minus = false;
    for (char c : TrimBlanks(text)) {
        if (c >= '0' && c <= '9') {
            kept += c;
        } else if (c == '.') {
            if (!dot) kept += c;
            dot = true;
        } else if (c == '+') {
            if (!plus) kept += c;
            plus = true;
        } else if (c == '-') {
            if (!minus) kept += c;
            minus = true;
        }
    }
    if (kept.size() >= 2) {
        std::string cleaned(1, kept[0]);
        for (std::string::size_type i = 1; i < kept.size(); ++i) {
            if (kept[i] != '+' && kept[i] != '-') cleaned += kept[i];
        }
        return ConvertKept(cleaned);
    }
    if (kept.empty() || kept == "-" || kept == "+") return 0;
    return ConvertKept(kept);
}

std::string PadNumber(int digits, std::int64_t divisor, std::int64_t value) {
    if (divisor == 0) throw std::invalid_argument("PadNumber: divisor is zero");
    std::string text = std::to_string(value / divisor);
    if (static_cast<int>(text.size()) < digits) {
        text.insert(0, static_cast<std::string::size_type>(digits) - text.size(), '0');
    }
    return text;
}

std::string SecondsToTimeCode(std::int64_t seconds) {
    // Worked in whole seconds rather than milliseconds, which gives the same text without the
    // overflow of seconds * 1000 for huge values.
    std::string text;
    std::int64_t rest = seconds;
    if (rest < 3600) {
        text = "00:";
    } else {
        text = PadNumber(2, 1, rest / 3600) + ":";
        rest %= 3600;
    }
    if (rest < 60) {
        text += "00:";
    } else {
        text += PadNumber(2, 60, rest) + ":";
        rest %= 60;
    }
    if (rest < 1) {
        text += "00";
    } else {
        text += PadNumber(2, 1, rest);
    }
    return text;
}

std::string ClockText(std::int64_t seconds) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%2.2lld:%2.2lld:%2.2lld",
                  static_cast<long long>(seconds / 3600),
                  static_cast<long long>((seconds % 3600) / 60),
                  static_cast<long long>(seconds % 60));
    return buffer;
}

int StrToIntStrict(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;  // from_chars takes "-" but not "+"
    int value = 0;
    const auto result = std::from_chars(first, last, value, 10);
    if (first == last || (first != text.data() && *first == '-') || result.ec != std::errc() ||
        result.ptr != last) {
        throw ConvertError("'" + text + "' is not a valid integer value");
    }
    return value;
}

bool ReadTimeCode(const std::string& text, std::int64_t& seconds) {
    const auto pieces = SplitText(text, ':');
    if (pieces.size() != 3) return false;
    const std::int64_t hours = StrToIntStrict(pieces[0]);
    const std::int64_t minutes = StrToIntStrict(pieces[1]);
    const std::int64_t secs = StrToIntStrict(pieces[2]);
    seconds = hours * 3600 + minutes * 60 + secs;
    return true;
}
