#include "app/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "app/QtText.h"

namespace {

QMessageBox::Icon ToQtIcon(IMessageBoxes::Icon icon) {
    switch (icon) {
        case IMessageBoxes::Icon::Error: return QMessageBox::Critical;
        case IMessageBoxes::Icon::Warning: return QMessageBox::Warning;
        case IMessageBoxes::Icon::Question: return QMessageBox::Question;
        case IMessageBoxes::Icon::Information: return QMessageBox::Information;
        case IMessageBoxes::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(IMessageBoxes::Buttons buttons) {
    switch (buttons) {
        case IMessageBoxes::Buttons::Ok: return QMessageBox::Ok;
        case IMessageBoxes::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case IMessageBoxes::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

}  // namespace

int QtMessageBoxes::Show(const std::string& text, const std::string& caption, Icon icon,
                         Buttons buttons) {
    QMessageBox box(ToQtIcon(icon), ToQt(caption), ToQt(text), ToQtButtons(buttons),
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
        case QMessageBox::Ok: return kOk;
        case QMessageBox::Yes: return kYes;
        case QMessageBox::No: return kNo;
        case QMessageBox::Cancel: return kCancel;
        default: break;
    }
    // Closed with the close box or Esc: the box's escape button, as the system reports it.
    if (buttons == Buttons::Ok) return kOk;
    return buttons == Buttons::YesNo ? kNo : kCancel;
}
