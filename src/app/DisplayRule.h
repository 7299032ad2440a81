#pragma once
#include <string>

// What the environment tells about a display, as the choice between the window and the headless
// face reads it.
struct DisplayEnvironment {
    std::string display;         // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string qpaPlatform;     // QT_QPA_PLATFORM
};

DisplayEnvironment CurrentDisplayEnvironment();

// Whether the window face can start in this environment: with a real display, or with a Qt
// platform that needs none (offscreen, minimal). A platform named for a desktop but carried into
// an environment without its display (cron, a system service) counts as no display.
bool CanShowWindow(const DisplayEnvironment& env);
