#include "syslog/CaptureFill.h"

#include <QDate>
#include <QDateTime>
#include <QFileDevice>
#include <algorithm>
#include <map>
#include <numeric>

#include "capture/CaptureFiles.h"
#include "files/FileBytes.h"
#include "files/LineAppender.h"
#include "syslog/HistoryFiles.h"
#include "syslog/RouterDate.h"

namespace {

std::string DayAfter(const std::string& day, int days) {
    return QDate::fromString(QString::fromStdString(day), "yyyy-MM-dd").addDays(days).toString("yyyy-MM-dd").toStdString();
}

std::string StampBefore(const std::string& stamp, long long seconds) {
    const QDateTime at = QDateTime::fromString(QString::fromStdString(stamp), "yyyy-MM-dd hh:mm:ss");
    return at.isValid() ? at.addSecs(-seconds).toString("yyyy-MM-dd hh:mm:ss").toStdString() : stamp;
}

std::string_view Stamp(const std::string& line) {
    return std::string_view(line).substr(0, 19);
}

// The history files by day. A name listed with another letter case ("dxlog ...") is still the
// file of its day: a second file for the day would split it.
std::map<std::string, std::string> HistoryNamesByDay(const std::vector<std::string>& names) {
    std::map<std::string, std::string> byDay;
    for (const std::string& name : names) {
        if (name.size() == 20 && IsValidDate(std::string_view(name).substr(6, 10))) byDay[name.substr(6, 10)] = name;
    }
    return byDay;
}

class Filling {
  public:
    Filling(const CaptureFillSetup& setup, const std::vector<std::string>& routerLines)
        : s_(setup), routerLines_(routerLines), historyByDay_(HistoryNamesByDay(setup.historyNames)) {}

    CaptureFill Run() {
        const std::string lastDay = s_.upperStamp.substr(0, 10);
        std::vector<std::string> days;
        for (const std::string& day : CaptureDays(s_.captureFolder))
            if (day >= s_.fromDay && day <= lastDay) days.push_back(day);
        if (days.empty()) return std::move(out_);
        FindWherePagesBegin(days);
        for (size_t i = 0; i < days.size() && !out_.failure; ++i) {
            if (s_.progress && s_.progress(double(i + 1) / double(days.size()))) break;
            FillDay(days[i]);
        }
        return std::move(out_);
    }

  private:
    // The days the pages span, a day earlier for the tolerance, are read first: where the pages
    // begin in the capture tells which captured lines came before them.
    void FindWherePagesBegin(const std::vector<std::string>& days) {
        firstPageDay_ = DayAfter(s_.firstStamp.substr(0, 10), -1);
        for (const std::string& day : days) {
            if (day < firstPageDay_) continue;
            const size_t begin = pagesSpan_.size();
            const auto lines = Read(day);
            if (!lines) continue;
            pagesSpan_.insert(pagesSpan_.end(), lines->begin(), lines->end());
            spanOfDay_[day] = {begin, pagesSpan_.size()};
        }
        pagesBegin_ = FindPagesInCapture(pagesSpan_, routerLines_, s_.rules, heldByPages_);
        olderThan_ = pagesBegin_ < pagesSpan_.size() ? s_.upperStamp : StampBefore(s_.firstStamp, s_.rules.tolerance);
        olderThan_ = std::min(olderThan_, s_.upperStamp);
    }

    std::optional<std::vector<std::string>> Read(const std::string& day) {
        std::string error;
        auto lines = ReadCaptureDay(s_.captureFolder, day, &error);
        if (!lines) out_.unreadable.push_back(CaptureFileName(day) + " (" + error + ")");
        return lines;
    }

    // The captured lines of the day that came before the pages and that the pages do not hold.
    std::vector<std::string> LinesBeforeThePages(const std::string& day) {
        std::vector<std::string> lines;
        const auto span = spanOfDay_.find(day);
        if (span == spanOfDay_.end()) {
            if (day >= firstPageDay_) return lines;  // read already, and could not be
            auto read = Read(day);
            if (read) lines = std::move(*read);
        } else {
            for (size_t k = span->second.first; k < span->second.second && k < pagesBegin_; ++k)
                if (!heldByPages_[k]) lines.push_back(pagesSpan_[k]);
        }
        // A line of another day in the file (written by hand) is no line of this day.
        std::erase_if(lines, [&](const std::string& line) {
            return std::string_view(line).substr(0, 10) != day || Stamp(line) >= olderThan_;
        });
        return lines;
    }

