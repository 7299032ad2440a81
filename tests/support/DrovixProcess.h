#pragma once
#include <QProcessEnvironment>
#include <QStringList>
#include <string>

#include "TestFiles.h"

struct DrovixRun {
    int exitCode = -1;  // -1 when the process crashed or did not end
    std::string stdOut;
    std::string stdErr;
};

// Headless: no display at all. OffscreenWindow: the offscreen platform, so the window face runs.
// DesktopPlatformWithoutDisplay: a desktop's QT_QPA_PLATFORM (xcb) carried into a scheduler's
// environment that has no display.
enum class Face { Headless, OffscreenWindow, DesktopPlatformWithoutDisplay };

// The environment of a drovix run with its program folder and per-user store in `home`.
QProcessEnvironment DrovixEnvironment(const TempFolder& home, Face face);

// Runs the real drovix executable with its program folder and per-user store in `home`. With a
// tracer (a program and its arguments, such as strace), the tracer runs drovix; a leak check at
// exit cannot run traced, so it is off then.
DrovixRun RunDrovix(const TempFolder& home, const QStringList& args, Face face = Face::Headless,
                    const QStringList& tracer = {});
