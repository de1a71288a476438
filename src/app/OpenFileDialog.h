#pragma once

#include <QStringList>
#include <string>
#include <vector>

class QWidget;

// The filter of the open dialog `dlgOpenSourceFile`, as pairs of "description|patterns".
inline constexpr const char* kSourceFileFilter =
    "Supported Files|*.3gp;*.mp4;*.m4v;*.mpeg;*.mpg;*.avi;*.asf;*.mov;*.wmv;*.flv;*.swf;*.rm;*.rmvb;"
    "|3GP Files (*.3gp)|*.3gp|AVI Files (*.avi)|*.avi|ASF Files (*.asf)|*.asf|MOV Files (*.mov)|*.mov"
    "|WMV Files (*.wmv)|*.wmv|MP4 File (*.mp4,*.m4v)|*.mp4;*.m4v|MPEG Files (*.mpeg,*.mpg)|*.mpeg;*.mpg;"
    "|RM Files (*.rm,*.rmvb)|*.rm;*.rmvb;";

// The filter as Qt's name filters, one per entry: the description kept as written, then its
// patterns in parentheses, blank-separated (empty patterns dropped).
QStringList QtNameFilters(const std::string& filter);

// The open dialog: several files at once, resizable; the first filter entry selected.
class IOpenFileDialog {
public:
    virtual ~IOpenFileDialog() = default;
    // The chosen names in the dialog's order; empty when cancelled.
    virtual std::vector<std::string> Execute(QWidget* owner, const std::string& filter,
                                             const std::string& initialDir) = 0;
};

class QtOpenFileDialog : public IOpenFileDialog {
public:
    std::vector<std::string> Execute(QWidget* owner, const std::string& filter,
                                     const std::string& initialDir) override;
};
