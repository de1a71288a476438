#include "app/Companions.h"

#include <dlfcn.h>

#include "companions/CompanionApi.h"

std::string MissingLibraryText(const std::string& fileName) {
    return "'" + fileName + "' is not found. Please reinstall this program.";
}

TRecLibrary::TRecLibrary(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}

TRecLibrary::~TRecLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

std::string TRecLibrary::String(unsigned id) const {
    if (handle_ == nullptr) return {};
    const auto load = reinterpret_cast<LoadRecStringFn>(dlsym(handle_, KESTRAVA_LOAD_REC_STRING));
    if (load == nullptr) return {};
    char buffer[kRecStringBuffer] = {};
    const int length = load(id, buffer, kRecStringBuffer);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<size_t>(length < kRecStringBuffer ? length : kRecStringBuffer - 1));
}

std::string TRecLibrary::Resource(const char* name, const char* type) const {
    if (handle_ == nullptr) return {};
    const auto find =
        reinterpret_cast<FindRecResourceFn>(dlsym(handle_, KESTRAVA_FIND_REC_RESOURCE));
    if (find == nullptr) return {};
    unsigned long size = 0;
    const void* bytes = find(name, type, &size);
    if (bytes == nullptr) return {};
    return std::string(static_cast<const char*>(bytes), size);
}

TRecSoftInfo ReadSoftInfoFrom(const std::string& recPath, const std::string& version) {
    const TRecLibrary rec(recPath);
    TRecSoftInfo info;
    info.MakerName = rec.String(0);
    info.ProductName = rec.String(1);
    info.ProductText2 = rec.String(2);
    info.Version = version;
    info.HomePage = rec.String(4);
    info.EMail = rec.String(5);
    info.ProductText7 = rec.String(7);
    return info;
}

bool ShowAboutFrom(const std::string& usePath, void* application, const TRecSoftInfo& info) {
    void* handle = dlopen(usePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return false;
    const auto show = reinterpret_cast<ShowAboutFormFn>(dlsym(handle, KESTRAVA_SHOW_ABOUT_FORM));
    if (show != nullptr) {
        const KestravaSoftInfo record{info.MakerName.c_str(), info.ProductName.c_str(),
                                      info.ProductText2.c_str(), info.Version.c_str(),
                                      info.HomePage.c_str(), info.EMail.c_str(),
                                      info.ProductText7.c_str(), info.AppPath.c_str()};
        show(application, &record);
    }
    dlclose(handle);
    return show != nullptr;
}
