#include "platform/TestFolder.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

TestFolder::TestFolder(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed for " + pattern);
    }
    path_ = buffer.data();
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path TestFolder::MakeFolder(const std::string& relative) const {
    const fs::path folder = path_ / relative;
    fs::create_directories(folder);
    return folder;
}

fs::path TestFolder::WriteFile(const std::string& relative, const std::string& content) const {
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << content;
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
    return file;
}

fs::path TestFolder::CopyHelper(const std::string& relative) const {
    const fs::path target = path_ / relative;
    fs::create_directories(target.parent_path());
    fs::copy_file(FakeEncoderPath(), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_all, fs::perm_options::add);
    return target;
}

fs::path FakeEncoderPath() { return KESTRAVA_FAKE_ENCODER; }

std::string UniqueProgramName(const std::string& stem) {
    static std::atomic<int> counter{0};
    return "kestrava-" + stem + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter.fetch_add(1));
}
