#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The file system as the core sees it. Paths are plain texts in the naming the program runs
// with ("/" here); the real implementation is StdFileSystem, tests may use an in-memory one.
class IFileSystem {
public:
    struct Entry {
        std::string name;             // name inside the folder, no folder part
        bool plainDirectory = false;  // a folder carrying no other attribute
    };

    virtual ~IFileSystem() = default;

    virtual bool FileExists(const std::string& path) const = 0;       // anything that is not a folder
    virtual bool DirectoryExists(const std::string& path) const = 0;
    // Every entry of a folder except "." and ".."; empty when the folder cannot be listed.
    virtual std::vector<Entry> ListFolder(const std::string& folder) const = 0;
    // Creates the folder with its missing parents; an existing folder is no error.
    // Throws FileError when the folder cannot be made.
    virtual void CreateDirectories(const std::string& path) = 0;
    // Removes an empty folder; false when it could not be removed.
    virtual bool RemoveDirectory(const std::string& path) = 0;
    // The whole content, or nothing when the file does not exist. Throws FileError when it exists
    // but cannot be read.
    virtual std::optional<std::string> ReadFile(const std::string& path) const = 0;
    // Replaces the file with exactly these bytes: a temporary file in the same folder, renamed
    // over the old one, so a crash never leaves a truncated file. Throws FileError.
    virtual void ReplaceFile(const std::string& path, const std::string& bytes) = 0;
    // Appends the bytes, creating the file when it is missing; closed before returning.
    // Throws FileError.
    virtual void AppendFile(const std::string& path, const std::string& bytes) = 0;
    // Size in bytes; throws FileError when it cannot be read.
    virtual std::int64_t FileSize(const std::string& path) const = 0;
};

// The real file system through std::filesystem and file streams.
class StdFileSystem : public IFileSystem {
public:
    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    std::vector<Entry> ListFolder(const std::string& folder) const override;
    void CreateDirectories(const std::string& path) override;
    bool RemoveDirectory(const std::string& path) override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    void ReplaceFile(const std::string& path, const std::string& bytes) override;
    void AppendFile(const std::string& path, const std::string& bytes) override;
    std::int64_t FileSize(const std::string& path) const override;
};

// The process-wide real file system.
IFileSystem& DefaultFileSystem();
