#pragma once
#include <string>

struct MainForm;

// One System Log refresh: reads the router's pages and clock, reloads and extends the history
// files, fills the SysLog list, finishes it (sort, matching, statistics), converts addresses,
// and in an unattended run saves into Stillbeacon's logs and the myNetWatchman file.
// firstPage is the page the refresh step already fetched; the pages are read again here so that
// all of them come from the same moment.
void SysLogMain(MainForm& F, const std::string& firstPage = {});
