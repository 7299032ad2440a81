#pragma once
#include <memory>
#include <string>

#include "ScriptedResolver.h"
#include "TestForm.h"
#include "form/MainControls.h"

// A test form whose lookups go through a scripted resolver and refuse the names start-up refuses.
struct ResolveForm : TestForm {
    ResolveForm() : resolver(std::make_shared<ScriptedResolver>()) {
        F().resolve.resolver = resolver;
        F().BadNameChars = MakeBadNameChars();
        F().WinNT5 = true;
    }
    std::shared_ptr<ScriptedResolver> resolver;
};
