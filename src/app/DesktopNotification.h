#pragma once
#include <optional>
#include <string>

struct MainForm;

// A desktop notification: a title and one line of text (Latin-1 bytes).
struct Notification {
    std::string summary;
    std::string body;
};

// What an unattended run that just ended with exitStatus tells the desktop: that it merged
// records (how many, into which day files), or that it failed and why. Nothing when it merged
// nothing and completed, or when NOTIFY is off.
std::optional<Notification> UnattendedRunNotification(const MainForm& F, int exitStatus);

// Hands the notification to the desktop's notification service on the session bus. Silent: false
// when no session bus or no service answers, which never changes how the run ends.
bool SendDesktopNotification(const Notification& notification);
