#pragma once

#include "conversion/BatchConversion.h"

class QWidget;

// The batch's view of the windows: the progress dialog shown without being modal, the main
// window disabled beneath it.
class TBatchWindows : public IBatchWindows {
public:
    TBatchWindows(QWidget& mainWindow, QWidget& progressDialog)
        : main_(mainWindow), dialog_(progressDialog) {}

    void ShowProgressDialog() override;
    void HideProgressDialog() override;
    void SetMainWindowEnabled(bool enabled) override;

private:
    QWidget& main_;
    QWidget& dialog_;
};
