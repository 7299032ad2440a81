#pragma once
#include <string_view>

// Every call the file module makes on the system goes through one gate, so that a test can make
// any of them fail as the system would: the open of a history file, the write of a day file's
// replacement, the rename that puts it in place. Without faults in place every call goes through.

enum class FileCall { Open, Read, Write, Sync, Link, Rename, Remove, Lock };

class FileFaults {
  public:
    virtual ~FileFaults() = default;
    // The errno value with which the call must fail, or 0 to let it through. path names the file
    // of a call by name; it is empty for a call on a file already open.
    virtual int Fault(FileCall call, std::string_view path) = 0;
};

// Puts faults in place for every later call of the module (nullptr: none) and answers the faults
// that were in place before.
FileFaults* InjectFileFaults(FileFaults* faults);

// The errno value for a call about to be made, 0 when it may go through.
int InjectedFault(FileCall call, std::string_view path);
