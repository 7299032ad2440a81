#include "capture/RouterClockFile.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "files/FileBytes.h"
#include "files/FileUpdate.h"
#include "form/Constants.h"
#include "text/TextLines.h"

namespace {

constexpr std::string_view kKey = "OFFSET=";

bool IsKnown(long long offset) {
    return std::llabs(offset) < drovix::ClockNotKnown;
}

}  // namespace

bool KeepRouterClockOffset(const std::string& folder, long long offset) {
    if (folder.empty() || !IsKnown(offset)) return true;
    return SaveFileIfChanged(folder + RouterClockFileName,
                             std::string(kKey) + std::to_string(offset) + "\r\n");
}

std::optional<long long> ReadRouterClockOffset(const std::string& folder) {
    std::string bytes;
    if (folder.empty() || !ReadFileBytes(folder + RouterClockFileName, bytes)) return std::nullopt;
    std::optional<long long> offset;
    ForEachLine(bytes, [&](std::string_view line) {
        if (!line.starts_with(kKey)) return true;
        line.remove_prefix(kKey.size());
        long long value = 0;
        const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (ec == std::errc() && end == line.data() + line.size() && IsKnown(value)) offset = value;
        return false;
    });
    return offset;
}
