#include "profiles/QualityProfiles.h"

#include <array>
#include <string>

#include "media/TimeCode.h"
#include "profiles/OptionTables.h"
#include "storage/MessageBoxes.h"

namespace {

void FillFromTable(ISelector& selector, const std::vector<std::string>& table) {
    for (const std::string& item : SelectorItems(table)) selector.AddItem(item);
    selector.SetItemIndex(SelectorDefault(table));
}

}  // namespace

TQualityProfiles::TQualityProfiles(TSelectors selectors, TProfileFiles& profiles)
    : s_(selectors), profiles_(profiles) {}

void TQualityProfiles::FillOutputFileTypes(ISelector& s) { FillFromTable(s, cstOutputFileTypes()); }
void TQualityProfiles::FillAspectRatios(ISelector& s) { FillFromTable(s, cstAspectRatios()); }
void TQualityProfiles::FillVideoBitrates(ISelector& s) { FillFromTable(s, cstVideoBitrates()); }
void TQualityProfiles::FillAudioBitrates(ISelector& s) { FillFromTable(s, cstAudioBitrates()); }
void TQualityProfiles::FillAudioChannels(ISelector& s) { FillFromTable(s, cstAudioChannels()); }
void TQualityProfiles::FillFrameRates(ISelector& s) { FillFromTable(s, cstFrameRates()); }
void TQualityProfiles::FillSampleRates(ISelector& s) { FillFromTable(s, cstSampleRates()); }
void TQualityProfiles::FillVolumeLevels(ISelector& s) { FillFromTable(s, cstVolumeLevels()); }
void TQualityProfiles::FillVideoSizes(ISelector& s) { FillFromTable(s, cstVideoSizes()); }

void TQualityProfiles::FillQualityLevels(ISelector& selector) {
    const std::vector<std::string> table = cstQualityNames();
    for (const std::string& item : SelectorItems(table)) selector.AddItem(item);
    for (const std::string& name : profiles_.ReadProfileNames(kProfileFile)) selector.AddItem(name);
    selector.SetItemIndex(SelectorDefault(table));
}

void TQualityProfiles::FillAllSelectors(const std::function<void()>& loadUserSettings) {
    FillOutputFileTypes(s_.cbbOutputFiletype);
    FillQualityLevels(s_.cbbProfile);
    FillAspectRatios(s_.cbbAspectratio);
    FillVideoBitrates(s_.cbbVideoBitrate);
    FillAudioBitrates(s_.cbbAudioBitrate);
    FillAudioChannels(s_.cbbAudioChannels);
    FillFrameRates(s_.cbbFramerate);
    FillSampleRates(s_.cbbAudioSample);
    FillVolumeLevels(s_.cbbAudioVolumeGain);
    FillVideoSizes(s_.cbbVideoSize);

    // The custom-profile box lists the same names that followed the quality levels, so that a
    // custom profile picked in the main window applies before the options dialog was ever shown.
    std::vector<std::string> names;
    for (int i = kQualityLevelCount; i < s_.cbbProfile.Count(); ++i)
        names.push_back(s_.cbbProfile.Item(i));
    s_.cbbCustomProfile.SetItems(names);
    s_.cbbCustomProfile.SetText("");

    if (loadUserSettings) loadUserSettings();
}

void TQualityProfiles::ApplyQualityProfile() {
    const int quality = s_.cbbProfile.ItemIndex();
    std::string row = kNoPresetRow;
    if (quality <= kQualityLevelCount - 1) {
        row = QualityPresetRow(s_.cbbOutputFiletype.ItemIndex(), quality);
    } else {
        s_.cbbCustomProfile.SetItemIndex(quality - kQualityLevelCount);
        ApplyCustomProfile();
    }

    ISelector* targets[] = {&s_.cbbVideoSize,    &s_.cbbFramerate,     &s_.cbbVideoBitrate,
                            &s_.cbbAudioBitrate, &s_.cbbAudioChannels, &s_.cbbAudioSample};
    const std::vector<std::string> fields = SplitText(row, '|');
    for (size_t i = 0; i < fields.size() && i < std::size(targets); ++i) {
        if (fields[i] != "none") targets[i]->SetItemIndex(StrToIntStrict(fields[i]));
    }
}

std::string TQualityProfiles::ReadSelectedCustomProfile() const {
    const std::string name = s_.cbbCustomProfile.SelectedText();
    return profiles_.ReadProfile(kProfileFile, name);
}

void TQualityProfiles::ApplyCustomProfile() {
    const std::string value = ReadSelectedCustomProfile();
    if (value.empty()) return;
    const std::vector<std::string> pieces = SplitText(value, '|');
    if (pieces.size() != 6) return;
    ISelector* targets[] = {&s_.cbbVideoSize,    &s_.cbbFramerate,     &s_.cbbVideoBitrate,
                            &s_.cbbAudioBitrate, &s_.cbbAudioChannels, &s_.cbbAudioSample};
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (!pieces[i].empty()) targets[i]->SetItemIndex(StrToIntStrict(pieces[i]));
    }
}

std::string TQualityProfiles::CurrentProfileValue() const {
    const ISelector* sources[] = {&s_.cbbVideoSize,    &s_.cbbFramerate,     &s_.cbbVideoBitrate,
                                  &s_.cbbAudioBitrate, &s_.cbbAudioChannels, &s_.cbbAudioSample};
    std::string value;
    for (const ISelector* s : sources) {
        if (!value.empty()) value += '|';
        value += std::to_string(s->ItemIndex());
    }
    return value;
}

bool TQualityProfiles::AddCustomProfile(INamePrompt& prompt) {
    const int next = profiles_.CountAdd();
    const std::optional<std::string> name =
        prompt.AskName(kApplicationTitle, kProfileNamePrompt,
                       "UserProfileInfo" + std::to_string(next));
    if (!name) return false;
    profiles_.WriteProfile(*name, CurrentProfileValue());
    return true;
}

void TQualityProfiles::SaveCustomProfile() {
    const std::string name = s_.cbbCustomProfile.Text();
    if (!name.empty()) profiles_.WriteProfile(name, CurrentProfileValue());
}

void TQualityProfiles::DeleteCustomProfile() {
    if (s_.cbbCustomProfile.Count() > 0) profiles_.EraseProfile(s_.cbbCustomProfile.Text());
}
