#pragma once
#include <string>
#include <vector>

#include "SimOptions.h"

// The HTML of the simulated router's pages. Each shape is the one Drovix's readers cut: the
// Incoming/Outgoing tables with their grey data rows, the System Log area of font-tagged lines
// separated by <br>, the status page with the WAN address and "Current Time:".

bool IsNewFamily(SimLayout layout);

std::string RootPage(SimLayout layout);
// clockText: the router's clock as "Mon dd yyyy hh:mm:ss".
std::string StatusPage(SimLayout layout, const std::string& wan, const std::string& clockText);
std::string IncomingPage(const std::vector<std::vector<std::string>>& rows);
std::string OutgoingPage(const std::vector<std::vector<std::string>>& rows);
// One System Log page holding the given lines. A page without lines contains no line feed at
// all, which is how a reader knows it has gone past the last page.
std::string SysLogPage(SimLayout layout, const std::vector<std::string>& lines, int pageNumber);
// The short answer of a log select request (Group.cgi?LogType=..., Gozila.cgi?...).
std::string SelectPage(SimLayout layout);
std::string UnauthorizedPage();
std::string NotFoundPage();

// "yyyy-mm-dd hh:mm:ss" turned into "Mon dd yyyy hh:mm:ss"; other text is returned unchanged.
std::string RouterClockText(const std::string& stamp);
