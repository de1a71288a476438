#include "storage/UserSettings.h"

#include <utility>

#include "storage/IniFile32.h"

namespace {

constexpr const char* kSection = "USRInfo";

const char* Flag(const ICheckBox& box) { return box.Checked() ? "1" : "0"; }

}  // namespace

TUserSettings::TUserSettings(std::string appPath, IFileSystem& fs)
    : FileName_(std::move(appPath) + "Config/UserSettings.ini"), Fs_(&fs) {}

void TUserSettings::LoadUserSettings(ICheckBox& chkShowOutputDirectory, ICheckBox& chkShutdown,
                                     ITextBox& edtOutputFolder) const {
    const TIniFile32 ini(FileName_, *Fs_);
    chkShowOutputDirectory.SetChecked(ini.ReadString(kSection, "SHWDDir", "0") == "1");
    chkShutdown.SetChecked(ini.ReadString(kSection, "SHUTDOWN", "0") == "1");
    edtOutputFolder.SetText(ini.ReadString(kSection, "OutDir", edtOutputFolder.Text()));
}

void TUserSettings::SaveUserSettings(const ICheckBox& chkShowOutputDirectory,
                                     const ICheckBox& chkShutdown,
                                     const ITextBox& edtOutputFolder) {
    TIniFile32 ini(FileName_, *Fs_);
    ini.WriteString(kSection, "SHWDDir", Flag(chkShowOutputDirectory));
    ini.WriteString(kSection, "SHUTDOWN", Flag(chkShutdown));
    ini.WriteString(kSection, "OutDir", edtOutputFolder.Text());
}

std::string TUserSettings::ReadInitDir(const std::string& defaultDir) const {
    return TIniFile32(FileName_, *Fs_).ReadString(kSection, "InitDir", defaultDir);
}

void TUserSettings::SaveInitDir(const std::string& dialogFileName, char separator) {
    const std::size_t last = dialogFileName.rfind(separator);
    if (last == std::string::npos) return;
    TIniFile32(FileName_, *Fs_).WriteString(kSection, "InitDir", dialogFileName.substr(0, last + 1));
}
