#include "files/FileUpdate.h"

#include "files/FileBytes.h"

bool SaveFileIfChanged(const std::string& path, std::string_view bytes, std::string* error,
                       int* errorNumber) {
    std::string current;
    if (ReadFileBytes(path, current) && current == bytes) return true;
    return SaveFileAtomically(path, bytes, error, errorNumber);
}