    void FillDay(const std::string& day) {
        std::vector<std::string> lines = LinesBeforeThePages(day);
        if (lines.empty()) return;
        if (s_.historyFolder.empty()) {
            out_.toList.insert(out_.toList.end(), lines.begin(), lines.end());
            return;
        }
        // The history of the day and of the days beside it, as it was before this refresh: a
        // line captured just after midnight may be stored just before it.
        historyDays_.erase(historyDays_.begin(), historyDays_.lower_bound(DayAfter(day, -1)));
        std::vector<std::string> history;
        for (const int offset : {-1, 0, 1}) {
            const auto* kept = History(DayAfter(day, offset));
            if (!kept) return;
            history.insert(history.end(), kept->begin(), kept->end());
        }
        const std::vector<size_t> pairs = PairSameEvents(lines, history, s_.rules);
        std::vector<std::string> fill;
        for (size_t i = 0; i < lines.size(); ++i)
            if (pairs[i] == Unpaired) fill.push_back(std::move(lines[i]));
        if (!fill.empty()) Write(day, fill);
    }

    // The lines of a day's history file before this refresh wrote to it; nullptr on a failure.
    const std::vector<std::string>* History(const std::string& day) {
        const auto kept = historyDays_.find(day);
        if (kept != historyDays_.end()) return &kept->second;
        std::vector<std::string>& lines = historyDays_[day];
        const auto name = historyByDay_.find(day);
        if (name == historyByDay_.end()) return &lines;
        std::string bytes;
        const FileRead read = ReadFileBytes(s_.historyFolder + name->second, bytes);
        if (!read && !read.Missing()) {
            out_.failure = CaptureFill::Failure{read.errorNumber, 10, name->second, read.error};
            return nullptr;
        }
        for (std::string& line : SplitFileLines(bytes))
            if (!line.empty()) lines.push_back(std::move(line));
        return &lines;
    }

    void Write(const std::string& day, const std::vector<std::string>& fill) {
        const auto known = historyByDay_.find(day);
        const std::string name = known != historyByDay_.end() ? known->second : HistoryFileName(day);
        const std::vector<std::string>& lines = historyDays_[day];
        const std::string routerFirst = routerLines_.empty() ? std::string() : routerLines_.front();
        const std::vector<size_t> places = HistoryPlaces(lines, fill, routerFirst, s_.firstStamp);
        const bool atTheEnd = std::all_of(places.begin(), places.end(), [&](size_t p) { return p == lines.size(); });
        std::string error;
        int number = static_cast<int>(QFileDevice::WriteError);
        const bool written = atTheEnd ? Append(name, fill, error) : Replace(name, lines, fill, places, error, number);
        if (!written) {
            out_.failure = CaptureFill::Failure{number, 40, name, error};
            return;
        }
        for (const std::string& line : fill) ++out_.written[line];
        out_.namesWritten.push_back(name);
    }

    bool Append(const std::string& name, const std::vector<std::string>& fill, std::string& error) {
        LineAppender file;
        if (!file.Open(s_.historyFolder + name, error)) return false;
        for (const std::string& line : fill)
            if (!file.Append(line, error)) return false;
        return true;
    }

    bool Replace(const std::string& name, const std::vector<std::string>& lines, const std::vector<std::string>& fill,
                 const std::vector<size_t>& places, std::string& error, int& number) {
        std::vector<size_t> order(fill.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return places[a] < places[b]; });
        std::string bytes;
        size_t next = 0;
        for (size_t k = 0; k <= lines.size(); ++k) {
            for (; next < order.size() && places[order[next]] == k; ++next) bytes += fill[order[next]] + "\r\n";
            if (k < lines.size()) bytes += lines[k] + "\r\n";
        }
        return SaveFileAtomically(s_.historyFolder + name, bytes, &error, &number);
    }

    const CaptureFillSetup& s_;
    const std::vector<std::string>& routerLines_;
    const std::map<std::string, std::string> historyByDay_;
    CaptureFill out_;
    std::vector<std::string> pagesSpan_;  // the captured lines of the days the pages span
    std::map<std::string, std::pair<size_t, size_t>> spanOfDay_;
    std::vector<bool> heldByPages_;
    size_t pagesBegin_ = 0;
    std::string firstPageDay_;
    std::string olderThan_;
    std::map<std::string, std::vector<std::string>> historyDays_;
};

}  // namespace

CaptureFill FillFromCapture(const CaptureFillSetup& setup, const std::vector<std::string>& routerLines) {
    return Filling(setup, routerLines).Run();
}
