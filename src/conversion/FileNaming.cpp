#include "conversion/FileNaming.h"

#include "media/SourceList.h"
#include "media/TimeCode.h"

std::string TStrFunc::TextAfterLast(const std::string& text, const std::string& separator) const {
    if (separator.empty()) return text;
    const size_t at = text.rfind(separator);
    return at == std::string::npos ? text : text.substr(at + separator.size());
}

TFileFunc::TFileFunc(IFileSystem& fs, char separator) : fs_(fs), separator_(separator) {}

std::string TFileFunc::FileBaseName(const std::string& path) const {
    const std::string name = TStrFunc().TextAfterLast(path, std::string(1, separator_));
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

std::string TFileFunc::FilePath(const std::string& path) const {
    const size_t at = path.rfind(separator_);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string TFileFunc::FileExt(const std::string& path) const {
    const std::string name = TStrFunc().TextAfterLast(path, std::string(1, separator_));
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::vector<std::string> TFileFunc::ListFiles(const std::string& folder,
                                              const std::string& extensionFilter) const {
    std::vector<std::string> files;
    for (const IFileSystem::Entry& entry : fs_.ListFolder(folder)) {
        if (entry.plainDirectory) continue;
        if (!extensionFilter.empty() && FileExt(entry.name) != extensionFilter) continue;
        files.push_back(folder + entry.name);
    }
    return files;
}

std::string TFileFunc::UniqueFileName(const std::string& path) {
    startBaseName_ = FileBaseName(path);
    const std::string folder = FilePath(path);
    const std::string ext = FileExt(path);
    std::string base = startBaseName_;
    for (;;) {
        const std::string wanted = UpperAscii(base);
        bool taken = false;
        for (const std::string& file : ListFiles(folder)) {
            if (UpperAscii(FileBaseName(file)) == wanted) {
                taken = true;
                break;
            }
        }
        if (!taken) return folder + base + ext;
        if (base == startBaseName_) {
            base += "_1";
        } else {
            const size_t bar = base.rfind('_');
            const int number = StrToIntStrict(base.substr(bar + 1)) + 1;
            base = base.substr(0, bar + 1) + std::to_string(number);
        }
    }
}
