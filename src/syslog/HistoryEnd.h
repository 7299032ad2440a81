#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Where the router's lines pass the end of the history files. The history is fed its lines as
// they are read, oldest first; then each router line, in page order, is told apart as one the
// history already holds or a new one, until the first new one (from there on all are new).
//
// Time stamps order the lines, but a stamp is only a second: several lines can share one, in any
// order and even with the same text twice, and a line the router wrote before its clock was set
// ("hh:mm:ss ...") has none. So the lines of the history's last second, with the undated lines
// after them, are kept as a count per text, and each router line of that second uses up one
// stored copy; a router line of that second without a copy left is new. An undated router line
// counts as of the second of the dated line before it.
class HistoryEnd {
  public:
    enum class Place {
        Stored,          // the history holds this line
        LastStored,      // the history holds it, and it is the last one it holds: new lines follow
        New,             // the first line the history lacks
        NewAfterRestart  // an undated line at the start of a router log that began after the history
    };

    // One line of the history, oldest first.
    void Add(std::string_view line);
    bool Empty() const { return lines_ == 0; }
    // The stamp ("yyyy-mm-dd hh:nn:ss") of the last dated history line; empty when none.
    const std::string& LastStamp() const { return lastStamp_; }

    // One router line, in page order, until the first that is not Stored. firstStamp is the stamp
    // of the router's first dated line.
    Place Locate(const std::string& line, const std::string& firstStamp);

  private:
    bool UseUpCopy(std::string_view line);
    // Counts the lines of the last second kept since the last count.
    void CountLastSecond();

    int lines_ = 0;
    std::string lastStamp_;
    // The lines of the last second, as added: most seconds end before any router line is looked
    // up, so a line is only copied, into room the strings kept from the seconds before, and
    // counted when the first router line is.
    std::vector<std::string> lastSecondLines_;
    size_t kept_ = 0;     // lines of lastSecondLines_ that belong to the last second
    size_t counted_ = 0;  // of those, the lines counted in lastSecond_
    // The lines of the last second counted, with their counts.
    std::map<std::string, int, std::less<>> lastSecond_;
    int lastSecondLeft_ = 0;   // copies in lastSecond_ not yet used up
    std::string routerStamp_;  // the stamp of the last dated router line seen
};
