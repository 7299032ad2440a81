#include "app/DesktopNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

#include "app/CommandLine.h"
#include "form/MainForm.h"
#include "text/Latin1.h"

namespace {

constexpr int kBusTimeoutMs = 3000;

std::string MergedInto(const RunSummary& s) {
    std::vector<RunSummary::DayFile> gained;
    for (const RunSummary::DayFile& f : s.Merged)
        if (f.lines != 0) gained.push_back(f);
    return DayFileList(gained);
}

// A session bus is there to ask: without one, asking would only make the library look for a bus
// to start, which an unattended run under a scheduler must not do.
bool SessionBusConfigured() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + "/bus");
}

}  // namespace

std::optional<Notification> UnattendedRunNotification(const MainForm& F, int exitStatus) {
    if (!F.NotifyOn) return std::nullopt;
    const RunSummary& s = F.Summary;
    if (exitStatus != kExitCompleted) {
        std::string why = !s.NotSetUp.empty() ? "Drovix cannot run unattended: " + s.NotSetUp : F.LastProblem;
        if (why.empty()) why = "it ended with exit status " + std::to_string(exitStatus);
        for (char& c : why) {
            if (c == '\r' || c == '\n') c = ' ';
        }
        return Notification{"Drovix: the unattended run failed", why};
    }
    const int lines = s.MergedLines();
    if (lines == 0) return std::nullopt;
    return Notification{"Drovix merged " + std::to_string(lines) + (lines == 1 ? " record" : " records") +
                            " into Stillbeacon's logs",
                        MergedInto(s)};
}

bool SendDesktopNotification(const Notification& notification) {
    if (!SessionBusConfigured()) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                       "org.freedesktop.Notifications", "Notify");
    call << QString("Drovix") << 0u << QString("drovix") << Latin1(notification.summary)
         << Latin1(notification.body) << QStringList() << QVariantMap() << -1;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}
