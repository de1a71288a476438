#include "profiles/ProfileFiles.h"

#include "storage/IniFile32.h"

TProfileFiles::TProfileFiles(std::string appPath, IFileSystem& fs, char separator)
    : appPath_(std::move(appPath)), fs_(fs), separator_(separator) {}

std::string TProfileFiles::ConfigFile(const std::string& fileName) const {
    return appPath_ + "Config" + separator_ + fileName;
}

std::vector<std::string> TProfileFiles::ReadProfileNames(const std::string& fileName) const {
    std::vector<std::string> names;
    TIniFile32(ConfigFile(fileName), fs_).ReadSections(names);
    return names;
}

std::string TProfileFiles::ReadProfile(const std::string& fileName,
                                       const std::string& profileName) const {
    return TIniFile32(ConfigFile(fileName), fs_).ReadString(profileName, profileName, "");
}

void TProfileFiles::WriteProfile(const std::string& profileName, const std::string& value) {
    TIniFile32(ConfigFile(kProfileFile), fs_).WriteString(profileName, profileName, value);
}

void TProfileFiles::EraseProfile(const std::string& profileName) {
    TIniFile32(ConfigFile(kProfileFile), fs_).EraseSection(profileName);
}

int TProfileFiles::CountAdd() {
    TIniFile32 counter(ConfigFile(kProfileCountFile), fs_);
    const int next = counter.ReadInteger("count", "count", 0) + 1;
    counter.WriteInteger("count", "count", next);
    return next;
}
