#include "app/DisplayRule.h"

#include <QString>
#include <QtGlobal>
#include <string_view>

namespace {

// Whether Qt can start the named platform in this environment. Only offscreen and minimal draw
// without any display; xcb needs an X display and the Wayland platforms a Wayland one. Any other
// platform counts as needing a real display too: starting one without it makes Qt abort.
bool PlatformCanStart(std::string_view name, const DisplayEnvironment& env) {
    if (name == "offscreen" || name == "minimal") return true;
    if (name == "xcb") return !env.display.empty();
    if (name.substr(0, 7) == "wayland") return !env.waylandDisplay.empty();
    return !env.display.empty() || !env.waylandDisplay.empty();
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

DisplayEnvironment CurrentDisplayEnvironment() {
    return {qEnvironmentVariable("DISPLAY").toStdString(),
            qEnvironmentVariable("WAYLAND_DISPLAY").toStdString(),
            qEnvironmentVariable("QT_QPA_PLATFORM").toStdString()};
}

bool CanShowWindow(const DisplayEnvironment& env) {
    if (env.qpaPlatform.empty()) return !env.display.empty() || !env.waylandDisplay.empty();
    // "name:options", or several of them separated by ";", tried in order until one starts.
    std::string_view platforms = env.qpaPlatform;
    while (!platforms.empty()) {
        const auto end = platforms.find(';');
        const std::string_view entry = platforms.substr(0, end);
        if (PlatformCanStart(Trimmed(entry.substr(0, entry.find(':'))), env)) return true;
        platforms = end == std::string_view::npos ? std::string_view() : platforms.substr(end + 1);
    }
    return false;
}
