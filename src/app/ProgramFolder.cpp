#include "app/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "./";
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string HomeFolder() {
    const passwd* entry = getpwuid(getuid());
    std::string home = entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
    if (home.empty() || home.back() != '/') home += '/';
    return home;
}
