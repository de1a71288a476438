#pragma once

#include <string>

#include "storage/Controls.h"
#include "storage/FileSystem.h"

// The user's choices that survive a restart, in "Config/UserSettings.ini" beside the program,
// section "USRInfo". The Config folder is never created here: when it is missing, every save
// throws FileError.
class TUserSettings {
public:
    // `appPath` is the program folder with its trailing separator.
    explicit TUserSettings(std::string appPath, IFileSystem& fs = DefaultFileSystem());

    // SHWDDir, SHUTDOWN (ticked only by "1"), then OutDir (the box's text as the default).
    void LoadUserSettings(ICheckBox& chkShowOutputDirectory, ICheckBox& chkShutdown,
                          ITextBox& edtOutputFolder) const;
    // SHWDDir, SHUTDOWN ("1"/"0") and OutDir, in that order, each write saving the file.
    void SaveUserSettings(const ICheckBox& chkShowOutputDirectory, const ICheckBox& chkShutdown,
                          const ITextBox& edtOutputFolder);
    // The folder the open dialog starts in; `defaultDir` when none is stored.
    std::string ReadInitDir(const std::string& defaultDir) const;
    // Stores the folder part of `dialogFileName`, with its trailing separator, as InitDir;
    // a name without a folder part stores nothing.
    void SaveInitDir(const std::string& dialogFileName, char separator = '/');

    const std::string& FileName() const { return FileName_; }

private:
    std::string FileName_;
    IFileSystem* Fs_;
};
