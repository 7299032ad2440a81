#pragma once
#include <string>
#include <string_view>

class RecordGrid;

// Lower-cases every record cell of the column and puts the port number before a known service
// name: "HTTP" becomes "80 - http", "SNMP Trap" "162 - snmp trap"; anything else is only
// lower-cased.
void ConvertPorts(RecordGrid& list, int column);

// The service name as the router shows it, lower-cased, with its port when the name is known.
std::string PortWithService(std::string_view cell);

// Letter case folded the way the router's Latin-1 text needs it (A-Z and the accented capitals).
std::string LowerLatin1(std::string_view text);
