#include "ui/HelpTexts.h"

// The texts are written for the person at the screen; keep their wording when editing.
const std::vector<HelpEntry>& HelpEntries() {
    static const std::vector<HelpEntry> entries = {
        {"ckconvertip",
         "When an IP Address is not in the Router's log, Drovix can try to find it by doing a reverse DNS "
         "lookup.  Normally, each lookup takes a fraction of a second, but in some cases, may take up a "
         "minute PER LOOKUP.^NOTE: If you select this option and find the lookups take too long, you can use "
         "the CANCEL button that appears during the lookups.^NOTE: Using the \"Cache failures\" option may "
         "gradually speed up subsequent failed lookups.^NOTE: IP Lookups can cause a \"NetBios Echo\" that "
         "sends a message to the address you're trying to lookup.  Please see \"NetBios\" in Stillbeacon's "
         "HELP index for further information."},
        {"ckconverturl",
         "When the Router's log names a remote computer by its URL instead of its IP Address, Drovix can "
         "find the address by doing a DNS lookup, and show both.^NOTE: Like reverse lookups, these lookups "
         "may take a while when a name server is slow to answer; you can use the CANCEL button that appears "
         "during the lookups."},
        {"ccachefailures",
         "If a DNS lookup fails, Drovix can add that address to a \"don't bother\" list on disk "
         "(\"IPCache.txt\"), and use that list in the future to skip looking up those addresses when it "
         "reloads its own history files.  This will reduce the delays when the same records are "
         "re-processed, as well as when the same unresolvable addresses occur again.^A drawback is that an "
         "address may become available in the future, but will not be checked if it's still in the \"Don't "
         "bother\" list.^NOTE: Only the most recent 5,000 addresses are kept, so over time, old entries will "
         "be dropped."},
        {"compaddr",
         "If your Internet provider assigns your Router's real (WAN) IP Address dynamically, Drovix can "
         "watch it while it runs.  Every 5 seconds it reads the Router's status page; when the address "
         "changes, Drovix shows the new address beside its buttons and adds a line with the date and time to "
         "\"IPAddressLog.txt\"."},
        {"compsb",
         "Compare the Router's records with Stillbeacon's own daily logs and its \"Don't Log\" lists.  "
         "Records that are missing from the SB logs are highlighted in light blue; only highlighted records "
         "are added to the SB logs.^Records that Stillbeacon has been told not to log are shown in light "
         "gray."},
        {"compdx",
         "Also compare the Router's records with the files Drovix saved itself in the SB log folder (\"Log "
         "yyyy-mm-dd hhmm.txt\", written by \"Save highlighted\" and \"Save All\"), so that a record saved "
         "there before is not highlighted again."},
        {"maxtdiff",
         "Comparing the logs depends partly on the timestamps.  The Router's clock may differ from the "
         "computer's, and SB receives the logs after the Router timestamps them.  This lets you select a "
         "'fudge factor' that fits your environment; the same one tells the lines Drovix's syslog receiver "
         "captured from those on the Router's pages.  30-45 seconds is probably best; the range is "
         "1-86399.~+"},
        {"csyslog",
         "Your Router keeps a System Log with timestamps, which holds many more records than its Incoming "
         "and Outgoing tables.  If checked, Drovix reads the System Log pages, and the options on the right "
         "side of this panel become available.^If unchecked, Drovix reads the Incoming and Outgoing tables, "
         "as it does for Routers without a System Log."},
        {"csavesyslog",
         "If checked, Drovix keeps its own daily history files of the Router's System Log (\"DXLog "
         "yyyy-mm-dd.txt\", in the SB log folder).  The Router holds only its most recent records, so the "
         "history files let Drovix list and save records that the Router has already discarded.^When Drovix's "
         "syslog receiver (\"drovix --listen\") keeps what the Router sends as it happens, each refresh "
         "also adds the lines the Router's pages no longer hold: to the history files, each line once, and "
         "to the list, where their Dir cell is light green and \"Captured\" counts them.~"},
        {"cmnw",
         "If checked, each refresh selects the inbound records of the last day that have not yet been "
         "written for myNetWatchman, and marks their addresses in light brown; if \"Compare with SB logs\" "
         "is checked, only records missing from the SB logs are selected.  The \"Update mNW log\" button "
         "writes them to \"SBmNW.log\" in Drovix's folder, where the myNetWatchman agent picks them up.  "
         "Unattended runs write the file by themselves.^The \"SBmNW.LOG\" file is also maintained by "
         "Stillbeacon, and Drovix replaces the whole file each time it writes it, so let only one of the two "
         "programs create it."},
        {"includeall",
         "Include every record the Router still holds and, if \"DX history\" is checked, every record in "
         "Drovix's history files.  With long histories the list can grow very large and take a while to "
         "build."},
        {"includenew",
         "Include only the records that are new since the last time Drovix listed the Router's log.~"},
        {"includetoday", "Include the records of today and yesterday.~"},
        {"includeweek", "Include the records of the last seven days.~"},
        {"includedxhistory",
         "Add the records kept in Drovix's history files to the ones the Router still holds, as far back as "
         "the timeframe chosen under \"Include\".  Available only while \"Maintain DX history files\" is "
         "checked.~"},
        {"inbound", "Display all included INBOUND messages.  Highly recommended.~"},
        {"outbound",
         "Display all included OUTBOUND messages: connections from your computers to the Internet.~"},
        {"warning",
         "Display the records of events that the Router blocked or modified.  Their messages are shown in "
         "light red.~"},
        {"messages", "Display the Router's routine status messages, which are not firewall events.~"},
        {"showignored",
         "Display the records that Stillbeacon's \"Don't Log\" lists tell it to ignore.  They are shown in "
         "light gray and are never added to the SB logs."},
        {"shownotlogged",
         "Display only the records that are missing from the SB logs.  Available only when \"Compare with SB "
         "logs\" is checked.~"},
        {"boptions",
         "Save these Options and return to the main window.^TO USE INSTANT HELP:    Move the mouse pointer "
         "to any option to see an explanation of its use.  If some of the text is below the bottom of the "
         "window, make the window taller.  Every explanation ends with:"},
        {"bcanceloptions",
         "Close the Options without saving them: every option goes back to the setting saved before."},
        {"bquit",
         "Stop Drovix and close its window.  Changed options, the window's size and position, and the System "
         "Log's column widths are saved."},
        {"breplacetoday",
         "Delete today's history file and rebuild it from the records the Router still holds.  Use this when "
         "today's history file contains unwanted records.^NOTE: Records of today that the Router no longer "
         "holds will be gone from the history file."},
        {"userid",
         "The logon ID (user name) of your Router's setup pages.  Many Routers expect \"admin\", and some "
         "accept any name."},
        {"pw", "The password of your Router's setup pages.  Drovix needs it to read the Router's logs."},
        {"savepw",
         "If checked, Drovix remembers the Router's password (scrambled, in your personal settings) and the "
         "logon ID, so that it can read the logs as soon as it starts.  Unattended runs need a saved "
         "password.^If unchecked, the saved password is removed, and you'll have to type it each time Drovix "
         "starts."},
        {"ipaddr",
         "The address of your Router on your local network (LAN), as you would type it into a browser to "
         "reach the Router's setup pages; usually 192.168.1.1.  Press Enter to go on to the password."},
        {"routerwait",
         "How many seconds (1-9) Drovix waits for the Router to answer a page request before it gives up on "
         "that try."},
        {"routerdelay",
         "How many seconds (1-9) Drovix pauses before it asks the Router again after a try failed."},
        {"routerretry", "How many times (1-9) Drovix asks the Router for a page before it gives up on it."},
        {"ltimeframe",
         "Choose which of the Router's records are included in the list: all of them, only the ones that are "
         "new since the last time, the ones of the last two days, or the ones of the last week.~"},
        {"ldisplay", "Choose which kinds of the included records are displayed.~"},
        {"lautorun",
         "Here's how Drovix can run unattended, automatically update the Stillbeacon logs (and the "
         "myNetWatchman log, if you're using it), and exit without ever appearing on the screen:^1. "
         "experiment with the Options until satisfied; let Drovix save the Router's password, and tell it to "
         "use the Router's System Log.^2. Start the systemd timer that comes with Drovix, which runs it "
         "every 10 minutes:  systemctl --user enable --now drovix.timer^3. Or, with cron, add a line like "
         "this one with \"crontab -e\":  */10 * * * * drovix /auto 2>&1 | logger -t drovix^Either way Drovix "
         "runs as \"drovix /auto\": with no window, its summary line and any problem go to the journal or "
         "the system log, and a run that fails shows as failed.^NOTE: You still can run Drovix directly when "
         "you want to update the logs or change the options."},
        {"mnthreads",
         "Number of concurrent IP->URL lookups to do at once. This can be much faster than doing one lookup "
         "at a time, but it places slightly more load on system resources.^The allowed range is 0-120, and "
         "the recommended range is 10-30. Use smaller values to minimize the risk of overloads.^NOTE: An "
         "excessive number of lookups in a short time period can overload the Router or trigger intrusion "
         "blocking in some software firewalls. Until the Router recovers, all subsequent DNS lookups may "
         "fail or you may see ICMP records in the logs; until the software firewall's safety timeout lapses, "
         "your computer may be unable to access the Internet (unless you disable the software firewall or "
         "tell the software firewall to trust your DNS servers). Recovery from these conditions may take a "
         "surprisingly long time.^NOTE: The Lookup method (DNS-only or DNS+NetBios) will be the one you've "
         "selected on Stillbeacon's Logging menu."},
        {"btestconnection",
         "Log on to the Router with the address, logon ID, password, Wait, Retry and Delay as typed above, "
         "without saving them, and tell what it answered: its page layout and whether it keeps a System Log, "
         "a refused password, or why it could not be reached."},
        {"bopenlogfolder", "Show Stillbeacon's log folder (LOGDIR in Stillbeacon.ini) in the file manager."},
        {"cktimer",
         "If checked, the systemd user timer drovix.timer runs \"drovix /auto\" every 10 minutes.  The box "
         "switches the timer on or off at once; OK and Cancel do not change it.  Where there is no systemd "
         "user manager, Drovix shows the cron line to use instead."},
    };
    return entries;
}
