#include "storage/OutputFolderChooser.h"

#include "storage/Errors.h"

namespace {

void CreateIgnoringErrors(IFileSystem& fs, const std::string& folder) {
    if (folder.empty() || fs.DirectoryExists(folder)) return;
    try {
        fs.CreateDirectories(folder);
    } catch (const FileError&) {
        // A folder that still does not exist is reported when the output is written.
    }
}

// Whether a folder can be made inside `folder`. A "test" folder already there counts as made
// and is left alone; only the one made here is removed again.
bool CanCreateFolderIn(IFileSystem& fs, const std::string& folder, char separator) {
    std::string probe = folder;
    if (probe.empty() || probe.back() != separator) probe += separator;
    probe += "test";
    const bool existed = fs.DirectoryExists(probe);
    bool made = false;
    try {
        fs.CreateDirectories(probe);
        made = true;
    } catch (const FileError&) {
    }
    if (made && !existed) fs.RemoveDirectory(probe);  // a failed removal is ignored
    return made;
}

}  // namespace

std::string SelectOutputFolder(const std::string& currentFolder, IFolderBrowser& browser,
                               IFileSystem& fs, IMessageBoxes& boxes, char separator) {
    std::string result;
    if (const std::optional<std::string> folder =
            browser.BrowseForFolder("Please select output folder:")) {
        if (!fs.DirectoryExists(*folder))
            ShowMessageBox(boxes, "The path is invalid.", 1);
        else if (CanCreateFolderIn(fs, *folder, separator))
            result = *folder;
        else
            ShowMessageBox(boxes, "This is a read-only path.", 1);
    }
    if (result.empty()) result = currentFolder;
    CreateIgnoringErrors(fs, result);
    return result;
}
