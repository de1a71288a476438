#pragma once

#include "media/MediaProbe.h"

// Reads durations with libavformat: open the file, find its streams, read the duration.
// Only local files are opened (no other protocol, not even from inside a playlist), and
// libav's own log is silenced for the whole process.
class AvMediaProbe : public IMediaProbe {
public:
    AvMediaProbe();
    std::int64_t GetMediaDuration(const std::string& name) override;
};
