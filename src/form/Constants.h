#pragma once

// Values that several units must agree on.
namespace drovix {

// The most lookups that run at once.
inline constexpr int MaxLookupThreads = 120;

// The page fetcher's defaults: seconds to wait for a page, tries, seconds between tries.
inline constexpr const char* DefaultRouterWait = "4";
inline constexpr const char* DefaultRouterRetry = "2";
inline constexpr const char* DefaultRouterDelay = "5";

// The largest "seconds are OK" time difference the settings keep.
inline constexpr long long MaxTimeDifference = 86399;

// RouterClockOffset while the router's clock is not known.
inline constexpr long long ClockNotKnown = 999999999;

// The window's title; every message carries it, except those that report an error.
inline constexpr const char* WindowTitle = "Drovix  ver. " DROVIX_VERSION;
inline constexpr const char* ErrorTitle = "Drovix Error";

// Key of the password scrambling in the per-user store; changing it loses every saved password.
inline constexpr const char* ScrambleKey = "7E2A91D04C6B3F58E0A7D2196B4C8F03";

}  // namespace drovix
