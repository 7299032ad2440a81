#include <gtest/gtest.h>

#include <QDir>
#include <QLockFile>
#include <set>
#include <sstream>

#include "DrovixProcess.h"
#include "TestFiles.h"
#include "app/CommandLine.h"

namespace {

using Words = std::set<std::string>;

Words AcceptedNames() {
    Words names;
    for (const CommandSwitch& s : AcceptedSwitches()) names.insert(s.name);
    return names;
}

Words ExitStatusNumbers() {
    Words numbers;
    for (const ExitStatusText& e : ExitStatuses()) numbers.insert(std::to_string(e.status));
    return numbers;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string FirstWord(const std::string& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    return text.substr(start, text.find(' ', start) - start);
}

// The first words of the indented lines of one block of the help, up to its next empty line.
Words HelpBlock(const std::string& help, const std::string& heading) {
    Words words;
    bool inside = false;
    for (const std::string& line : Lines(help)) {
        if (line.rfind(heading, 0) == 0) {
            inside = true;
        } else if (inside && line.empty()) {
            break;
        } else if (inside && line.rfind("  ", 0) == 0) {
            words.insert(FirstWord(line));
        }
    }
    return words;
}

// The tags of the manual page's tagged paragraphs (".TP" then ".B tag") in one section.
Words ManualSection(const std::string& page, const std::string& section) {
    Words tags;
    bool inside = false, tagNext = false;
    for (std::string line : Lines(page)) {
        if (line.rfind(".SH ", 0) == 0) {
            inside = line == ".SH " + section;
            continue;
        }
        if (!inside) continue;
        if (tagNext && line.rfind(".B ", 0) == 0) {
            std::string tag = FirstWord(line.substr(3));
            for (std::size_t p; (p = tag.find("\\-")) != std::string::npos;) tag.erase(p, 1);
            tags.insert(tag);
        }
        tagNext = line == ".TP";
    }
    return tags;
}

QStringList Files(const TempFolder& folder) {
    return QDir(QString::fromStdString(folder.path())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

TEST(CommandLine, HelpVersionAndUnknownOptionsNeedNoDisplayAndTouchNoFile) {
    TempFolder home;
    // Another Drovix holds the folder: the answers come before the single-instance test.
    QLockFile running(QString::fromStdString(home.file("Drovix.lock")));
    ASSERT_TRUE(running.tryLock(0));

    const DrovixRun help = RunDrovix(home, {"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.stdErr;
    EXPECT_EQ(help.stdOut, HelpText());
    EXPECT_EQ(help.stdErr, "");

    const DrovixRun version = RunDrovix(home, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.stdOut, std::string("drovix ") + DROVIX_VERSION + "\n");

    const DrovixRun unknown = RunDrovix(home, {"/auto", "--frobnicate"});
    EXPECT_EQ(unknown.exitCode, 64);
    EXPECT_EQ(unknown.stdOut, "");
    EXPECT_NE(unknown.stdErr.find("unknown option '--frobnicate'"), std::string::npos) << unknown.stdErr;

    EXPECT_EQ(Files(home), QStringList{"Drovix.lock"});
}

TEST(CommandLine, HelpAndManualListTheSwitchesAndExitStatusesTheProgramHas) {
    TempFolder home;
    const std::string help = RunDrovix(home, {"--help"}).stdOut;
    const std::string manual = ReadFileBytes(std::string(DROVIX_MAN_DIR) + "/drovix.1");
    ASSERT_FALSE(manual.empty());

    EXPECT_EQ(HelpBlock(help, "Switches"), AcceptedNames());
    EXPECT_EQ(ManualSection(manual, "OPTIONS"), AcceptedNames());
    EXPECT_EQ(HelpBlock(help, "Exit status"), ExitStatusNumbers());
    EXPECT_EQ(ManualSection(manual, "EXIT STATUS"), ExitStatusNumbers());
    // The manual's title line carries the version the program reports.
    EXPECT_NE(manual.find(std::string("\"Drovix ") + DROVIX_VERSION + "\""), std::string::npos);
}

}  // namespace
