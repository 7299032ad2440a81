#include "stdlog/CompareSBLogs.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileBytes.h"
#include "form/MainForm.h"
#include "form/Progress.h"
#include "sblog/HiddenLists.h"
#include "sblog/SbLineReader.h"
#include "sblog/SbLogFolder.h"

namespace {

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string_view BeforeParen(std::string_view cell) {
    return cell.substr(0, cell.find('('));
}

// "80 - http" gives "http"; a cell without " - " is taken whole.
std::string_view AfterDash(std::string_view cell) {
    const std::size_t p = cell.find(" - ");
    return p == std::string_view::npos ? cell : cell.substr(p + 3);
}

// The first n characters of a text (the whole text when shorter).
std::string_view Left(std::string_view s, std::size_t n) {
    return s.substr(0, std::min(n, s.size()));
}

// Length of an address up to and including its third dot: the network part compared to tell
// a record of the same network from a missing one. The whole text plus one with fewer dots.
std::size_t NetworkLength(std::string_view a) {
    std::size_t pos = std::string_view::npos;
    for (int dots = 0; dots < 3; ++dots) {
        pos = a.find('.', pos == std::string_view::npos ? 0 : pos + 1);
        if (pos == std::string_view::npos) return a.size() + 1;
    }
    return pos + 1;
}

// What processing one line asks of the walk. A line that met a hidden row is compared once more
// with the next row; a line that flagged its row as missing steps one line back towards the
// newer lines first, so a line that does both goes back to the newer line before it.
struct LineOutcome {
    bool ignored = false;
    bool again = false;
};

// One run of the comparison: the row pointers and the miss counter of the merge walk.
class SbLogComparison {
  public:
    explicit SbLogComparison(MainForm& F) : F_(F), in_(F.InLog), out_(F.OutLog) {}

    void BeginPass(int pass) {
        pass_ = pass;
        inRow_ = 1;
        outRow_ = 1;
        misses_ = 0;
    }

    bool ListsExhausted() const { return inRow_ >= in_.Rows() && outRow_ >= out_.Rows(); }

    // Walks one file's record lines from the newest; true when both lists are done, so no
    // older file needs reading in this pass.
    bool WalkFile(const std::vector<std::string_view>& lines) {
        std::size_t k = lines.size();
        while (k >= 1) {
            const LineOutcome outcome = ProcessLine(lines, k - 1);
            if (ListsExhausted()) return true;
            if (outcome.again == outcome.ignored) {
                // Both: back to the newer line, if there is one; neither: on to the older line.
                if (!outcome.again)
                    --k;
                else if (k < lines.size())
                    ++k;
            }
        }
        return false;
    }

  private:
    void WriteStamp(RecordGrid& list, int row, const SbRecordView& r) {
        list.SetTextMatrix(row, 0, r.date);
        list.SetTextMatrix(row, 1, r.time);
    }

    LineOutcome ProcessLine(const std::vector<std::string_view>& lines, std::size_t k) {
        // A line whose list is done already changes nothing; most lines of a long walk are such.
        const char direction = lines[k][FindDirectionMarker(lines[k]) + 1];
        if (direction == 'I' ? inRow_ >= in_.Rows() : outRow_ >= out_.Rows()) return {};
        const SbRecordView r = ReadSbRecord(lines[k], F_.NbspChar.empty() ? '\xA0' : F_.NbspChar[0]);
        if (r.direction == 'I') return ProcessIncoming(r);
        if (r.direction == 'O') return ProcessOutgoing(r, lines, k);
        return {};
    }

    bool IncomingFoundAhead(const SbRecordView& r) const {
        for (int j = inRow_; j < in_.Rows(); ++j) {
            if (in_.TextMatrix(j, 3) != r.localPort) continue;
            const std::string_view addr = in_.TextMatrix(j, 2);
            if (Contains(addr, r.remote1) || Contains(addr, r.remote2)) return true;
        }
        return false;
    }

    // Pass 2 reads files Drovix wrote itself: a row found there was saved before, so its
    // highlight goes; a row not found there keeps its colour, so it is still saved.
    void Unflag(RecordGrid& list, int row) {
        if (list.CellBackColorAt(row, 0) == FlagColour) list.PaintRow(row, White);
    }

    LineOutcome ProcessIncoming(const SbRecordView& r) {
        bool found = IncomingFoundAhead(r);
        if (inRow_ >= in_.Rows()) return {};
        bool ignored = false, again = false;
        const std::string_view a = BeforeParen(in_.TextMatrix(inRow_, 2));
        const std::string_view p = in_.TextMatrix(inRow_, 3);
        if (CkSBAddr(F_.SBAddrList, a) || CkSBPort(F_.SBRPortList, p)) {
            ignored = true;
            in_.PaintRow(inRow_, IgnoreColour);
        }
        if (p == r.localPort && (r.remote2 == a || r.remote1 == a)) {
            WriteStamp(in_, inRow_, r);
            if (pass_ == 2) Unflag(in_, inRow_);
        } else {
            const std::size_t n = NetworkLength(a);
            const bool localHidden = CkSBPort(F_.SBLPortList, p);
            if (localHidden) ignored = true;
            const bool otherNetwork = Left(r.remote1, n) != Left(a, n) && Left(r.remote2, n) != Left(a, n);
            if (otherNetwork && !localHidden && found) {
                // The line belongs to a later row: this one is missing from the file.
                if (pass_ == 1) in_.PaintRow(inRow_, FlagColour);
                again = true;
            } else if (found) {
                // Same network, or a local port Stillbeacon does not log: counts as logged.
                if (pass_ == 1) WriteStamp(in_, inRow_, r);
                if (pass_ == 2) Unflag(in_, inRow_);
            }
        }
        if (!found && ++misses_ > 10) found = true;
        if (found) {
            ++inRow_;
            misses_ = 0;
        }
        return {ignored, again};
    }

