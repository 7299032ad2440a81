#include "syslog/SbLinesAhead.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "syslog/StampSeconds.h"
#include "syslog/TimeCursor.h"
#include "text/TextLines.h"

namespace {

// A piece is read, sifted and handed on at a time; a few are kept ready, so the memory held stays
// small however large the files.
constexpr size_t PieceSize = 256 * 1024;
constexpr size_t ReadyBatches = 4;

// Whether a time of a sorted list lies within [from, to].
class TimesNear {
  public:
    explicit TimesNear(const std::vector<long long>& times) : times_(times), cursor_(times) {}

    bool Any(long long from, long long to) {
        const size_t at = cursor_.Seek(from);
        return at < times_.size() && times_[at] <= to;
    }

  private:
    const std::vector<long long>& times_;
    TimeCursor cursor_;
};

}  // namespace

SbLinesAhead::SbLinesAhead(std::string folder, std::vector<std::string> names,
                           std::vector<long long> waitingTimes, long long window)
    : folder_(std::move(folder)),
      names_(std::move(names)),
      waitingTimes_(std::move(waitingTimes)),
      window_(std::min(window, 1LL << 50)) {
    try {
        reader_ = std::thread([this] { Read(); });
    } catch (const std::system_error&) {
        // No thread to be had: the files are read on the matching's own, all at once.
        threaded_ = false;
    }
}

SbLinesAhead::~SbLinesAhead() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (reader_.joinable()) reader_.join();
}

bool SbLinesAhead::Next(Batch& batch) {
    if (!threaded_ && !done_) Read();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !ready_.empty() || done_; });
    if (ready_.empty()) {
        if (thrown_) std::rethrow_exception(std::exchange(thrown_, nullptr));
        return false;
    }
    batch = std::move(ready_.front());
    ready_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return true;
}

// Waits for room among the ready batches; false when the reading is to stop.
bool SbLinesAhead::Hand(Batch&& batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return ready_.size() < ReadyBatches || stop_ || !threaded_; });
    if (stop_) return false;
    ready_.push_back(std::move(batch));
    lock.unlock();
    changed_.notify_all();
    return true;
}

void SbLinesAhead::Read() {
    std::optional<Failure> failure;
    try {
        TimesNear waiting(waitingTimes_);
        LineSeconds lineSeconds;
        std::string buffer;
        for (size_t file = 0; file < names_.size() && !failure; ++file) {
            bool fileStart = true, going = true;
            const FileRead read =
                ReadFileInPieces(folder_ + names_[file], buffer, PieceSize, [&](std::string_view piece) {
                    Batch batch;
                    batch.file = file;
                    batch.fileStart = std::exchange(fileStart, false);
                    if (batch.fileStart) piece = WithoutByteOrderMark(piece);
                    ForEachLine(piece, [&](std::string_view line) {
                        const auto at = lineSeconds(line);
                        if (window_ >= 0 && at && waiting.Any(*at - window_, *at + window_)) {
                            batch.lines.push_back({batch.bytes.size(), line.size(), *at});
                            batch.bytes.append(line);
                        }
                        return true;
                    });
                    going = Hand(std::move(batch));
                    return going;
                });
            if (!going) return;
            if (!read) failure = Failure{file, read};
        }
    } catch (...) {
        const std::lock_guard lock(mutex_);
        thrown_ = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex_);
        failure_ = std::move(failure);
        done_ = true;
    }
    changed_.notify_all();
}
