#pragma once

#include <map>
#include <set>
#include <string>

#include "storage/Errors.h"
#include "storage/FileSystem.h"

// An in-memory file system whose paths use the separator given to the constructor, so that
// Windows-style paths ("C:\Tools\Conv\") work as well as "/" ones. Folders are a set, files a
// map from path to bytes; a trailing separator names the same folder. Nothing exists until a
// test adds it (AddFolder, AddFile). A folder in ReadOnlyFolders refuses new entries.
class MemoryFileSystem : public IFileSystem {
public:
    explicit MemoryFileSystem(char separator = '/') : Sep(separator) {}

    void AddFolder(const std::string& path) { CreateDirectories(path); }
    void AddFile(const std::string& path, const std::string& bytes) {
        const std::string parent = Parent(Normal(path));
        if (!parent.empty()) CreateDirectories(parent);
        Files[Normal(path)] = bytes;
    }

    bool FileExists(const std::string& path) const override {
        return Files.count(Normal(path)) != 0;
    }
    bool DirectoryExists(const std::string& path) const override {
        return Folders.count(Normal(path)) != 0;
    }
    std::vector<Entry> ListFolder(const std::string& folder) const override {
        std::vector<Entry> entries;
        const std::string name = Normal(folder);
        if (!Folders.count(name)) return entries;
        for (const std::string& f : Folders)
            if (f != name && Parent(f) == name) entries.push_back(Entry{Leaf(f), true});
        for (const auto& [f, bytes] : Files)
            if (Parent(f) == name) entries.push_back(Entry{Leaf(f), false});
        return entries;
    }
    void CreateDirectories(const std::string& path) override {
        const std::string name = Normal(path);
        if (name.empty() || Folders.count(name)) return;
        if (Files.count(name)) throw FileError("Cannot create folder \"" + path + "\". A file");
        const std::string parent = Parent(name);
        if (!parent.empty()) CreateDirectories(parent);
        if (ReadOnlyFolders.count(parent))
            throw FileError("Cannot create folder \"" + path + "\". Read-only");
        Folders.insert(name);
    }
    bool RemoveDirectory(const std::string& path) override {
        const std::string name = Normal(path);
        if (!Folders.count(name) || !ListFolder(name).empty() || ReadOnlyFolders.count(Parent(name)))
            return false;
        Folders.erase(name);
        return true;
    }
    std::optional<std::string> ReadFile(const std::string& path) const override {
        const std::string name = Normal(path);
        if (Folders.count(name)) throw FileError("Cannot open file \"" + path + "\". A folder");
        const auto it = Files.find(name);
        if (it == Files.end()) return std::nullopt;
        return it->second;
    }
    void ReplaceFile(const std::string& path, const std::string& bytes) override {
        ++ReplaceCount;
        CheckCreatable(path, /*mayExist=*/false);
        Files[Normal(path)] = bytes;
    }
    void AppendFile(const std::string& path, const std::string& bytes) override {
        ++AppendCount;
        CheckCreatable(path, /*mayExist=*/true);
        Files[Normal(path)] += bytes;
    }
    std::int64_t FileSize(const std::string& path) const override {
        const auto it = Files.find(Normal(path));
        if (it == Files.end()) throw FileError("Cannot read the size of \"" + path + "\".");
        return static_cast<std::int64_t>(it->second.size());
    }

    char Sep;
    std::set<std::string> Folders;
    std::map<std::string, std::string> Files;
    std::set<std::string> ReadOnlyFolders;  // normalised: no trailing separator
    int ReplaceCount = 0;
    int AppendCount = 0;

private:
    std::string Normal(std::string path) const {
        while (path.size() > 1 && path.back() == Sep) path.pop_back();
        return path;
    }
    std::string Parent(const std::string& name) const {
        const std::size_t at = name.rfind(Sep);
        if (at == std::string::npos || name.size() == 1) return "";
        return at == 0 ? std::string(1, Sep) : name.substr(0, at);
    }
    std::string Leaf(const std::string& name) const { return name.substr(name.rfind(Sep) + 1); }

    // Replacing writes a new file beside the old one, so it needs a writable folder even when
    // the file exists; appending to an existing file does not.
    void CheckCreatable(const std::string& path, bool mayExist) const {
        const std::string name = Normal(path);
        const std::string parent = Parent(name);
        const auto fail = [&](const char* why) {
            throw FileError("Cannot create file \"" + path + "\". " + why);
        };
        if (Folders.count(name)) fail("A folder");
        if (!parent.empty() && !Folders.count(parent)) fail("No such folder");
        if (ReadOnlyFolders.count(parent) && !(mayExist && Files.count(name))) fail("Read-only");
    }
};
