#pragma once

#include <QEventLoop>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QTimer;

// The busy window "Reading file information...": a blue panel with a white label whose text
// spins once a second while files are read.
class TFrmInitFileForm : public QWidget {
    Q_OBJECT
public:
    explicit TFrmInitFileForm(QWidget* owner);

    // The names the next showing adds.
    void SetFileList(const std::vector<std::string>& names) { fileList_ = names; }
    const std::vector<std::string>& FileList() const { return fileList_; }
    // Shows the window and returns when it has closed itself.
    void ShowModal();

    // What the work step runs: the adding of the names, then the storing of the initial folder.
    // The owner runs both inside its handler guard.
    std::function<void(const std::vector<std::string>&)> AddFiles;
    std::function<void()> SaveInitDir;

    // Handlers.
    void FormShow();
    void Timer1Timer();
    void Timer2Timer();
    void FormClose();

    QFrame* bsSkinPanel1;
    QLabel* Image1;
    QLabel* lblInfo;
    QTimer* Timer1;
    QTimer* Timer2;
    int SpinStep = 1;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::vector<std::string> fileList_;
    QEventLoop* modalLoop_ = nullptr;
};
