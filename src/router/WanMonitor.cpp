#include "router/WanMonitor.h"

#include <QLocale>
#include <QTimer>

#include "files/LineAppender.h"
#include "form/MainForm.h"
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

// The locale's short time format with the seconds after the minutes, when it has none: two
// changes within one minute must be told apart.
QString TimeFormatWithSeconds(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1Char('s'))) return format;
    const qsizetype minutes = format.lastIndexOf(QLatin1String("mm"));
    if (minutes < 0) return format + QLatin1String(":ss");
    const QChar separator =
        minutes > 0 && !format[minutes - 1].isLetter() ? format[minutes - 1] : QLatin1Char(':');
    return format.insert(minutes + 2, separator + QLatin1String("ss"));
}

// The date in the locale's short form and the time with seconds, in 8-bit text.
std::string LocalDateTimeText(const QDateTime& now, const QLocale& locale) {
    QString text = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                   locale.toString(now.time(), TimeFormatWithSeconds(locale));
    for (QChar& c : text) {
        if (c.isSpace()) c = QLatin1Char(' ');  // some locales use narrow no-break spaces
    }
    return text.toLatin1().toStdString();
}

}  // namespace

std::string WanLogLine(const QDateTime& now, const std::string& address, const QLocale& locale) {
    std::string line = LocalDateTimeText(now, locale);
    line.append(kPrintZone - line.size() % kPrintZone, ' ');
    return line + address;
}

std::string GetWan(MainForm& F) {
    if (F.PW.Text.empty() || F.router.StatusURL.empty()) return {};
    const std::string page = FetchPage(F, F.router.StatusURL);
    return F.router.NewFamily ? NewFamilyWan(page) : StandardWan(page);
}

void CompAddr_Click(MainForm& F) {
    F.SettingsChanged = true;
    MatchWanMonitorToBox(F);
}

void MatchWanMonitorToBox(MainForm& F) {
    if (F.CompAddr.Value == F.router.WanMonitorOn) return;
    F.router.WanMonitorOn = F.CompAddr.Value;
    if (F.router.WanMonitorOn) {
        Timer1(F).start();
        Timer1_Timer(F);
    } else if (F.router.Timer1) {
        F.router.Timer1->stop();
    }
}

void StopWanChecks(MainForm& F) {
    F.router.WanMonitorOn = false;
    if (F.router.Timer1) F.router.Timer1->stop();
}

void Timer1_Timer(MainForm& F) {
    // A refresh is waiting for a router page: check at the next tick instead of in between.
    if (F.router.ActiveFetches > 0) return;
    QTimer& timer = Timer1(F);
    timer.stop();
    const unsigned generation = F.router.CancelGeneration;
    const bool closing = F.UnloadRequested, quitting = F.QuitRequested;
    const std::string address = GetWan(F);
    // Exit or a cancel cut the fetch short: its empty page says nothing about the address.
    const bool cutShort = F.router.CancelGeneration != generation || F.UnloadRequested != closing ||
                          F.QuitRequested != quitting;
    if (!cutShort && address != F.CurrWanAddr.Caption) {
        std::string error;
        if (!AppendLine(F.ProgramDir + "IPAddressLog.txt", WanLogLine(F.clock.Now(), address), error)) {
            return;  // monitoring stays stopped until the option is switched off and on
        }
        F.CurrWanAddr.Caption = address;
        F.CurrWanAddr.Visible = true;
        F.LIPA.Visible = true;
    }
    // Switched off (or closing) while the page was fetched: stay stopped.
    if (F.router.WanMonitorOn && !F.UnloadRequested) timer.start();
}
