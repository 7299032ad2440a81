#pragma once
#include <string>

struct MainForm;

void HelpLoad(MainForm& F);
void HelpShow(MainForm& F, const std::string& key);
