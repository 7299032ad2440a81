#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Reading, replacing, creating and removing whole files as bytes. Every file Drovix replaces goes
// through SaveFileAtomically (or a FileReplacement), so a crash or a full disk leaves either the
// old file or the new one whole.

// What reading a whole file came to: its bytes, no file of that name, or a failure with its reason.
// An unreadable file is never taken for an empty one, nor a missing one for a failure.
struct FileRead {
    enum class Outcome { Bytes, Missing, Failed };
    Outcome outcome = Outcome::Failed;
    std::string error;    // why it failed
    int errorNumber = 0;  // the file device's error code of a failure (a QFileDevice::FileError)

    bool Missing() const { return outcome == Outcome::Missing; }
    explicit operator bool() const { return outcome == Outcome::Bytes; }
};

// Reads the whole file into bytes.
FileRead ReadFileBytes(const std::string& path, std::string& bytes);

// The same for a file the caller holds open, read from its start.
FileRead ReadOpenFile(int fd, std::string& bytes);

// Reads the file piece by piece into buffer (room the caller keeps from file to file) and hands
// each piece to take, which returns false to stop the reading. Every piece but the last ends with
// a line feed, so no line is cut; a piece is about pieceSize bytes, or one line when a line is
// longer. A file that grows while it is read is read to its end. Reading a large file this way
// holds a piece at a time, not the whole file.
FileRead ReadFileInPieces(const std::string& path, std::string& buffer, std::size_t pieceSize,
                          const std::function<bool(std::string_view)>& take);

// Writes bytes to a new file in the same folder, flushes it to disk and renames it over path in
// one step. False (error says why) when anything failed; the old file is then untouched.
bool SaveFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                        int* errorNumber = nullptr);

// Writes bytes to a new file of that name, flushed to disk before it takes the name, so it is
// never seen in part; an existing file of the name is never replaced.
enum class Creation { Created, NameTaken, Failed };
Creation CreateFileOnly(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                        int* errorNumber = nullptr);

// Removes a file. Missing when there was none; Failed (error says why) when it stays.
enum class Removal { Removed, Missing, Failed };
Removal RemoveFile(const std::string& path, std::string* error = nullptr);
