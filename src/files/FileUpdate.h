#pragma once
#include <string>
#include <string_view>

// Saves bytes as path through SaveFileAtomically, unless the file already holds exactly those
// bytes: a save that would change nothing leaves the file, its mode and its disk alone (no new
// file, no flush to disk). A file that cannot be read is replaced as though it differed.
bool SaveFileIfChanged(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                       int* errorNumber = nullptr);
