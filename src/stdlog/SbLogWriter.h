#pragma once

struct MainForm;

void BSaveAll_Click(MainForm& F);
void BSaveHilited_Click(MainForm& F);
