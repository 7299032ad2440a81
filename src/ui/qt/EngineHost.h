#pragma once
#include <functional>

struct MainForm;

// What a widget needs from the window that hosts the engine: the form model to draw, and a way to
// run an engine handler for a user action. Dispatch redraws the window afterwards and carries out
// an Exit that arrived while the handler was still running.
class EngineHost {
  public:
    virtual ~EngineHost() = default;
    virtual MainForm& Form() = 0;
    virtual void Dispatch(const std::function<void()>& handler) = 0;
    // Twips to pixels with the screen's real resolution.
    virtual int ToPixelsX(int twips) const = 0;
    virtual int ToPixelsY(int twips) const = 0;
};
