#pragma once
#include <string>

// drovix --listen: the syslog receiver as a command. Reads the router's address (ADDRESS) and
// where to receive (LISTEN, unless listenAt names it) from Drovix.ini in programDir, takes the
// sockets a service manager handed over when there are any, and receives into the capture files
// of programDir until SIGTERM or SIGINT. Prints where it receives, then on stopping one line of
// counts, on standard output; problems go to standard error. Takes no single-instance lock: it
// runs beside the window and the unattended runs of the same folder. Returns the exit status.
int RunListen(const std::string& programDir, const std::string& listenAt);
