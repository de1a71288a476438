#include "app/OpenFileDialog.h"

#include <QFileDialog>

#include "app/QtText.h"

QStringList QtNameFilters(const std::string& filter) {
    const QStringList parts = ToQt(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        filters << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::vector<std::string> QtOpenFileDialog::Execute(QWidget* owner, const std::string& filter,
                                                   const std::string& initialDir) {
    QFileDialog dialog(owner);
    dialog.setObjectName("dlgOpenSourceFile");
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = QtNameFilters(filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
    dialog.setDirectory(ToQt(initialDir));
    std::vector<std::string> names;
    if (dialog.exec() != QDialog::Accepted) return names;
    for (const QString& name : dialog.selectedFiles()) names.push_back(ToStd(name));
    return names;
}
