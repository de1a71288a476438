#pragma once

#include <string>
#include <vector>

#include "storage/FileSystem.h"

inline constexpr const char* kProfileFile = "UserProfileInfo.ini";
inline constexpr const char* kProfileCountFile = "UserProfileCount.ini";

// The custom-profile files in the Config folder beside the program: one section per profile
// whose only key is the profile name again and whose value is six indices joined with "|"; and
// the counter of Add commands that proposes new names. Every call opens its own INI engine.
class TProfileFiles {
public:
    explicit TProfileFiles(std::string appPath, IFileSystem& fs = DefaultFileSystem(),
                           char separator = '/');

    // The section names of Config/<fileName>, in file order; empty for a missing file.
    std::vector<std::string> ReadProfileNames(const std::string& fileName) const;
    // The stored value of one profile, empty when there is none.
    std::string ReadProfile(const std::string& fileName, const std::string& profileName) const;

    void WriteProfile(const std::string& profileName, const std::string& value);
    void EraseProfile(const std::string& profileName);
    // Reads the Add counter n (0 when missing), stores n + 1 and returns it.
    int CountAdd();

    std::string ConfigFile(const std::string& fileName) const;

private:
    std::string appPath_;
    IFileSystem& fs_;
    char separator_;
};
