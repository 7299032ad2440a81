#include "SimOptions.h"

#include <QHostAddress>
#include <map>

namespace {

bool ParseInt(const QString& text, int low, int high, int& out) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high) return false;
    out = value;
    return true;
}

bool ParseLayout(const QString& text, SimLayout& out) {
    static const std::map<QString, SimLayout> names = {{"firewall", SimLayout::Firewall},
                                                       {"wag54g", SimLayout::Wag54g},
                                                       {"befsx41", SimLayout::Befsx41},
                                                       {"plain", SimLayout::Plain}};
    const auto it = names.find(text.toLower());
    if (it == names.end()) return false;
    out = it->second;
    return true;
}

// "ADDR:PORT" with a loopback ADDR: the simulator never sends off this machine.
bool ParseLoopbackTarget(const QString& text, std::string& host, int& port) {
    const qsizetype colon = text.lastIndexOf(':');
    if (colon <= 0) return false;
    const QString address = text.left(colon);
    const QHostAddress parsed(address);
    if (parsed.protocol() != QAbstractSocket::IPv4Protocol || !parsed.isLoopback()) return false;
    if (!ParseInt(text.mid(colon + 1), 1, 65535, port)) return false;
    host = address.toStdString();
    return true;
}

}  // namespace

SimOptionsResult ParseSimOptions(const QStringList& args) {
    SimOptionsResult r;
    SimOptions& o = r.options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString name = args[i];
        QString value;
        bool hasValue = false;
        const qsizetype eq = name.indexOf('=');
        if (name.startsWith("--") && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue) return true;
            if (i + 1 >= args.size()) {
                r.error = "option " + name.toStdString() + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        auto bad = [&](const char* what) {
            r.error =
                "bad value for " + name.toStdString() + ": '" + value.toStdString() + "' (" + what + ")";
            return r;
        };
        auto flag = [&](bool& target) -> bool {
            if (hasValue) {
                r.error = "option " + name.toStdString() + " takes no value";
                return false;
            }
            target = true;
            return true;
        };

        if (name == "--help" || name == "-h") {
            r.help = true;
            r.ok = true;
            return r;
        } else if (name == "--port") {
            if (!takeValue()) return r;
            if (!ParseInt(value, 0, 65535, o.port)) return bad("0 to 65535");
        } else if (name == "--layout") {
            if (!takeValue()) return r;
            if (!ParseLayout(value, o.layout)) return bad("firewall, wag54g, befsx41 or plain");
        } else if (name == "--user") {
            if (!takeValue()) return r;
            o.user = value.toLatin1().toStdString();
        } else if (name == "--password") {
            if (!takeValue()) return r;
            o.password = value.toLatin1().toStdString();
        } else if (name == "--records") {
            if (!takeValue()) return r;
            o.recordsPath = value.toStdString();
        } else if (name == "--wan") {
            if (!takeValue()) return r;
            o.wan = value.toLatin1().toStdString();
        } else if (name == "--page-lines") {
            if (!takeValue()) return r;
            if (!ParseInt(value, 1, 10000, o.pageLines)) return bad("1 to 10000");
        } else if (name == "--delay") {
            if (!takeValue()) return r;
            if (!ParseInt(value, 0, 3600000, o.delayMs)) return bad("0 to 3600000 milliseconds");
        } else if (name == "--fail-first") {
            if (!takeValue()) return r;
            if (!ParseInt(value, 0, 1000000, o.failFirst)) return bad("0 or more requests");
        } else if (name == "--line-feed-marker") {
            if (!takeValue()) return r;
            if (value.isEmpty()) return bad("a text to look for");
            o.lineFeedMarker = value.toLatin1().toStdString();
        } else if (name == "--crlf") {
            if (!flag(o.crlf)) return r;
        } else if (name == "--ring") {
            if (!takeValue()) return r;
            if (!ParseInt(value, 1, 1000000, o.ring)) return bad("1 to 1000000 lines");
        } else if (name == "--syslog-to") {
            if (!takeValue()) return r;
            if (!ParseLoopbackTarget(value, o.syslogHost, o.syslogPort)) return bad("127.x.x.x:PORT");
        } else if (name == "--syslog-format") {
            if (!takeValue()) return r;
            if (value == "3164") {
                o.syslogFormat = SimSyslogFormat::Rfc3164;
            } else if (value == "5424") {
                o.syslogFormat = SimSyslogFormat::Rfc5424;
            } else {
                return bad("3164 or 5424");
            }
        } else if (name == "--no-syslog") {
            if (!flag(o.noSyslog)) return r;
        } else if (name == "--empty") {
            if (!flag(o.empty)) return r;
        } else if (name == "--bare-401") {
            if (!flag(o.bare401)) return r;
        } else if (name == "--oversize") {
            if (!flag(o.oversize)) return r;
        } else if (name == "--hold-open") {
            if (!flag(o.holdOpen)) return r;
        } else if (name == "--hostile") {
            if (!takeValue()) return r;
            if (!ParseSimHostile(value.toStdString(), o.hostile))
                return bad("endless, huge, garbage-status, garbage-headers, stall, redirect or binary");
        } else if (name == "--verbose" || name == "-v") {
            if (!flag(o.verbose)) return r;
        } else {
            r.error = "unknown option '" + name.toStdString() + "'";
            return r;
        }
    }
    r.ok = true;
    return r;
}

