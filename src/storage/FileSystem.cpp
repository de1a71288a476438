#include "storage/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "storage/Errors.h"

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string ErrnoText(int error) {
    return error != 0 ? std::string(std::strerror(error)) : std::string("Unknown error");
}

// A name beside `target` that nothing else uses yet: ".<name>.tmp<random>".
std::string TemporaryNameFor(const fs::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<int> pick(0, 35);
    std::string suffix;
    for (int i = 0; i < 8; ++i) suffix += kDigits[pick(generator)];
    return (target.parent_path() / ("." + target.filename().string() + ".tmp" + suffix)).string();
}

// Writes `bytes` into a new file that did not exist before; false (with errno) on any failure.
bool WriteNewFile(const std::string& path, const std::string& bytes, int& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wbx");  // "x": never reuse an existing file
    if (file == nullptr) {
        error = errno;
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (!ok) error = errno;
    errno = 0;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok;
}

}  // namespace

bool StdFileSystem::FileExists(const std::string& path) const {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool StdFileSystem::DirectoryExists(const std::string& path) const {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::vector<IFileSystem::Entry> StdFileSystem::ListFolder(const std::string& folder) const {
    std::vector<Entry> entries;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return entries;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::error_code statusError;
        const bool plain = fs::is_directory(it->symlink_status(statusError)) && !statusError;
        entries.push_back(Entry{it->path().filename().string(), plain});
    }
    return entries;
}

void StdFileSystem::CreateDirectories(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) throw FileError("Cannot create folder " + Quoted(path) + ". " + ec.message());
    if (!fs::is_directory(path, ec))
        throw FileError("Cannot create folder " + Quoted(path) + ". Not a folder");
}

bool StdFileSystem::RemoveDirectory(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(path, ec)) || ec) return false;
    return fs::remove(path, ec) && !ec;  // fails on a folder that is not empty
}

std::optional<std::string> StdFileSystem::ReadFile(const std::string& path) const {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return std::nullopt;
    if (fs::is_directory(status))
        throw FileError("Cannot open file " + Quoted(path) + ". " +
                        std::make_error_code(std::errc::is_a_directory).message());
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("Cannot open file " + Quoted(path) + ". " + ErrnoText(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileError("Cannot read file " + Quoted(path) + ". " + ErrnoText(errno));
    return bytes;
}

void StdFileSystem::ReplaceFile(const std::string& path, const std::string& bytes) {
    const fs::path target(path);
    std::error_code ec;
    std::string temporary;
    int error = 0;
    bool written = false;
    for (int attempt = 0; attempt < 16 && !written; ++attempt) {
        temporary = TemporaryNameFor(target);
        written = WriteNewFile(temporary, bytes, error);
        if (!written && error != EEXIST) break;
    }
    if (!written) {
        if (error != EEXIST) fs::remove(temporary, ec);  // a half-written file of ours
        throw FileError("Cannot create file " + Quoted(path) + ". " + ErrnoText(error));
    }

    // Keep the permissions the old file had.
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old)) fs::permissions(temporary, old.permissions(), ec);

    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw FileError("Cannot create file " + Quoted(path) + ". " + ec.message());
    }
}

void StdFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr)
        throw FileError("Cannot open file " + Quoted(path) + " for appending. " + ErrnoText(errno));
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = errno;
    errno = 0;
    if (std::fclose(file) != 0 && ok) {  // closed in every case
        ok = false;
        error = errno;
    }
    if (!ok) throw FileError("Cannot write file " + Quoted(path) + ". " + ErrnoText(error));
}

std::int64_t StdFileSystem::FileSize(const std::string& path) const {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) throw FileError("Cannot read the size of file " + Quoted(path) + ". " + ec.message());
    return static_cast<std::int64_t>(size);
}

IFileSystem& DefaultFileSystem() {
    static StdFileSystem fileSystem;
    return fileSystem;
}
