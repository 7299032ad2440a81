#include "app/DisplayRule.h"

#include <gtest/gtest.h>

namespace {

bool Window(const std::string& display, const std::string& wayland, const std::string& platform) {
    return CanShowWindow({display, wayland, platform});
}

TEST(DisplayRule, OnlyARealDisplayOrAPlatformThatNeedsNoneStartsTheWindow) {
    EXPECT_FALSE(Window("", "", ""));
    EXPECT_TRUE(Window(":0", "", ""));
    EXPECT_TRUE(Window("", "wayland-0", ""));

    // Platforms that draw without any display.
    EXPECT_TRUE(Window("", "", "offscreen"));
    EXPECT_TRUE(Window("", "", "minimal:enable_fonts"));

    // A desktop's platform carried into a scheduler's environment without its display.
    EXPECT_FALSE(Window("", "", "xcb"));
    EXPECT_FALSE(Window("", "", "eglfs"));
    EXPECT_TRUE(Window(":1", "", "xcb"));
    EXPECT_TRUE(Window("", "wayland-1", "wayland"));
    EXPECT_FALSE(Window("", "wayland-1", "xcb"));
    EXPECT_FALSE(Window(":1", "", "wayland-egl"));

    // A list of platforms is tried in order until one starts.
    EXPECT_TRUE(Window("", "", "xcb;offscreen"));
    EXPECT_TRUE(Window(":0", "", "wayland;xcb"));
}

}  // namespace
