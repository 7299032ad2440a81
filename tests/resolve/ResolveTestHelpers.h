#pragma once
#include <memory>
#include <string>

#include "ScriptedResolver.h"
#include "TestForm.h"

// The characters start-up forbids in host names: "()", codes 1-31 and 128-255.
inline std::string StartupBadNameChars() {
    std::string set = "()";
    for (int c = 1; c <= 31; ++c) set += static_cast<char>(c);
    for (int c = 128; c <= 255; ++c) set += static_cast<char>(c);
    return set;
}

// A test form whose lookups go through a scripted resolver.
struct ResolveForm : TestForm {
    ResolveForm() : resolver(std::make_shared<ScriptedResolver>()) {
        F().resolve.resolver = resolver;
        F().BadNameChars = StartupBadNameChars();
        F().WinNT5 = true;
    }
    std::shared_ptr<ScriptedResolver> resolver;
};
