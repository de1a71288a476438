// libuse.so: the about window, shown modally over the running application.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QVBoxLayout>

#include "CompanionApi.h"

namespace {

QString Text(const char* text) { return text != nullptr ? QString::fromUtf8(text) : QString(); }

QLabel* AddLine(QVBoxLayout* layout, const QString& text, const char* name, int pointSize = 0,
                bool bold = false) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    if (pointSize > 0 || bold) {
        QFont font = label->font();
        if (pointSize > 0) font.setPointSize(pointSize);
        font.setBold(bold);
        label->setFont(font);
    }
    layout->addWidget(label);
    return label;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int ShowAboutForm(void* application,
                                                                     const KestravaSoftInfo* info) {
    if (application == nullptr || info == nullptr) return 0;
    auto* app = static_cast<QApplication*>(application);

    QDialog dialog(app->activeWindow());
    dialog.setObjectName("FrmAbout");
    dialog.setWindowTitle("About " + Text(info->ProductName));
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);

    auto* outer = new QHBoxLayout(&dialog);
    outer->setContentsMargins(20, 20, 20, 16);
    outer->setSpacing(18);

    auto* icon = new QLabel;
    icon->setPixmap(app->windowIcon().pixmap(72, 72));
    icon->setAlignment(Qt::AlignTop);
    outer->addWidget(icon);

    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    outer->addLayout(column);
    AddLine(column, Text(info->ProductName) + " " + Text(info->Version), "lblProduct", 16, true);
    AddLine(column, Text(info->ProductText2), "lblProductText2");
    AddLine(column, "by " + Text(info->MakerName), "lblMaker");
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    column->addSpacing(6);
    column->addWidget(rule);
    column->addSpacing(6);
    AddLine(column, "Home page: " + Text(info->HomePage), "lblHomePage");
    AddLine(column, "E-mail: " + Text(info->EMail), "lblEMail");
    AddLine(column, "Program folder: " + Text(info->AppPath), "lblAppPath");
    column->addSpacing(6);
    AddLine(column, Text(info->ProductText7), "lblProductText7");
    column->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    column->addWidget(buttons);

    dialog.setMinimumWidth(420);
    dialog.exec();
    return 1;
}
