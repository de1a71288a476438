#include "app/BatchWindows.h"

#include <QWidget>

void TBatchWindows::ShowProgressDialog() {
    if (dialog_.isVisible()) return;
    dialog_.show();
    dialog_.raise();
}

void TBatchWindows::HideProgressDialog() { dialog_.hide(); }

void TBatchWindows::SetMainWindowEnabled(bool enabled) {
    // Disabling a widget disables its children, owned windows included; the progress dialog is
    // a window of its own and takes input while the main window does not.
    main_.setEnabled(enabled);
    dialog_.setEnabled(true);
}
