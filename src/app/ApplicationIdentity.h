#pragma once

// The names under which Qt knows Drovix. The per-user data folder (the program folder of an
// installed copy) follows from the application name, and the per-user password store is kept
// under the organization and application names; so every face sets them through this one
// function before anything asks for a folder, and they never differ between two runs.
namespace drovix {
inline constexpr const char* OrganizationName = "Stillbeacon";
inline constexpr const char* ApplicationName = "Drovix";
}  // namespace drovix

// Sets the application name. The organization is not set application-wide: that would move the
// per-user data folder of existing installations; the password store names it itself.
void SetApplicationIdentity();
