#include "profiles/OptionsDialogLogic.h"

#include "profiles/OptionTables.h"

TOptionsDialogLogic::TOptionsDialogLogic(TQualityProfiles& profiles) : profiles_(profiles) {}

std::array<ISelector*, 9> TOptionsDialogLogic::SnapshotSelectors() {
    TSelectors& s = profiles_.Selectors();
    return {&s.cbbVideoSize,    &s.cbbVideoBitrate,    &s.cbbFramerate,
            &s.cbbAspectratio,  &s.cbbAudioBitrate,    &s.cbbAudioSample,
            &s.cbbAudioVolumeGain, &s.cbbAudioChannels, &s.cbbCustomProfile};
}

void TOptionsDialogLogic::FormShow() {
    TSelectors& s = profiles_.Selectors();
    s.cbbCustomProfile.SetItems(profiles_.Profiles().ReadProfileNames(kProfileFile));
    if (s.cbbCustomProfile.Text().empty())
        s.cbbCustomProfile.SetItemIndex(s.cbbProfile.ItemIndex() - kQualityLevelCount);
    const auto selectors = SnapshotSelectors();
    for (size_t i = 0; i < selectors.size(); ++i) snapshot_[i] = selectors[i]->ItemIndex();
}

void TOptionsDialogLogic::cbbCustomProfileChange() { profiles_.ApplyCustomProfile(); }

void TOptionsDialogLogic::ReloadAndSelectLast() {
    ISelector& box = profiles_.Selectors().cbbCustomProfile;
    box.SetItems(profiles_.Profiles().ReadProfileNames(kProfileFile));
    box.SetItemIndex(box.Count() - 1);
}

void TOptionsDialogLogic::btnAddClick(INamePrompt& prompt) {
    profiles_.AddCustomProfile(prompt);
    ReloadAndSelectLast();
}

void TOptionsDialogLogic::btnSaveClick() {
    profiles_.SaveCustomProfile();
    ReloadAndSelectLast();
}

void TOptionsDialogLogic::btnDelClick() {
    profiles_.DeleteCustomProfile();
    ReloadAndSelectLast();
    ISelector& box = profiles_.Selectors().cbbCustomProfile;
    if (box.Count() == 0) box.SetText("");
}

void TOptionsDialogLogic::btnApplyClick() {
    ISelector& quality = profiles_.Selectors().cbbProfile;
    quality.Clear();
    profiles_.FillQualityLevels(quality);
}

void TOptionsDialogLogic::btnCancelClick() {
    const auto selectors = SnapshotSelectors();
    for (size_t i = 0; i < selectors.size(); ++i) selectors[i]->SetItemIndex(snapshot_[i]);
}
