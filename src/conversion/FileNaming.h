#pragma once

#include <string>
#include <vector>

#include "storage/FileSystem.h"

// Text helpers of output naming.
class TStrFunc {
public:
    // The part after the last occurrence of `separator`, or the whole text when there is none.
    std::string TextAfterLast(const std::string& text, const std::string& separator) const;
};

// File-name helpers of output naming, in the naming given by `separator`.
class TFileFunc {
public:
    TFileFunc(IFileSystem& fs, char separator);

    // The file name without folder and without its last extension: clip.avi gives clip,
    // my.clip.avi gives my.clip; a name without a dot gives an empty base name.
    std::string FileBaseName(const std::string& path) const;
    // The folder part with its trailing separator.
    std::string FilePath(const std::string& path) const;
    // The extension of the file name, dot included; empty when the name has no dot.
    std::string FileExt(const std::string& path) const;
    // folder + name of every entry but plain sub-folders; with a filter only names whose
    // extension equals it exactly.
    std::vector<std::string> ListFiles(const std::string& folder,
                                       const std::string& extensionFilter = "") const;
    // The first of path, base_1, base_2, ... (same folder and extension) whose base name no
    // entry of the folder carries, ignoring letter case and extension.
    std::string UniqueFileName(const std::string& path);

    // The base name UniqueFileName started from.
    const std::string& StartBaseName() const { return startBaseName_; }

private:
    IFileSystem& fs_;
    char separator_;
    std::string startBaseName_;
};
