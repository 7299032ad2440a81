#pragma once
#include <string>
#include <string_view>

// Reading and replacing whole files as bytes. Every file Drovix replaces goes through
// SaveFileAtomically (or a FileReplacement), so a crash or a full disk leaves either the old file
// or the new one whole.

// Reads the whole file into bytes. False when it cannot be opened or read (error says why, and
// errorNumber gives the file device's error code): an unreadable file is never mistaken for an
// empty one.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr,
                   int* errorNumber = nullptr);

// The same for a file the caller holds open for reading, read from its start.
bool ReadOpenFile(int fd, std::string& bytes, std::string* error = nullptr, int* errorNumber = nullptr);

// Writes bytes to a new file in the same folder, flushes it to disk and renames it over path in
// one step. False (error says why) when anything failed; the old file is then untouched.
bool SaveFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                        int* errorNumber = nullptr);
