#include "app/Desktop.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/QtText.h"

void QtDesktop::Open(const std::string& target) {
    const QString text = ToQt(target);
    const QUrl url = text.startsWith('/') ? QUrl::fromLocalFile(text) : QUrl(text);
    QDesktopServices::openUrl(url);
}
