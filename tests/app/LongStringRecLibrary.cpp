// A stand-in librec.so for the tests: long strings and no splash picture.
#include <cstring>
#include <string>

#include "CompanionApi.h"

namespace {

std::string Text(unsigned id) {
    switch (id) {
        case 1: return "Kestrava";
        case 2: return std::string(253, 'b');  // the longest string used whole
        case 4: return std::string(300, 'h');  // cut to 253
        case 5: return "tests@kestrava.example";
        default: return {};
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int LoadRecString(unsigned id, char* buffer,
                                                                     int size) {
    const std::string text = Text(id);
    if (text.empty() || buffer == nullptr || size <= 0) return 0;
    const size_t length = text.size() < static_cast<size_t>(size - 1) ? text.size() : static_cast<size_t>(size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

extern "C" __attribute__((visibility("default"))) const void* FindRecResource(const char*, const char*,
                                                                              unsigned long*) {
    return nullptr;
}
