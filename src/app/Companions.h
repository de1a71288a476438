#pragma once

#include <string>

#include "storage/ProductInfo.h"

// The companion libraries in the program folder.
inline constexpr const char* kUseLibrary = "libuse.so";  // ShowAboutForm
inline constexpr const char* kRecLibrary = "librec.so";  // product strings, splash picture

// Product strings are read into a buffer of this size: at most 253 characters each.
inline constexpr int kRecStringBuffer = 254;

// "'<file>' is not found. Please reinstall this program."
std::string MissingLibraryText(const std::string& fileName);

// One loading of librec.so, unloaded when it goes out of scope.
class TRecLibrary {
public:
    explicit TRecLibrary(const std::string& path);
    ~TRecLibrary();
    TRecLibrary(const TRecLibrary&) = delete;
    TRecLibrary& operator=(const TRecLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // String `id` of the table, cut to 253 characters; empty when the table has none.
    std::string String(unsigned id) const;
    // The bytes of a named resource; empty when there is none.
    std::string Resource(const char* name, const char* type) const;

private:
    void* handle_ = nullptr;
};

// ReadSoftInfo: strings 0, 1, 2, 4, 5 and 7 of librec.so and the given version; every field
// empty that cannot be read. AppPath is left empty.
TRecSoftInfo ReadSoftInfoFrom(const std::string& recPath, const std::string& version);

// ShowAbout: loads libuse.so, calls ShowAboutForm with the application and the product
// information, and unloads it again. False when the library or its export is missing.
bool ShowAboutFrom(const std::string& usePath, void* application, const TRecSoftInfo& info);
