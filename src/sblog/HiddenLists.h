#pragma once
#include <string>
#include <string_view>
#include <vector>

class RecordGrid;
struct MainForm;

// Stillbeacon's "don't log" tests: records it hides are never expected in its logs.

// True when the address matches an entry of the address list. An entry "M " + address matches
// that address only; "M " + prefix + ":" matches addresses starting with the prefix; "M :" + text +
// ":" matches addresses containing the text; any other entry matches when either text contains the
// other.
bool CkSBAddr(const std::vector<std::string>& addrList, std::string_view address);

// True when the port list holds an entry equal to the port text.
bool CkSBPort(const std::vector<std::string>& portList, std::string_view port);

// Whether Stillbeacon's lists hide the record of a row of the Incoming list (its address, or its
// port as a remote or a local port) or of the Outgoing list (its remote address or remote port).
bool HidesIncomingRow(const MainForm& F, const RecordGrid& list, int row);
bool HidesOutgoingRow(const MainForm& F, const RecordGrid& list, int row);
