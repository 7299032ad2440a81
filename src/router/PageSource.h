#pragma once
#include <string>

#include "form/RouterState.h"

struct MainForm;

// A router page through the form's page source (F.router.Pages), or the page fetcher with the
// form's options when none is set. Never a message: an empty text when nothing came back.
std::string FetchPage(MainForm& F, const std::string& url);
