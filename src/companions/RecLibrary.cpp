// librec.so: Kestrava's product strings and its splash picture.
#include <cstddef>
#include <cstring>

#include "CompanionApi.h"

extern const unsigned char kImgFlashJpeg[];
extern const std::size_t kImgFlashJpegSize;

namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

// The string table; id 3 and 6 are not used.
const StringEntry kStrings[] = {
    {0, "Dunmarrow"},
    {1, "Kestrava"},
    {2, "Batch media converter for video and audio files"},
    {4, "https://www.kestrava.example/"},
    {5, "support@kestrava.example"},
    {7, "Copyright (C) Dunmarrow. All rights reserved."},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) int LoadRecString(unsigned id, char* buffer,
                                                                     int size) {
    if (buffer == nullptr || size <= 0) return 0;
    buffer[0] = '\0';
    for (const StringEntry& entry : kStrings) {
        if (entry.id != id) continue;
        std::size_t length = std::strlen(entry.text);
        if (length > static_cast<std::size_t>(size - 1)) length = static_cast<std::size_t>(size - 1);
        std::memcpy(buffer, entry.text, length);
        buffer[length] = '\0';
        return static_cast<int>(length);
    }
    return 0;
}

extern "C" __attribute__((visibility("default"))) const void* FindRecResource(const char* name,
                                                                              const char* type,
                                                                              unsigned long* size) {
    if (name == nullptr || type == nullptr) return nullptr;
    if (std::strcmp(name, "ImgFlash") != 0 || std::strcmp(type, "jpeg") != 0) return nullptr;
    if (size != nullptr) *size = kImgFlashJpegSize;
    return kImgFlashJpeg;
}