std::string SimUsage() {
    return R"(Usage: drovix-routersim [options]

Plays a small-office router's web administration on 127.0.0.1 for tests and demonstrations.
The first line written to standard output is "listening 127.0.0.1:PORT".

Options:
  --port N          port to listen on (default 0: any free port)
  --layout NAME     page layout: firewall (standard, the default), wag54g or befsx41 (the
                    newer family: RouterStatus.htm, Gozila.cgi and SysLog.htm), plain (root page
                    without the word firewall: VPNLog.htm)
  --user NAME       logon ID the router accepts (default admin)
  --password TEXT   password the router accepts (default admin)
  --records FILE    the router's logs (below); read again at every request, so a test can change
                    the logs or the WAN address between two requests
  --wan ADDRESS     WAN address when the records file has no [wan] section (default 203.0.113.7)
  --page-lines N    System Log lines per page (default 20; at most 10 pages are read by clients)
  --ring N          keep only the newest N System Log lines on the pages, as a router's small
                    log buffer does; older lines are gone from the pages (not from the file)
  --syslog-to ADDR:PORT
                    send each System Log line added to the records file as a syslog datagram
                    (UDP, from 127.0.0.1) to ADDR:PORT, a loopback address only
  --syslog-format F 3164 (the default: "<134>Mmm dd hh:mm:ss text", no year, no host name) or
                    5424 (time with its zone, host name, structured data, byte order mark)
  --no-syslog       a router without a System Log (its pages answer 404)
  --empty           answer every request with an empty page
  --bare-401        refuse a wrong logon with status 401 and no page at all
  --fail-first N    answer the first N requests with an empty page
  --crlf            end every line of every page with CR LF instead of LF
  --line-feed-marker TEXT
                    serve every TEXT inside a System Log line as a line feed, for a router
                    that writes one into a line
  --delay MS        wait MS milliseconds before answering each request
  --oversize        make every page longer than 1,048,576 bytes (padding after the content)
  --hold-open       send each answer without a length and keep the connection open after it
  --hostile MODE    answer every request the way a broken router might: endless (a body that
                    never ends), huge (a 256 MiB body), garbage-status, garbage-headers, stall
                    (half the body, then silence), redirect (302 to /redirected), binary (a page
                    of arbitrary bytes)
  -v, --verbose     write one line per request to standard output
  -h, --help        this text

Records file: plain text in sections; lines starting with '#' and empty lines are ignored.
  [wan]        one line: the WAN address the status page shows
  [clock]      one line: the router's clock, "yyyy-mm-dd hh:mm:ss", or an offset in seconds
               from the computer's clock such as -90 (default: the computer's clock)
  [incoming]   one line per Incoming log row: cells separated by '|', e.g. 198.51.100.7|80
  [outgoing]   one line per Outgoing log row, e.g. 192.168.1.100|203.0.113.40|http
  [syslog]     one line per System Log line, oldest first, as the router writes it, e.g.
               2026-12-06 14:02:11 TCP from 198.51.100.7:4123 to 192.168.1.100:80 dropped
  [failing]    one line per System Log page (1 is the first) whose request answers with an
               empty page, as a fetch that fails: the Group.cgi request of that page (the
               first page read through SysLogTable.htm still answers); for wag54g and
               befsx41 the request that selects the page, so the page selected before stays
               selected; for plain, 1 makes VPNLog.htm fail
Cells and lines are served byte for byte (no trimming, no escaping).

New System Log lines: with --syslog-to, the records file is looked at every 50 ms, and every
line added at the end of its [syslog] section is sent at once, in order. A test makes the router
log something between two refreshes by writing the file anew with lines appended (write a new
file and rename it over the old one, so no half-written file is read). The lines in the file at
the start are not sent, nor are the lines of a file whose [syslog] section no longer begins with
the lines seen before (such a file starts afresh).

Every page needs basic authentication with the configured logon; a refused logon gets
"401 Authorization Required", an unknown page "Error 404 Not Found". The status page shows
"Current Time:" as "Mon dd yyyy hh:mm:ss" (e.g. Dec 06 2026 14:30:00).
Ends cleanly on SIGINT or SIGTERM.
)";
}
