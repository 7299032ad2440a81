#pragma once
#include <QString>
#include <functional>
#include <string>

#include "DrovixProcess.h"

// Whether strace is installed and may trace here (a container may forbid it).
bool StraceWorks();

// Runs drovix /auto with its program folder in home under strace, which holds it for a second and
// a half at the start of its when-th call of syscall on path (a file it names, or opened by name).
// action runs on a thread of its own while drovix is held there; the run ends after both.
DrovixRun RunDrovixHeldAt(const TempFolder& home, const QString& syscall, const std::string& path, int when,
                          const std::function<void()>& action);
