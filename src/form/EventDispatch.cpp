#include "form/EventDispatch.h"

#include "form/MainForm.h"

void DispatchEvent(MainForm& F, const std::function<void()>& handler, const std::function<void()>& unload) {
    if (F.Unloaded) return;
    ++F.HandlerDepth;
    try {
        handler();
    } catch (...) {
        --F.HandlerDepth;
        throw;
    }
    --F.HandlerDepth;
    if (F.HandlerDepth == 0 && F.UnloadRequested && !F.Unloaded) {
        F.Unloaded = true;
        if (unload) unload();
    }
}

void RequestUnload(MainForm& F) {
    F.UnloadRequested = true;
}
