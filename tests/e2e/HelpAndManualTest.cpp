#include <gtest/gtest.h>

#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <set>

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

// The first words of the indented lines of the help's block under a heading, up to its next
// empty line.
Words HelpBlock(const std::string& help, const std::string& heading) {
    Words words;
    const QString block = QString::fromStdString(help).section(QString::fromStdString("\n" + heading), 1);
    for (const QString& line : block.section("\n\n", 0, 0).split('\n')) {
        if (line.startsWith("  ")) words.insert(line.trimmed().section(' ', 0, 0).toStdString());
    }
    return words;
}

// The tags of the manual page's tagged paragraphs (".TP" then ".B tag") in one section.
Words ManualSection(const std::string& page, const std::string& section) {
    static const QRegularExpression tagged("^\\.TP\n\\.B (\\S+)", QRegularExpression::MultilineOption);
    const QString body = QString::fromStdString(page)
                             .section(QString::fromStdString("\n.SH " + section + "\n"), 1)
                             .section("\n.SH ", 0, 0);
    Words tags;
    for (auto it = tagged.globalMatch(body); it.hasNext();)
        tags.insert(it.next().captured(1).replace("\\-", "-").toStdString());
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
