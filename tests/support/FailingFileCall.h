#pragma once
#include <cerrno>
#include <string>
#include <string_view>

#include "files/FileFaults.h"

// While it lives, the nth call of a kind that the file module makes on a file whose path holds
// pathPart fails as the system would, with error; every other call goes through. Calls on a file
// already open (reads, writes) carry no path: count them with an empty pathPart.
class FailingFileCall : public FileFaults {
  public:
    FailingFileCall(FileCall call, int nth, std::string pathPart = {}, int error = EACCES)
        : call_(call), nth_(nth), pathPart_(std::move(pathPart)), error_(error) {
        previous_ = InjectFileFaults(this);
    }
    ~FailingFileCall() override { InjectFileFaults(previous_); }
    FailingFileCall(const FailingFileCall&) = delete;
    FailingFileCall& operator=(const FailingFileCall&) = delete;

    int Fault(FileCall call, std::string_view path) override {
        if (call != call_ || path.find(pathPart_) == std::string_view::npos) return 0;
        return ++seen_ == nth_ ? error_ : 0;
    }

  private:
    FileCall call_;
    int nth_;
    std::string pathPart_;
    int error_;
    int seen_ = 0;
    FileFaults* previous_ = nullptr;
};
