#pragma once
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "files/FileBytes.h"

// Reads Stillbeacon's day files on a thread of its own, ahead of the matching, and passes on only
// the lines that may stand for a waiting row: those with a waiting row's time within the
// tolerance of their own. Most lines of a busy day file have none, and finding that out (the
// reading, the line ends, the times) is most of the cost of a line; the matching thread is left
// the few that need parsing and comparing. Rows are only ever taken off the waiting list, so a
// line passed over for the list as it stood at the start could not match a row later either.
class SbLinesAhead {
  public:
    // A line handed on: where its bytes are in its batch, and the time read from it.
    struct Line {
        size_t offset, size;
        long long seconds;
    };
    // The lines handed on from one piece of a file, in the file's order.
    struct Batch {
        size_t file = 0;         // which of the names
        bool fileStart = false;  // the file's first piece
        std::vector<Line> lines;
        std::string bytes;  // the lines' bytes, one after another

        std::string_view Text(const Line& line) const {
            return std::string_view(bytes).substr(line.offset, line.size);
        }
    };
    // A file that could not be read: the files before it were read whole, and their lines handed on.
    struct Failure {
        size_t file = 0;
        FileRead read;
    };

    // Starts reading folder + names[0], names[1], ... in turn. waitingTimes: the waiting rows'
    // times, in order; window: the tolerance in seconds (none can match when it is negative).
    SbLinesAhead(std::string folder, std::vector<std::string> names, std::vector<long long> waitingTimes,
                 long long window);
    // Stops the reading where it is.
    ~SbLinesAhead();
    SbLinesAhead(const SbLinesAhead&) = delete;
    SbLinesAhead& operator=(const SbLinesAhead&) = delete;

    // The next batch, waiting for it; false once every file is read or one failed.
    bool Next(Batch& batch);
    // The file that failed, once Next returned false; nothing when all were read.
    const std::optional<Failure>& Failed() const { return failure_; }

  private:
    void Read();
    bool Hand(Batch&& batch);

    const std::string folder_;
    const std::vector<std::string> names_;
    const std::vector<long long> waitingTimes_;
    const long long window_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> ready_;
    bool threaded_ = true;  // false when no thread could be started for the reading
    bool done_ = false, stop_ = false;
    std::optional<Failure> failure_;
    std::exception_ptr thrown_;
    std::thread reader_;
};
