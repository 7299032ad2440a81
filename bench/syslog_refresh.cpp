// Times a System Log refresh that reloads a month of history files and matches it with a month
// of Stillbeacon day files (every record is there: nothing to merge), beside the time it takes
// only to read those files. Prints its figures and the peak memory (idle, after writing the
// files, after the refresh); not a test.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "PeakMemory.h"
#include "files/FileBytes.h"
#include "form/Clock.h"
#include "form/MainForm.h"
#include "form/SilentFrontend.h"
#include "syslog/SysLogDriver.h"

namespace {

constexpr int kDays = 30;
constexpr int kHistoryLines = 2000;
constexpr int kSbLines = 20000;

class FixedClock : public Clock {
  public:
    QDateTime Now() const override { return QDateTime(QDate(2026, 12, 6), QTime(23, 59, 0)); }
};

std::string Day(int d) {
    return QDate(2026, 11, 7).addDays(d).toString("yyyy-MM-dd").toStdString();
}

std::string Clock(int secs) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", secs / 3600, secs / 60 % 60, secs % 60);
    return text;
}

std::string Remote(int i) {
    return "198.51." + std::to_string(i / 250 % 250) + "." + std::to_string(i % 250);
}

// One router line of day d, number i: inbound, every tenth with a message.
std::string RouterLine(int d, int i) {
    return Day(d) + " " + Clock(i * 43) + " TCP from " + Remote(i) + ":" + std::to_string(1024 + i) +
           " to 192.168.1.100:" + std::to_string(i % 1000) + (i % 10 == 0 ? " dropped" : "");
}

// Stillbeacon's day: the same records (with hundredths), and nine other lines between each two.
std::string SbDay(int d) {
    std::string text;
    text.reserve(static_cast<size_t>(kSbLines) * 70);
    std::string date = Day(d);
    date[4] = date[7] = '/';
    for (int n = 0; n < kSbLines; ++n) {
        const int i = n / 10;
        if (n % 10 == 0) {
            text += date + " " + Clock(i * 43) + ".25 I " + Remote(i) + "\xA0TCP " +
                    std::to_string(1024 + i) + " 192.168.1.100 " + std::to_string(i % 1000) + "\r\n";
        } else {
            text += date + " " + Clock(i * 43 + n % 10 * 4) + ".50 O 203.0.113." + std::to_string(n % 200) +
                    "\xA0UDP 53 192.168.1.101 " + std::to_string(2000 + n % 3000) + "\r\n";
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const long idleKiB = PeakKiB();
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    long long bytes = 0;
    size_t largest = 0;
    std::vector<std::string> paths;
    for (int d = 0; d < kDays; ++d) {
        std::string history;
        for (int i = 0; i < kHistoryLines; ++i) history += RouterLine(d, i) + "\r\n";
        const std::string sb = SbDay(d);
        for (const auto& [name, text] :
             {std::pair{"DXLog " + Day(d) + ".txt", history}, {"Log " + Day(d) + ".txt", sb}}) {
            SaveFileAtomically(folder + name, text);
            paths.push_back(folder + name);
            bytes += static_cast<long long>(text.size());
            largest = std::max(largest, text.size());
        }
    }
    // The router still shows the last lines of the history, nothing newer.
    std::string page = "<script>x('SysLogTable.htm')</script>";
    for (int i = kHistoryLines - 20; i < kHistoryLines; ++i)
        page += "<font face=verdana size=1.5 color=#000000>" + RouterLine(kDays - 1, i) + "\n<br>";
    page += "</font>\n";
    const std::string status =
        "Current Time:</font></td><td><font face=verdana size=2><b>Dec 06 2026 23:58:30</b>";

    const long writtenKiB = PeakKiB();
    SilentFrontend frontend;
    FixedClock clock;
    MainForm F(frontend, clock);
    F.ProgramDir = F.SbLogDir = folder;
    F.IPAddr.Text = "192.168.1.1";
    F.router.StatusURL = "status";
    F.router.Pages = [&](const std::string& url) {
        if (url == "status") return status;
        return url.find("Log_Page_Num=0") != std::string::npos ? page : std::string("empty");
    };
    F.CSysLog.Value = F.CSaveSysLog.Value = F.CompSB.Value = true;
    F.Include[0].Value = true;
    for (auto& box : F.ShowMessages) box.Value = true;
    F.ShowMessages[5].Value = false;
    F.MaxTdiff.Text = "2";
    F.SysLog.Visible = true;
    F.SysLog.SetCols(12);

    QElapsedTimer timer;
    timer.start();
    SysLogMain(F);
    const qint64 refreshMs = timer.elapsed();
    const long refreshKiB = PeakKiB();

    timer.restart();
    std::string buffer;
    for (const auto& p : paths) ReadFileBytes(p, buffer);
    const qint64 readMs = timer.elapsed();

    QStringList args;
    for (const auto& p : paths) args << QString::fromStdString(p);
    timer.restart();
    QProcess cat;
    cat.setStandardOutputFile(QProcess::nullDevice());
    cat.start("cat", args);
    cat.waitForFinished(-1);
    const qint64 catMs = timer.elapsed();

    std::printf("%d history files x %d lines, %d Stillbeacon files x %d lines, %.1f MB in all\n", kDays,
                kHistoryLines, kDays, kSbLines, static_cast<double>(bytes) / 1e6);
    std::printf("listed %d rows, not in SB logs: %d\n", F.SysLog.Rows() - 1, F.syslog.NotInSbLogs);
    std::printf("refresh with matching: %lld ms; reading the files: %lld ms; cat of the files: %lld ms\n",
                static_cast<long long>(refreshMs), static_cast<long long>(readMs),
                static_cast<long long>(catMs));
    std::printf(
        "peak memory: idle %ld KiB, after writing the files %ld KiB, after the refresh %ld KiB; "
        "largest file: %zu KiB\n",
        idleKiB, writtenKiB, refreshKiB, largest / 1024);
    return 0;
}
