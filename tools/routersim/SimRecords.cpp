#include "SimRecords.h"

#include <QFile>
#include <cstdlib>

namespace {

std::vector<std::string> SplitCells(const std::string& line) {
    std::vector<std::string> cells;
    std::string::size_type start = 0;
    for (;;) {
        const auto bar = line.find('|', start);
        if (bar == std::string::npos) {
            cells.push_back(line.substr(start));
            return cells;
        }
        cells.push_back(line.substr(start, bar - start));
        start = bar + 1;
    }
}

}  // namespace

bool ParseSimRecords(const std::string& text, SimRecords& out, std::string& error) {
    out = SimRecords{};
    std::string section;
    std::string::size_type pos = 0;
    int lineNumber = 0;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;

        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            if (section != "wan" && section != "clock" && section != "incoming" && section != "outgoing" &&
                section != "syslog" && section != "failing") {
                error = "line " + std::to_string(lineNumber) + ": unknown section [" + section + "]";
                return false;
            }
            continue;
        }
        if (section.empty()) {
            error = "line " + std::to_string(lineNumber) + ": text before the first [section]";
            return false;
        }
        if (section == "wan") {
            out.wan = line;
        } else if (section == "clock") {
            out.clock = line;
        } else if (section == "incoming") {
            out.incoming.push_back(SplitCells(line));
        } else if (section == "outgoing") {
            out.outgoing.push_back(SplitCells(line));
        } else if (section == "failing") {
            const int page = std::atoi(line.c_str());
            if (page < 1) {
                error = "line " + std::to_string(lineNumber) + ": a failing page is a number from 1";
                return false;
            }
            out.failingPages.insert(page);
        } else {
            out.syslog.push_back(line);
        }
    }
    return true;
}

bool LoadSimRecords(const std::string& path, SimRecords& out, std::string& error) {
    if (path.empty()) {
        out = SimRecords{};
        return true;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot read records file '" + path + "': " + file.errorString().toStdString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!ParseSimRecords(std::string(bytes.constData(), static_cast<size_t>(bytes.size())), out, error)) {
        error = path + ", " + error;
        return false;
    }
    return true;
}
