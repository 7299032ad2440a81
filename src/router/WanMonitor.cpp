#include "router/WanMonitor.h"

#include <QFile>
#include <QLocale>
#include <QTimer>

#include "app/MainForm.h"
#include "router/PageSource.h"

namespace {

constexpr int kTimerIntervalMs = 5000;
constexpr size_t kMaxAddressLength = 15;
constexpr size_t kPrintZone = 14;

// The text between open (searched from `from`) and the next close after it, or nothing.
std::string Between(const std::string& page, size_t from, const std::string& open, const std::string& close) {
    const auto start = page.find(open, from);
    if (start == std::string::npos) return {};
    const auto end = page.find(close, start + 1);
    if (end == std::string::npos) return {};
    const std::string text = page.substr(start + open.size(), end - start - open.size());
    return text.size() <= kMaxAddressLength ? text : std::string();
}

std::string NewFamilyWan(const std::string& page) {
    auto label = page.find("Internet IP Address:");
    if (label == std::string::npos) label = page.find("Internet Address:");
    if (label == std::string::npos) return {};
    return Between(page, label + 1, "<B>", "</B>");
}

std::string StandardWan(const std::string& page) {
    const auto wan = page.find("WAN:");
    if (wan == std::string::npos) return {};
    const auto label = page.find("IP Address:", wan + 1);
    if (label == std::string::npos) return {};
    return Between(page, label + 1, "size=2>", "</td>");
}

QTimer& Timer1(MainForm& F) {
    if (!F.router.Timer1) {
        F.router.Timer1 = std::make_unique<QTimer>();
        F.router.Timer1->setInterval(kTimerIntervalMs);
        QObject::connect(F.router.Timer1.get(), &QTimer::timeout, [&F] { Timer1_Timer(F); });
    }
    return *F.router.Timer1;
}

// The date and time as the system's locale writes them, in 8-bit text.
std::string LocalDateTimeText(const QDateTime& now) {
    QString text = QLocale::system().toString(now, QLocale::ShortFormat);
    for (QChar& c : text) {
        if (c.isSpace()) c = QLatin1Char(' ');  // some locales use narrow no-break spaces
    }
    return text.toLatin1().toStdString();
}

}  // namespace

std::string WanLogLine(const QDateTime& now, const std::string& address) {
    std::string line = LocalDateTimeText(now);
    line.append(kPrintZone - line.size() % kPrintZone, ' ');
    return line + address + "\r\n";
}

std::string GetWan(MainForm& F) {
    if (F.PW.Text.empty() || F.router.StatusURL.empty()) return {};
    const std::string page = FetchPage(F, F.router.StatusURL);
    return F.router.NewFamily ? NewFamilyWan(page) : StandardWan(page);
}

void CompAddr_Click(MainForm& F) {
    F.SettingsChanged = true;
    if (F.CompAddr.Value) {
        Timer1(F).start();
        Timer1_Timer(F);
    } else if (F.router.Timer1) {
        F.router.Timer1->stop();
    }
}

void Timer1_Timer(MainForm& F) {
    // A refresh is waiting for a router page: check at the next tick instead of in between.
    if (F.router.ActiveFetches > 0) return;
    QTimer& timer = Timer1(F);
    timer.stop();
    const std::string address = GetWan(F);
    if (address != F.CurrWanAddr.Caption) {
        QFile log(QString::fromStdString(F.ProgramDir + "IPAddressLog.txt"));
        const std::string line = WanLogLine(F.clock.Now(), address);
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append) ||
            log.write(line.data(), static_cast<qint64>(line.size())) != static_cast<qint64>(line.size())) {
            return;  // monitoring stays stopped until the option is switched off and on
        }
        log.close();
        F.CurrWanAddr.Caption = address;
        F.CurrWanAddr.Visible = true;
        F.LIPA.Visible = true;
    }
    // Unchecked (or closing) while the page was fetched: stay stopped.
    if (F.CompAddr.Value && !F.UnloadRequested) timer.start();
}
