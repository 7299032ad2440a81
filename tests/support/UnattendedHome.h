#pragma once
#include <map>
#include <string>

#include "TestFiles.h"

// Makes home the program folder of an unattended run: Drovix.ini holds settings as given, and
// Stillbeacon.ini names Stillbeacon's log folder "sb/" in it, holding the day files given (name,
// bytes). Returns the path of that folder.
std::string PrepareUnattendedHome(const TempFolder& home, const std::string& settings,
                                  const std::map<std::string, std::string>& sbFiles = {});
