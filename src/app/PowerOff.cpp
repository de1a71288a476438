#include "app/PowerOff.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <cstdio>

namespace {

constexpr int kAnswerTimeoutMs = 5000;

}  // namespace

void LogindPowerOff::PowerOff() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "kestrava: no system bus, the computer is not powered off\n");
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
        "PowerOff");
    call << false;  // not interactive
    const QDBusMessage answer = bus.call(call, QDBus::Block, kAnswerTimeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage) {
        std::fprintf(stderr, "kestrava: power-off refused: %s\n",
                     answer.errorMessage().toLocal8Bit().constData());
    }
}
