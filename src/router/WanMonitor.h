#pragma once
#include <string>

struct MainForm;

std::string GetWan(MainForm& F);
void CompAddr_Click(MainForm& F);
void Timer1_Timer(MainForm& F);
