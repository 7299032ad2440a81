#include "syslog/SysLogPages.h"

#include <QLocale>
#include <cctype>

#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/Progress.h"
#include "router/PageSource.h"
#include "syslog/RouterDate.h"

namespace {

constexpr int MaxPages = 10;

std::string_view Between(std::string_view text, std::string_view open, std::string_view close) {
    const auto a = text.find(open);
    if (a == std::string_view::npos) return {};
    const auto start = a + open.size();
    const auto b = text.find(close, start);
    return b == std::string_view::npos ? std::string_view{} : text.substr(start, b - start);
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == ',' || text[i] == '\t')) ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != ',' && text[i] != '\t') ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

bool AllDigits(std::string_view w) {
    if (w.empty()) return false;
    for (char c : w)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

int MonthFromName(std::string_view text) {
    if (text.size() < 3) return 0;
    std::string three;
    for (int i = 0; i < 3; ++i) three += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    static const std::string months = "janfebmaraprmayjunjulaugsepoctnovdec";
    const auto p = months.find(three);
    return p == std::string::npos || p % 3 != 0 ? 0 : static_cast<int>(p / 3) + 1;
}

bool IsStamp(std::string_view line) {
    return line.size() >= 19 && line[4] == '-' && line[10] == ' ';
}

}  // namespace

SysLogKind SysLogKindOf(const RouterState& router) {
    if (router.NewFamily) return SysLogKind::NewFamily;
    return router.NoFirewallWord ? SysLogKind::NoFirewallWord : SysLogKind::Standard;
}

std::string SysLogPageAddress(std::string base, SysLogKind kind, int page) {
    if (kind == SysLogKind::NoFirewallWord) return base;
    const char digit = static_cast<char>('0' + page % 10);
    const auto eq = base.find('=');
    if (eq != std::string::npos && eq + 1 < base.size()) base[eq + 1] = digit;
    if (kind == SysLogKind::NewFamily) {
        const auto num = base.find("Num=");
        if (num != std::string::npos && num + 4 < base.size()) base[num + 4] = digit;
    }
    return base;
}

SysLogPageRead ReadSysLogPages(MainForm& F, SysLogKind kind, const std::string& baseUrl) {
    SysLogPageRead read;
    const int last = kind == SysLogKind::NoFirewallWord ? 1 : MaxPages;
    for (int i = 0; i < last && !F.QuitRequested && !F.UnloadRequested; ++i) {
        ShowProgress(F, (i + 1) / 10.0, "Retrieving Router log pages");
        const std::string address = SysLogPageAddress(baseUrl, kind, i);
        std::string page;
        if (kind == SysLogKind::NewFamily) {
            // This family selects the page first, then shows it at one fixed address.
            if (!FetchPage(F, address).empty()) page = FetchPage(F, F.router.SysLogPageURL);
        } else {
            page = FetchPage(F, address);
        }
        if (F.QuitRequested || F.UnloadRequested) break;  // a cancelled fetch is no failure
        // An empty text is a fetch that failed; the router's own end is a page without a line feed.
        if (page.empty()) {
            read.failedPage = i;
            read.failedAddress = address;
            break;
        }
        if (page.find('\n') == std::string::npos) break;
        read.pages.push_back(std::move(page));
    }
    ShowProgress(F, -1, "");
    return read;
}

std::optional<QDateTime> RouterClock(std::string_view statusPage, bool newFamily) {
    const auto at = statusPage.find("Current Time:");
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view rest = statusPage.substr(at);
    std::string_view text;
    if (newFamily) {
        text = Between(rest, "<B>", "</B>");
    } else {
        // The value follows the label's cell; the three characters after the font tag are the
        // opening of its bold tag.
        const auto marker = rest.find("verdana size=2>");
        if (marker == std::string_view::npos || marker + 18 > rest.size()) return std::nullopt;
        text = rest.substr(marker + 18);
        text = text.substr(0, text.find('<'));
    }
    // "Mon dd yyyy hh:mm:ss": the month by its first three letters; the day, the year and the time
    // are found by their shape, so "Dec 6, 2026 14:30:00" reads too.
    const int month = MonthFromName(text);
    if (month == 0) return std::nullopt;
    int day = 0, year = 0;
    QTime time;
    for (std::string_view w : Words(text.substr(3))) {
        if (AllDigits(w) && w.size() == 4 && year == 0) {
            year = std::stoi(std::string(w));
        } else if (AllDigits(w) && w.size() <= 2 && day == 0) {
            day = std::stoi(std::string(w));
        } else if (w.find(':') != std::string_view::npos && !time.isValid()) {
            const QString t = QString::fromLatin1(w.data(), static_cast<qsizetype>(w.size()));
            time = QTime::fromString(t, "h:m:s");
            if (!time.isValid()) time = QTime::fromString(t, "h:m");
        }
    }
    QDate date(year, month, day);
    if (!date.isValid()) date = QDate(year, month, 1);
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return QDateTime(date, time);
}

std::string ReadRouterClock(MainForm& F, const QDateTime& readAt) {
    F.RouterClockOffset = drovix::ClockNotKnown;
    const std::string status = FetchPage(F, F.router.StatusURL);
    const auto clock = RouterClock(status, F.router.NewFamily);
    if (!clock) return {};
    // The router's time is taken a second before the shown one, and the offset corrected for it:
    // the offset is the computer's clock minus the clock the router showed.
    const QDateTime routerTime = clock->addSecs(-1);
    F.RouterClockOffset = routerTime.secsTo(readAt) - 1;
    return routerTime.toString("yyyy-MM-dd hh:mm:ss").toStdString();
}

std::string FirstDatedStamp(const std::vector<std::vector<std::string>>& pages) {
    for (const auto& lines : pages) {
        for (const std::string& line : lines)
            if (IsStamp(line) && IsValidDate(std::string_view(line).substr(0, 10))) return line.substr(0, 19);
    }
    return {};
}

std::string LastLineStamp(const std::vector<std::string>& lines) {
    if (lines.empty() || !IsStamp(lines.back())) return {};
    return lines.back().substr(0, 19);
}
