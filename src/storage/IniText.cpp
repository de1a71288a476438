#include "storage/IniText.h"

#include <cstdint>
#include <limits>

namespace IniText {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value;
}

}  // namespace

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

bool IsSectionLine(std::string_view line) {
    const std::string trimmed = Trim(line);
    return !trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']';
}

std::string KeyOfLine(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string() : Trim(line.substr(0, eq));
}

std::string ValueOfLine(std::string_view line, std::string_view key) {
    if (line.empty() || key.empty()) return {};
    const std::size_t eq = line.find('=');
    const std::size_t at = line.find(key);
    if (eq == std::string_view::npos || at == std::string_view::npos || at >= eq) return {};
    return Trim(line.substr(eq + 1));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

std::optional<int> ParseInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    // The magnitude may reach 2^31 for a negative number only.
    const std::int64_t limit =
        static_cast<std::int64_t>(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace IniText
