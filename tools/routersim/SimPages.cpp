#include "SimPages.h"

#include <cstdlib>

namespace {

std::string TableRows(const std::vector<std::vector<std::string>>& rows) {
    std::string html;
    for (const auto& row : rows) {
        html += "<tr bgcolor=cccccc align=middle>";
        for (const auto& cell : row) html += "<td>" + cell + "</td>";
        html += "</tr>\n";
    }
    return html;
}

std::string LogTablePage(const std::string& title, const std::vector<std::string>& headers,
                         const std::vector<std::vector<std::string>>& rows) {
    std::string html = "<html><head><title>" + title + "</title></head>\n";
    html += "<body bgcolor=white><center><font face=verdana size=2><b>" + title + "</b></font>\n";
    html += "<table border=1 cellspacing=0 cellpadding=2 width=500>\n<tr bgcolor=6666cc align=middle>";
    for (const auto& h : headers) html += "<th><font face=verdana size=2 color=white>" + h + "</font></th>";
    html += "</tr>\n" + TableRows(rows) + "</table>\n";
    html += "<input type=button value=Refresh onClick=\"location.reload()\"></center></body></html>\n";
    return html;
}

std::string SysLogPagePath(SimLayout layout) {
    if (IsNewFamily(layout)) return "SysLog.htm";
    return layout == SimLayout::Plain ? "VPNLog.htm" : "SysLogTable.htm";
}

}  // namespace

bool IsNewFamily(SimLayout layout) {
    return layout == SimLayout::Wag54g || layout == SimLayout::Befsx41;
}

std::string RootPage(SimLayout layout) {
    switch (layout) {
        case SimLayout::Wag54g:
        case SimLayout::Befsx41: {
            const std::string model = layout == SimLayout::Wag54g ? "wag54g" : "befsx41";
            return "<html><head><title>Broadband Gateway</title>\n<meta name=model content=\"" + model +
                   "\"></head>\n<body><img src=\"" + model +
                   "_logo.gif\"><h2>Setup</h2>\n<a href=\"RouterStatus.htm\">Status</a> | "
                   "<a href=\"SysLog.htm\">System Log</a></body></html>\n";
        }
        case SimLayout::Plain:
            return "<html><head><title>Broadband Router</title></head>\n<body><h2>Setup</h2>\n"
                   "<a href=\"Status.htm\">Status</a> | <a href=\"VPNLog.htm\">VPN Log</a> | "
                   "<a href=\"Security.htm\">Security</a></body></html>\n";
        case SimLayout::Firewall:
            break;
    }
    return "<html><head><title>Broadband Router</title></head>\n<body><h2>Setup</h2>\n"
           "<a href=\"Status.htm\">Status</a> | <a href=\"Filters.htm\">firewall filters</a> | "
           "<a href=\"Log.htm\">Log</a></body></html>\n";
}

std::string StatusPage(SimLayout layout, const std::string& wan, const std::string& clockText) {
    if (IsNewFamily(layout)) {
        return "<html><head><title>Router Status</title></head>\n<body><table>\n"
               "<tr><td>Firmware Version:</td><td><B>1.02.00</B></td></tr>\n"
               "<tr><td>Current Time:</td><td><B>" +
               clockText +
               "</B></td></tr>\n"
               "<tr><td>Local IP Address:</td><td><B>192.168.1.1</B></td></tr>\n"
               "<tr><td>Internet IP Address:</td><td><B>" +
               wan +
               "</B></td></tr>\n"
               "<tr><td>Subnet Mask:</td><td><B>255.255.255.0</B></td></tr>\n"
               "</table></body></html>\n";
    }
    const std::string label = "<tr><td><font face=verdana size=2>";
    const std::string value = "</font></td><td><font face=verdana size=2>";
    return "<html><head><title>Status</title></head>\n<body><table>\n" + label + "Firmware Version:" + value +
           "1.45.2</td></tr>\n" + label + "Current Time:" + value + "<b>" + clockText +
           "</b></font></td></tr>\n" + label + "<b>LAN:</b></font></td></tr>\n" + label +
           "IP Address:" + value + "192.168.1.1</td></tr>\n" + label + "<b>WAN:</b></font></td></tr>\n" +
           label + "IP Address:" + value + wan + "</td></tr>\n" + label + "Subnet Mask:" + value +
           "255.255.255.0</td></tr>\n</table></body></html>\n";
}

std::string IncomingPage(const std::vector<std::vector<std::string>>& rows) {
    return LogTablePage("Incoming Log Table", {"Source IP", "Destination Port Number"}, rows);
}

std::string OutgoingPage(const std::vector<std::vector<std::string>>& rows) {
    return LogTablePage("Outgoing Log Table", {"LAN IP", "Destination URL/IP", "Service/Port Number"}, rows);
}

std::string SysLogPage(SimLayout layout, const std::vector<std::string>& lines, int pageNumber) {
    const std::string path = SysLogPagePath(layout);
    const std::string title = layout == SimLayout::Plain ? "VPN Log" : "System Log";
    const std::string nl = lines.empty() ? "" : "\n";
    std::string html = "<html><head><title>" + title + "</title>" + nl;
    std::string area;
    if (layout == SimLayout::Plain) {
        html += "</head><body><font face=verdana size=2><b>" + title + "</b></font>" + nl;
        area = "<font face=verdana size=2><input type=button value=Refresh onClick=\"location.replace('" +
               path + "')\"><br>";
        for (const auto& line : lines) area += line + "\n<br>";
    } else {
        html += "<script>function go(n){window.location.replace('" + path +
                "'+'?page='+n);}</script></head>" + nl;
        html += "<body><font face=verdana size=2><b>" + title + "</b> page " +
                std::to_string(pageNumber + 1) + "</font>" + nl;
        for (const auto& line : lines) area += "<font face=verdana size=1.5 color=#000000>" + line + "\n<br>";
        html += "<input type=button value=\"Next page\" onClick=\"go(" + std::to_string(pageNumber + 1) +
                ")\">" + nl;
    }
    if (!lines.empty()) html += area + "</font>\n";
    html += "</body></html>" + nl;
    return html;
}

std::string SelectPage(SimLayout layout) {
    return "<html><head><meta http-equiv=refresh content=\"0; url=" + SysLogPagePath(layout) +
           "\"></head><body></body></html>";
}

std::string UnauthorizedPage() {
    return "<HTML><HEAD><TITLE>401 Authorization Required</TITLE></HEAD>\n<BODY><H2>401 Authorization "
           "Required</H2>\nThis server could not verify that you are authorized to access the document "
           "requested.\n</BODY></HTML>\n";
}

std::string NotFoundPage() {
    return "<HTML><HEAD><TITLE>404 Not Found</TITLE></HEAD>\n<BODY><H2>Error 404 Not Found</H2>\nThe "
           "requested URL was not found on this server.\n</BODY></HTML>\n";
}

std::string RouterClockText(const std::string& stamp) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (stamp.size() != 19 || stamp[4] != '-' || stamp[7] != '-' || stamp[10] != ' ') return stamp;
    const int month = std::atoi(stamp.substr(5, 2).c_str());
    if (month < 1 || month > 12) return stamp;
    return std::string(months[month - 1]) + " " + stamp.substr(8, 2) + " " + stamp.substr(0, 4) + " " +
           stamp.substr(11, 8);
}
