#pragma once

#include <array>

#include "profiles/QualityProfiles.h"

// What the options dialog does with its selectors, apart from showing and hiding itself.
class TOptionsDialogLogic {
public:
    explicit TOptionsDialogLogic(TQualityProfiles& profiles);

    // Reloads the profile names, selects the main window's custom profile when the box is
    // empty, and takes the snapshot that Cancel restores.
    void FormShow();
    void cbbCustomProfileChange();
    // Add, Save and Delete: the file operation, then the names reloaded with the last selected.
    void btnAddClick(INamePrompt& prompt);
    void btnSaveClick();
    void btnDelClick();
    // OK: the quality selector is cleared and filled again (the dialog then hides).
    void btnApplyClick();
    // Cancel: the nine selections of the snapshot come back (the dialog then hides).
    void btnCancelClick();

private:
    void ReloadAndSelectLast();
    std::array<ISelector*, 9> SnapshotSelectors();

    TQualityProfiles& profiles_;
    std::array<int, 9> snapshot_{-1, -1, -1, -1, -1, -1, -1, -1, -1};
};
