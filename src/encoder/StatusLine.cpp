#include "encoder/StatusLine.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace kestrava::encoder {

std::string FormatStatus(const Progress& p, bool withVideo) {
    char bitrate[32];
    if (p.seconds > 0.0)
        std::snprintf(bitrate, sizeof bitrate, "%.1fkbits/s", p.bytes * 8.0 / p.seconds / 1000.0);
    else
        std::snprintf(bitrate, sizeof bitrate, "N/A");
    const double seconds = p.seconds < 0 ? 0.0 : p.seconds;
    char line[160];
    if (withVideo)
        std::snprintf(line, sizeof line, "frame=%lld q=%.1f size=%lldkB time=%.2f bitrate=%s",
                      static_cast<long long>(p.frames), p.quality, static_cast<long long>(p.bytes / 1024), seconds,
                      bitrate);
    else
        std::snprintf(line, sizeof line, "size=%lldkB time=%.2f bitrate=%s", static_cast<long long>(p.bytes / 1024),
                      seconds, bitrate);
    return line;
}

bool StatusIsAudioOnly(const std::string& firstOptionAfterInput, const std::string& outputPath) {
    const auto slash = outputPath.rfind('/');
    const std::string name = slash == std::string::npos ? outputPath : outputPath.substr(slash + 1);
    const auto dot = name.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    return firstOptionAfterInput.rfind("-acodec", 0) == 0 && ext != ".3gp";
}

void WriteAll(const std::string& text) {
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace kestrava::encoder
