#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        Path_ = std::filesystem::temp_directory_path() /
                ("kestrava-storage-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(Path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return Path_; }
    // The folder with its trailing separator, as the program folder is passed around.
    std::string Slash() const { return Path_.string() + "/"; }
    std::string operator/(const std::string& name) const { return (Path_ / name).string(); }

    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path Path_;
};
