#pragma once
#include <QStringList>
#include <string>

#include "TestFiles.h"

struct DrovixRun {
    int exitCode = -1;  // -1 when the process crashed or did not end
    std::string stdOut;
    std::string stdErr;
};

enum class Face { Headless, OffscreenWindow };

// Runs the real drovix executable with its program folder and per-user store in `home`. Without
// a display by default; OffscreenWindow gives it the offscreen platform, so the window face runs.
DrovixRun RunDrovix(const TempFolder& home, const QStringList& args, Face face = Face::Headless);
