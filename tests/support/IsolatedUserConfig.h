#pragma once
#include <string>

// Per-user settings (the saved router password) go to a fresh temporary configuration folder
// for the whole test process, never to the real user's store. The folder is chosen before main()
// runs, so before Qt can look up and cache the configuration location; a test that touches the
// per-user store calls this to pull the isolation into its executable and to learn the folder.
const std::string& IsolatedConfigHome();
