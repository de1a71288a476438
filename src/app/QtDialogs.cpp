#include "app/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>

#include "app/QtText.h"

std::optional<std::string> QtFolderBrowser::BrowseForFolder(const std::string& title) {
    const QString folder = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), ToQt(title), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty()) return std::nullopt;
    return ToStd(folder);
}

std::optional<std::string> QtNamePrompt::AskName(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& proposed) {
    bool ok = false;
    const QString name = QInputDialog::getText(QApplication::activeWindow(), ToQt(caption),
                                               ToQt(prompt), QLineEdit::Normal, ToQt(proposed), &ok);
    if (!ok) return std::nullopt;
    return ToStd(name);
}
