#pragma once

#include "profiles/QualityProfiles.h"
#include "storage/OutputFolderChooser.h"

class QWidget;

// The folder-browse dialog: QFileDialog::getExistingDirectory with no folder preselected.
class QtFolderBrowser : public IFolderBrowser {
public:
    std::optional<std::string> BrowseForFolder(const std::string& title) override;
};

// The text-input dialog of Add: QInputDialog with OK and Cancel.
class QtNamePrompt : public INamePrompt {
public:
    std::optional<std::string> AskName(const std::string& caption, const std::string& prompt,
                                       const std::string& proposed) override;
};
