#include "syslog/SysLogMatching.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <utility>

#include "files/FileBytes.h"
#include "form/Colours.h"
#include "form/Constants.h"
#include "form/EventPacer.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "form/Progress.h"
#include "sblog/SbLogFolder.h"
#include "syslog/SbLineParser.h"
#include "syslog/SbLinesAhead.h"
#include "syslog/StampSeconds.h"
#include "syslog/TimeCursor.h"

namespace {

using R = SysLogRecord;

constexpr int HighlightLimit = 5000;
constexpr int UnloggedOnlyBox = 5;

bool SameDirection(std::string_view a, std::string_view b) {
    if (a == b) return true;
    auto pair = [&](const char* x, const char* y) { return (a == x && b == y) || (a == y && b == x); };
    return pair("I", "P") || pair("O", "B");
}

std::string_view BeforeParen(std::string_view s) {
    return s.substr(0, s.find('('));
}

bool PortsMatch(std::string_view row, std::string_view rec) {
    return row == rec || (row.empty() && (rec == "." || rec == "-"));
}

// The remote party: a placeholder pair, or the same address or name. Two empty values are no
// match: they would let any record with the same ports stand for a different attacker's.
bool RemoteMatches(const RecordGrid& list, int r, const SbLineFields& rec) {
    const std::string_view rowUrl = list.TextMatrix(r, R::RemURL);
    const std::string_view rowAddr = list.TextMatrix(r, R::RemAddr);
    return (rowUrl.empty() && rec[R::RemURL] == "!") || (rec[R::RemAddr].empty() && rowAddr == "?") ||
           (!rowUrl.empty() && rowUrl == rec[R::RemURL]) || (!rowAddr.empty() && rowAddr == rec[R::RemAddr]);
}

// "?" is a name looked up and not found: no more a party than an empty field.
bool NoRemoteParty(std::string_view address, std::string_view name) {
    return (address.empty() || address == "?") && (name.empty() || name == "?");
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Stillbeacon keeps each message one token, its blanks (and anything else that would split it)
// written as NBSP; both sides are read with blanks again.
std::string Spaced(std::string text) {
    for (char& c : text)
        if (c == '\xA0' || c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

// An event without a remote party (a spoofing notice, a packet to a LAN host) is told apart by
// what it has instead: protocol and message. Stillbeacon's line of an inbound or outbound event
// carries no message (it follows on a line of its own), so only a message it does carry must agree.
bool SameEventWithoutRemote(const RecordGrid& list, int r, const SbLineFields& rec) {
    return NoRemoteParty(list.TextMatrix(r, R::RemAddr), list.TextMatrix(r, R::RemURL)) &&
           NoRemoteParty(rec[R::RemAddr], rec[R::RemURL]) &&
           SameLetters(list.TextMatrix(r, R::Prot), rec[R::Prot]) &&
           (rec[R::Message].empty() ||
            Spaced(std::string(rec[R::Message])) == Spaced(std::string(list.TextMatrix(r, R::Message))));
}

bool RecordMatches(const RecordGrid& list, int r, const SbLineFields& rec) {
    const std::string_view rowLocal = list.TextMatrix(r, R::LocalAddr);
    return PortsMatch(list.TextMatrix(r, R::RPort), rec[R::RPort]) &&
           (BeforeParen(rowLocal) == BeforeParen(rec[R::LocalAddr]) ||
            (rowLocal.empty() && rec[R::LocalAddr] == ".")) &&
           PortsMatch(list.TextMatrix(r, R::LPort), rec[R::LPort]) &&
           (RemoteMatches(list, r, rec) || SameEventWithoutRemote(list, r, rec));
}

// A message as Stillbeacon's line holds it, blanks read back: the text alone, or, in the blank
// form of a message that came with a protocol, " " + protocol + " " + text.
bool MessageMatches(const RecordGrid& list, int r, const std::string& recMessage) {
    const std::string row = Spaced(std::string(list.TextMatrix(r, R::Message)));
    if (recMessage == row) return true;
    const std::string prot(list.TextMatrix(r, R::Prot));
    return !prot.empty() && recMessage == " " + prot + (row.empty() ? "" : " " + row);
}

void CompleteFrom(RecordGrid& list, int r, const SbLineFields& rec) {
    if (list.TextMatrix(r, R::RemAddr).empty() && !rec[R::RemAddr].empty()) {
        list.SetTextMatrix(r, R::RemAddr, std::string(rec[R::RemAddr]));
    } else if (list.TextMatrix(r, R::RemURL).empty() && !rec[R::RemURL].empty()) {
        list.SetTextMatrix(r, R::RemURL, std::string(rec[R::RemURL]));
    }
    if (list.TextMatrix(r, R::RemURL).size() < 2 && rec[R::RemURL].size() >= 2)
        list.SetTextMatrix(r, R::RemURL, std::string(rec[R::RemURL]));
}

std::optional<long long> RowSeconds(const RecordGrid& list, int row) {
    return StampSeconds(list.TextMatrix(row, R::Date), list.TextMatrix(row, R::Time));
}

// The merge writes records that are alike in every field as one line (the second would only
// repeat it), so the line in Stillbeacon's file stands for each of them: the row's twins of the
// same second are matched with it, or they would stay missing for good and be merged again and
// again.
void ClearTwins(RecordGrid& list, int r, const RowTimes& times) {
    const auto same = [&](int j) {
        for (int c = 0; c <= R::Message; ++c)
            if (list.TextMatrix(j, c) != list.TextMatrix(r, c)) return false;
        return true;
    };
    const auto at = times.time[static_cast<size_t>(r)];
    for (const int step : {-1, 1}) {
        for (int j = r + step; j >= 1 && j < list.Rows(); j += step) {
            if (list.TextMatrix(j, R::Date).empty()) continue;  // a separator
            if (times.time[static_cast<size_t>(j)] != at) break;
            if (list.TextMatrix(j, R::RowTag) == "R" && same(j)) list.SetTextMatrix(j, R::RowTag, "");
        }
    }
}

// Tries the candidate rows (the rows at or above p within the tolerance of the record's time,
// newest first) for the first that stands for the record, and marks it and its twins as logged.
// Returns where the next record's search starts.
int MatchAmong(RecordGrid& list, int p, const SbLineFields& rec, long long recTime,
               const std::vector<int>& candidates, const RowTimes& times) {
    const std::string recMessage = rec[R::Dir] == "M" ? Spaced(std::string(rec[R::Message])) : std::string();
    for (const int r : candidates) {
        if (list.TextMatrix(r, R::RowTag) != "R" || list.TextMatrix(r, R::Date).empty()) continue;
        const auto rowTime = times.time[static_cast<size_t>(r)];
        const long long diff = *rowTime - recTime;
        if (!SameDirection(list.TextMatrix(r, R::Dir), rec[R::Dir])) continue;
        if (rec[R::Dir] == "M") {
            if (!MessageMatches(list, r, recMessage)) continue;
        } else if (!RecordMatches(list, r, rec)) {
            continue;
        }
        ClearTwins(list, r, times);
        if (rec[R::Dir] != "M") CompleteFrom(list, r, rec);
        list.SetTextMatrix(r, R::RowTag, "");
        // The next Stillbeacon line may be slightly out of order: start at the oldest row still
        // within this match's time window.
        const long long threshold = *rowTime - (std::llabs(diff) + 1);
        int k = r;
        for (int j = r + 1; j < list.Rows(); ++j) {
            if (list.TextMatrix(j, R::Date).empty()) continue;
            const auto t = times.time[static_cast<size_t>(j)];
            if (!t || *t < threshold) break;
            k = j;
        }
        return k;
    }
    return p;
}

// The whole number a tolerance field starts with; 0 when it starts with none.
long long WholeNumber(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

// The times of the rows still tagged missing, oldest first. A busy day file has many lines for
// each listed row; a line with no such row within the tolerance cannot match one, and is passed
// over without being parsed. Rows matched since are dropped as they are met, so the set shrinks
// with the matching and a large tolerance does not let every line through.
class WaitingRows {
  public:
    WaitingRows(const RecordGrid& list, const RowTimes& times) : list_(list) {
        for (const auto& [seconds, row] : times.byTime) {
            if (list.TextMatrix(row, R::RowTag) != "R") continue;
            times_.push_back(seconds);
            rows_.push_back(row);
        }
        next_.resize(rows_.size() + 1);
        for (size_t i = 0; i < next_.size(); ++i) next_[i] = i;
    }
    WaitingRows(const WaitingRows&) = delete;  // the cursor looks at this one's times

    // The times of the rows waiting when the matching started, oldest first.
    const std::vector<long long>& Times() const { return times_; }

    // Whether a row still tagged missing has a time in [from, to].
    bool AnyWithin(long long from, long long to) {
        bool any = false;
        Visit(from, to, [&](int) {
            any = true;
            return false;
        });
        return any;
    }

    // The rows at or above p still tagged missing with a time in [from, to], the lowest (newest)
    // first.
    void Within(long long from, long long to, int p, std::vector<int>& rows) {
        rows.clear();
        Visit(from, to, [&](int row) {
            if (row <= p) rows.push_back(row);
            return true;
        });
        std::sort(rows.begin(), rows.end(), std::greater<>());
    }

  private:
    // Hands take the rows still tagged missing with a time in [from, to], oldest first, until it
    // returns false; the rows met that were matched since are dropped for good.
    template <typename Take>
    void Visit(long long from, long long to, Take take) {
        for (size_t i = Alive(cursor_.Seek(from)); i < rows_.size() && times_[i] <= to; i = Alive(i + 1)) {
            if (list_.TextMatrix(rows_[i], R::RowTag) != "R") {
                next_[i] = i + 1;
            } else if (!take(rows_[i])) {
                return;
            }
        }
    }

    // The first entry from i on whose row was still waiting when last looked at (the end when none).
    size_t Alive(size_t i) {
        size_t root = i;
        while (next_[root] != root) root = next_[root];
        while (next_[i] != root) i = std::exchange(next_[i], root);
        return root;
    }

    const RecordGrid& list_;
    std::vector<long long> times_;  // oldest first
    std::vector<int> rows_;         // the row of each time
    std::vector<size_t> next_;      // itself while waiting; past it once matched
    TimeCursor cursor_{times_};
};

class Matching {
  public:
    explicit Matching(MainForm& F) : F(F), list(F.SysLog) {}

    int Run() {
        if (!list.HasRecords()) return 0;
        last_ = list.Rows() - 1;
        p_ = last_;
        std::string startDate(list.TextMatrix(last_, R::Date));
        if (startDate.empty() && last_ > 1) startDate = list.TextMatrix(last_ - 1, R::Date);
        if (startDate.empty()) startDate = F.clock.Now().date().toString("yyyy-MM-dd").toStdString();
        if (!AnyRecordTakesPart()) return 0;
        times_ = ReadRowTimes(list);
        waiting_.emplace(list, times_);
        if (!ReadStillbeaconFiles(startDate)) {
            ShowProgress(F, -1, "");
            ForgetWhatIsMissing();
            return 0;
        }
        ShowProgress(F, -1, "");
        return Highlight();
    }

  private:
    // An unfinished comparison proves nothing missing: a row left tagged would be merged (or
    // exported) as missing, though Stillbeacon may have it, as soon as a record is marked by hand.
    void ForgetWhatIsMissing() {
        for (int row = 1; row < list.Rows(); ++row)
            if (list.TextMatrix(row, R::RowTag) == "R") list.SetTextMatrix(row, R::RowTag, "");
    }

    bool AnyRecordTakesPart() const {
        for (int row = last_; row >= 1; --row)
            if (list.TextMatrix(row, R::RowTag) != "N" && !list.TextMatrix(row, R::Date).empty()) return true;
        return false;
    }

    // Stillbeacon's files from the oldest listed day on, Drovix's own saves among them. When
    // there is none for that very day, the files of the later days are still read: skipping
    // them would flag, and later merge, records Stillbeacon has.
    bool ReadStillbeaconFiles(const std::string& startDate) {
        const auto names = ListSbLogFiles(F.SbLogDir);
        if (!names) return true;
        const std::string wanted = "log " + startDate.substr(0, 10);
        size_t first = 0;
        auto lower = [](std::string s) {
            for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return s;
        };
        while (first < names->size() && lower((*names)[first]).substr(0, wanted.size()) < wanted) ++first;
        const std::vector<std::string> files(names->begin() + static_cast<std::ptrdiff_t>(first),
                                             names->end());
        const long long tolerance = WholeNumber(F.MaxTdiff.Text);
        SbLinesAhead ahead(F.SbLogDir, files, waiting_->Times(), tolerance);
        SbLinesAhead::Batch batch;
        while (ahead.Next(batch))
            if (!CompareLines(batch, tolerance)) return false;
        if (const auto& failed = ahead.Failed()) {
            ReportProblem(F,
                          "Error " + std::to_string(failed->read.errorNumber) +
                              " in 'SysLogMatch' trying to open " +
                              FileInFolder(F.SbLogDir, files[failed->file], failed->read.error),
                          MsgIcon::Exclamation, MsgButtons::OK, drovix::ErrorTitle);
            return false;
        }
        return true;
    }

    // Compares the lines handed on from a piece of a file, those that may stand for a row
    // still waiting; false when Exit stopped it.
    bool CompareLines(const SbLinesAhead::Batch& batch, long long tolerance) {
        // Each file is in time order, but the files are not in one another's: a saved file
        // "Log yyyy-mm-dd hhnn.txt" comes before that day's own file and may hold later records.
        // Every file starts its search from the oldest row.
        if (batch.fileStart) p_ = last_;
        if (pacer_.Due()) ShowProgress(F, double(list.Rows() - p_) / list.Rows(), "Compare with SB");
        SbLineFields rec;
        const long long window = std::min(tolerance, 1LL << 50);
        for (const SbLinesAhead::Line& line : batch.lines) {
            if (F.QuitRequested || F.UnloadRequested) return false;
            const long long at = line.seconds;
            if (!waiting_->AnyWithin(at - window, at + window) || !SysLogParse(batch.Text(line), rec))
                continue;
            // A line whose time the parser reads at all reads it from the same bytes: its rows
            // to try are the waiting ones within the tolerance of that time.
            if (StampSeconds(rec[R::Date], rec[R::Time]) != at) continue;
            waiting_->Within(at - window, at + window, p_, candidates_);
            p_ = MatchAmong(list, p_, rec, at, candidates_, times_);
        }
        return !(F.QuitRequested || F.UnloadRequested);
    }

    int Highlight() {
        int unlogged = 0, ignored = 0;
        const bool unloggedOnly = F.ShowMessages[UnloggedOnlyBox].Value;
        std::vector<int> keep;
        for (int row = 1; row <= last_; ++row) {
            const std::string_view tag = list.TextMatrix(row, R::RowTag);
            if (tag == "R") {
                ++unlogged;
                keep.push_back(row);
            } else if (!unloggedOnly) {
                if (tag == "N") ++ignored;
                keep.push_back(row);
            }
        }
        if (unloggedOnly) list.KeepRows(keep);
        F.syslog.SysRowCount = list.Rows() - 1;
        if (unlogged > 0) {
            F.BSaveHilited.Enabled = true;
            if (unlogged < HighlightLimit) Paint("R", FlagColour, "Hilite unlogged");
        }
        if (ignored >= 1 && ignored < HighlightLimit) Paint("N", IgnoreColour, "Hilite normally ignored");
        return unlogged;
    }

    void Paint(const char* tag, Colour colour, const char* caption) {
        int painted = 0;
        for (int row = 1; row < list.Rows(); ++row) {
            if (list.TextMatrix(row, R::RowTag) != tag) continue;
            for (int c = 0; c <= R::Message; ++c)
                if (c != R::Dir) list.SetCellBackColorAt(row, c, colour);
            if (++painted % 100 == 0) ShowProgress(F, double(row) / list.Rows(), caption);
        }
        ShowProgress(F, -1, "");
    }

    MainForm& F;
    RecordGrid& list;
    int last_ = 0, p_ = 0;
    RowTimes times_;
    std::optional<WaitingRows> waiting_;
    std::vector<int> candidates_;
    EventPacer pacer_;
};

}  // namespace

RowTimes ReadRowTimes(const RecordGrid& list) {
    RowTimes t;
    const auto rows = static_cast<size_t>(std::max(list.Rows(), 1));
    t.time.resize(rows);
    t.byTime.reserve(rows);
    // The list is newest first as a rule: read from its end, its times come in order, only the
    // rows of one second backwards. Those are turned round, and a list out of order is sorted.
    for (size_t row = rows - 1; row >= 1; --row) {
        t.time[row] = RowSeconds(list, static_cast<int>(row));
        if (t.time[row]) t.byTime.emplace_back(*t.time[row], static_cast<int>(row));
    }
    for (auto run = t.byTime.begin(); run != t.byTime.end();) {
        const auto next =
            std::find_if(run, t.byTime.end(), [&](const auto& e) { return e.first != run->first; });
        std::reverse(run, next);
        run = next;
    }
    if (!std::is_sorted(t.byTime.begin(), t.byTime.end())) std::sort(t.byTime.begin(), t.byTime.end());
    return t;
}

int SysLogCompare(RecordGrid& list, int p, const SysLogRecord& record, long long tolerance,
                  const RowTimes* times) {
    SbLineFields fields;
    for (int i = 0; i < SysLogRecord::FieldCount; ++i) fields.f[static_cast<size_t>(i)] = record[i];
    return SysLogCompare(list, p, fields, tolerance, times);
}

int SysLogCompare(RecordGrid& list, int p, const SbLineFields& rec, long long tolerance,
                  const RowTimes* given) {
    RowTimes read;
    if (!given) read = ReadRowTimes(list);
    const RowTimes& times = given ? *given : read;
    const auto recTime = StampSeconds(rec[R::Date], rec[R::Time]);
    if (!recTime) return p;
    if (tolerance < 0) return p;
    // Rows from p towards the newest whose time is within the tolerance, tried newest first. Any
    // gap in days is far beyond a tolerance, so a larger one means the same.
    const long long window = std::min(tolerance, 1LL << 50);
    const auto first = std::lower_bound(times.byTime.begin(), times.byTime.end(),
                                        std::pair(*recTime - window, std::numeric_limits<int>::min()));
    const auto end = std::upper_bound(first, times.byTime.end(),
                                      std::pair(*recTime + window, std::numeric_limits<int>::max()));
    std::vector<int> candidates;
    for (auto at = first; at != end; ++at)
        if (at->second <= p) candidates.push_back(at->second);
    std::sort(candidates.begin(), candidates.end(), std::greater<>());
    return MatchAmong(list, p, rec, *recTime, candidates, times);
}

int SysLogMatch(MainForm& F) {
    return Matching(F).Run();
}
