#pragma once

#include <optional>
#include <string>

#include "storage/FileSystem.h"
#include "storage/MessageBoxes.h"

// The system's folder-browse dialog, opened with no folder preselected.
class IFolderBrowser {
public:
    virtual ~IFolderBrowser() = default;
    // The chosen folder, or nothing when the user cancels.
    virtual std::optional<std::string> BrowseForFolder(const std::string& title) = 0;
};

// Lets the user browse for the output folder and accepts it only when a folder "test" can be
// made inside it; otherwise warns and keeps `currentFolder`. The folder returned is created
// when missing (errors ignored), so even a cancelled browse makes the current folder exist.
std::string SelectOutputFolder(const std::string& currentFolder, IFolderBrowser& browser,
                               IFileSystem& fs, IMessageBoxes& boxes, char separator = '/');
