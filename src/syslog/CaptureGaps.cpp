#include "syslog/CaptureGaps.h"

#include <array>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <unordered_map>

#include "form/RecordGrid.h"
#include "form/SysLogRecord.h"
#include "syslog/RouterDate.h"
#include "syslog/RouterLineParser.h"
#include "syslog/StampSeconds.h"
#include "syslog/SysLogMatching.h"

namespace {

using R = SysLogRecord;

std::optional<long long> Seconds(std::string_view line) {
    if (line.size() < 19 || IsUndated(line)) return std::nullopt;
    return StampSeconds(line.substr(0, 10), line.substr(11, 8));
}

// The text after the stamp; all of an undated line.
std::string_view TextOf(std::string_view line) {
    if (!Seconds(line)) return line;
    return line.size() > 20 ? line.substr(20) : std::string_view();
}

// The text of an undated line after its time ("hh:mm:ss text").
std::string_view AfterTime(std::string_view line) {
    const size_t blank = line.find(' ');
    return blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
}

// Pairs lines with others, each line of others used once.
class Pairing {
  public:
    Pairing(const std::vector<std::string>& lines, const std::vector<std::string>& others, const SameEventRules& rules)
        : lines_(lines), others_(others), rules_(rules), used_(others.size(), false),
          pairs_(lines.size(), Unpaired), otherRecords_(others.size()) {
        for (size_t j = 0; j < others.size(); ++j) {
            othersAt_.push_back(Seconds(others[j]));
            byText_[TextOf(others[j])].push_back(j);
            if (othersAt_[j]) byTime_.push_back(j);
        }
        std::stable_sort(byTime_.begin(), byTime_.end(), [&](size_t a, size_t b) { return *othersAt_[a] < *othersAt_[b]; });
        grid_.SetCols(R::FieldCount);
        grid_.SetRows(2);
    }

    std::vector<size_t> Run() {
        for (size_t i = lines_.size(); i-- > 0;) PairByText(i);
        for (size_t i = lines_.size(); i-- > 0;)
            if (pairs_[i] == Unpaired) PairByRules(i);
        return pairs_;
    }

  private:
    void Take(size_t i, size_t j) {
        pairs_[i] = j;
        used_[j] = true;
    }

    // Of two equally near, the later line of others: the pages hold the router's newest lines.
    static bool Nearer(long long distance, size_t j, long long bestDistance, size_t best) {
        return best == Unpaired || distance < bestDistance || (distance == bestDistance && j > best);
    }

    void PairByText(size_t i) {
        const std::string& line = lines_[i];
        const auto at = Seconds(line);
        if (!at) {
            for (const std::string_view text : {std::string_view(line), AfterTime(line)}) {
                const auto same = byText_.find(text);
                if (same == byText_.end()) continue;
                for (auto j = same->second.rbegin(); j != same->second.rend(); ++j) {
                    if (!used_[*j]) return Take(i, *j);
                }
            }
            return;
        }
        const auto same = byText_.find(TextOf(line));
        if (same == byText_.end()) return;
        size_t best = Unpaired;
        long long bestDistance = 0;
        for (const size_t j : same->second) {
            if (used_[j] || !othersAt_[j]) continue;
            const long long distance = std::llabs(*othersAt_[j] - *at);
            if (distance <= rules_.tolerance && Nearer(distance, j, bestDistance, best)) {
                best = j;
                bestDistance = distance;
            }
        }
        if (best != Unpaired) Take(i, best);
    }

    void PairByRules(size_t i) {
        const auto at = Seconds(lines_[i]);
        if (!at) return;
        const SysLogRecord record = Parse(lines_[i]);
        auto j = std::lower_bound(byTime_.begin(), byTime_.end(), *at - rules_.tolerance,
                                  [&](size_t k, long long t) { return *othersAt_[k] < t; });
        size_t best = Unpaired;
        long long bestDistance = 0;
        for (; j != byTime_.end() && *othersAt_[*j] <= *at + rules_.tolerance; ++j) {
            if (used_[*j]) continue;
            const long long distance = std::llabs(*othersAt_[*j] - *at);
            if (Nearer(distance, *j, bestDistance, best) && Matches(OtherRecord(*j), record)) {
                best = *j;
                bestDistance = distance;
            }
        }
        if (best != Unpaired) Take(i, best);
    }

    SysLogRecord Parse(const std::string& line) const {
        std::string wan = rules_.wanAddress;  // a line that names a new WAN address must not teach it here
        return ParseRouterLine(line, rules_.lanPrefix, wan);
    }

    const SysLogRecord& OtherRecord(size_t j) {
        if (!otherRecords_[j]) otherRecords_[j] = Parse(others_[j]);
        return *otherRecords_[j];
    }

    // The very rules and tolerance that find a router record in Stillbeacon's logs, on a list of one.
    bool Matches(const SysLogRecord& row, const SysLogRecord& record) {
        std::array<std::string_view, R::RowTag + 1> texts;
        for (int c = 0; c <= R::Message; ++c) texts[static_cast<size_t>(c)] = row[c];
        texts[R::RowTag] = "R";
        grid_.SetRowTexts(1, texts);
        SysLogCompare(grid_, 1, record, rules_.tolerance);
        return grid_.TextMatrix(1, R::RowTag).empty();
    }

    const std::vector<std::string>& lines_;
    const std::vector<std::string>& others_;
    const SameEventRules& rules_;
    std::vector<bool> used_;
    std::vector<size_t> pairs_;
    std::vector<std::optional<long long>> othersAt_;
    std::unordered_map<std::string_view, std::vector<size_t>> byText_;
    std::vector<size_t> byTime_;
    std::vector<std::optional<SysLogRecord>> otherRecords_;
    RecordGrid grid_;
};

}  // namespace

std::vector<size_t> PairSameEvents(const std::vector<std::string>& lines, const std::vector<std::string>& others,
                                   const SameEventRules& rules) {
    return Pairing(lines, others, rules).Run();
}

size_t FindPagesInCapture(const std::vector<std::string>& captured, const std::vector<std::string>& pageLines,
                          const SameEventRules& rules, std::vector<bool>& heldByPages) {
    heldByPages.assign(captured.size(), false);
    size_t start = captured.size();
    const std::vector<size_t> pairs = PairSameEvents(pageLines, captured, rules);
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i] == Unpaired) continue;
        heldByPages[pairs[i]] = true;
        // An undated page line is paired by its text alone, perhaps with an older line: it does
        // not say where the pages begin.
        if (Seconds(pageLines[i])) start = std::min(start, pairs[i]);
    }
    return start;
}

std::vector<size_t> HistoryPlaces(const std::vector<std::string>& lines, const std::vector<std::string>& fill,
                                  std::string_view routerFirst, std::string_view notBefore) {
    size_t end = lines.size();
    for (size_t k = lines.size(); k-- > 0;) {
        if (lines[k] == routerFirst) {
            end = k;
            break;
        }
        if (!IsUndated(lines[k]) && std::string_view(lines[k]).substr(0, 19) < notBefore) break;
    }
    std::vector<size_t> places;
    places.reserve(fill.size());
    for (const std::string& line : fill) {
        const std::string_view stamp = std::string_view(line).substr(0, 19);
        size_t at = end;
        while (at > 0 && !IsUndated(lines[at - 1]) && std::string_view(lines[at - 1]).substr(0, 19) > stamp) --at;
        places.push_back(at);
    }
    return places;
}
