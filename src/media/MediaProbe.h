#pragma once

#include <cstdint>
#include <string>

// Reads a media file's duration. src/platform implements it on libavformat; tests use a fake.
class IMediaProbe {
public:
    virtual ~IMediaProbe() = default;
    // Whole seconds, cut; 0 when the file cannot be opened or tells no duration. Never throws.
    virtual std::int64_t GetMediaDuration(const std::string& name) = 0;
};