    bool OutgoingFoundAhead(const SbRecordView& r) const {
        for (int j = outRow_; j < out_.Rows(); ++j) {
            if (!Contains(out_.TextMatrix(j, 4), r.remotePort)) continue;
            const std::string_view addr = out_.TextMatrix(j, 3);
            if (Contains(addr, r.remote1) || Contains(addr, r.remote2)) return true;
        }
        return false;
    }

    static bool NearLineHolds(const std::vector<std::string_view>& lines, std::size_t k, std::string_view a,
                              std::string_view l, std::string_view p) {
        const std::size_t first = k >= 4 ? k - 4 : 0;
        const std::size_t last = std::min(k + 4, lines.size() - 1);
        for (std::size_t i = first; i <= last; ++i)
            if (Contains(lines[i], a) && Contains(lines[i], l) && Contains(lines[i], p)) return true;
        return false;
    }

    LineOutcome ProcessOutgoing(const SbRecordView& r, const std::vector<std::string_view>& lines,
                                std::size_t k) {
        bool found = OutgoingFoundAhead(r);
        if (outRow_ >= out_.Rows()) return {};
        bool ignored = false, again = false;
        const std::string_view a = BeforeParen(out_.TextMatrix(outRow_, 3));
        const std::string_view p = AfterDash(out_.TextMatrix(outRow_, 4));
        const std::string_view l = out_.TextMatrix(outRow_, 2);
        if (CkSBAddr(F_.SBAddrList, a) || CkSBPort(F_.SBRPortList, p)) {
            ignored = true;
            found = false;
            out_.PaintRow(outRow_, IgnoreColour);
        }
        bool writeDate = true;
        // Stillbeacon may log a burst of connections in a slightly different order than the
        // router lists them: a row matching one of the neighbouring lines counts as logged.
        const bool exact = (r.remote2 == a || r.remote1 == a) && r.localAddr == l && r.remotePort == p;
        const bool logged = exact || NearLineHolds(lines, k, a, l, p);
        if (!logged && !ignored) {
            writeDate = false;
            if (pass_ == 1) out_.PaintRow(outRow_, FlagColour);
            // The line belongs to a later row; compare it with the next one.
            again = pass_ == 1 || found;
        } else if (logged && pass_ == 2 && found) {
            Unflag(out_, outRow_);
        }
        // A repeated remote party in the next row belongs to the same Stillbeacon line. Asked
        // before the stamp is written: writing the row's texts ends the views of them.
        const bool nextRepeats = outRow_ + 1 < out_.Rows() && out_.TextMatrix(outRow_ + 1, 3) == a;
        if (writeDate && pass_ == 1 && found) WriteStamp(out_, outRow_, r);
        if (nextRepeats) ++outRow_;
        ++outRow_;
        return {ignored, again};
    }

    MainForm& F_;
    RecordGrid& in_;
    RecordGrid& out_;
    int pass_ = 1;
    int inRow_ = 1, outRow_ = 1, misses_ = 0;
};

bool TakesFile(const MainForm& F, int pass, const std::string& name) {
    const bool drovixFile = IsDrovixLogName(name);
    return pass == 1 ? F.CompSB.Value && !drovixFile : F.CompDX.Value && drovixFile;
}

int CountFlagged(const RecordGrid& list) {
    int count = 0;
    for (int r = 1; r < list.Rows(); ++r)
        if (list.CellBackColorAt(r, 0) == FlagColour) ++count;
    return count;
}

}  // namespace

void CompareSBLogs(MainForm& F) {
    F.BSaveHilited.Enabled = false;
    F.stdlog.InFlagCount = 0;
    F.stdlog.OutFlagCount = 0;
    if (!F.InLog.HasRecords() && !F.OutLog.HasRecords()) return;

    // A folder that cannot be used or a file that cannot be read ends the comparison quietly (the
    // run's summary says why): going on without it would flag records Stillbeacon may well have
    // logged.
    if (!SbLogFolderProblem(F).empty()) return;
    const auto files = ListSbLogFiles(F.SbLogDir);
    if (!files) return;

    SbLogComparison walk(F);
    std::string text;
    std::vector<std::string_view> lines;
    for (int pass = 1; pass <= 2; ++pass) {
        ShowProgress(F, pass / 2.0, "Comparing to SB logs");
        walk.BeginPass(pass);
        for (auto it = files->rbegin(); it != files->rend(); ++it) {
            if (!TakesFile(F, pass, *it)) continue;
            if (F.UnloadRequested || !ReadFileBytes(F.SbLogDir + *it, text)) {
                ShowProgress(F, -1, "");
                return;
            }
            CollectRecordLines(text, lines);
            if (walk.WalkFile(lines)) break;
        }
    }
    ShowProgress(F, -1, "");
    ShowFlagCounts(F);
}

void ShowFlagCounts(MainForm& F) {
    F.stdlog.InFlagCount = CountFlagged(F.InLog);
    F.stdlog.OutFlagCount = CountFlagged(F.OutLog);
    if (F.stdlog.InFlagCount + F.stdlog.OutFlagCount > 0) F.BSaveHilited.Enabled = true;
    F.InCaption.Caption = "Incoming Log  (" + std::to_string(F.InLog.Rows() - 1) + " entries,  " +
                          std::to_string(F.stdlog.InFlagCount) + " flagged)";
    F.OutCaption.Caption = "Outgoing log  (" + std::to_string(F.OutLog.Rows() - 1) + " entries,  " +
                           std::to_string(F.stdlog.OutFlagCount) + " flagged)";
}
