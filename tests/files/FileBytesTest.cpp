#include "files/FileBytes.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>

#include "files/FileLock.h"
#include "support/TestForm.h"

namespace {

TEST(FileBytes, ReadsAndReplacesBytesAndTellsAnUnreadableFileFromAnEmptyOne) {
    TempFolder dir;
    const std::string path = dir.file("data.txt");
    const std::string bytes = std::string("caf\xE9\xA0\r\nline\0two", 15);
    std::string error;
    ASSERT_TRUE(SaveFileAtomically(path, bytes, &error)) << error;
    ASSERT_TRUE(SaveFileAtomically(path, bytes + "more", &error)) << error;
    std::string read = "old content";
    ASSERT_TRUE(ReadFileBytes(path, read)) << "read";
    EXPECT_EQ(read, bytes + "more");
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file left behind";

    // A missing file is no failure; a folder in the way of a file is, and it stays.
    EXPECT_TRUE(ReadFileBytes(dir.file("missing.txt"), read).Missing());
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("folder.txt"))));
    const FileRead folder = ReadFileBytes(dir.file("folder.txt"), read);
    EXPECT_EQ(folder.outcome, FileRead::Outcome::Failed);
    EXPECT_EQ(folder.error, "file to open is a directory");
    EXPECT_NE(folder.errorNumber, 0);
    EXPECT_FALSE(SaveFileAtomically(dir.file("folder.txt"), "x", &error));
    EXPECT_FALSE(SaveFileAtomically(dir.file("no such folder/file.txt"), "x"));

    // A write that comes back short (a full disk) fails the save and leaves the old file whole.
    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(SaveFileAtomically(path, std::string(300, 'x'), &error));
    }
    EXPECT_TRUE(ReadFileBytes(path, read));
    EXPECT_EQ(read, bytes + "more");
}

// Pieces of any size put together give the file again; no piece but the last cuts a line, a line
// longer than a piece comes whole, and the reading stops when asked to.
TEST(FileBytes, ReadInPiecesEveryLineComesWhole) {
    TempFolder dir;
    const std::string path = dir.file("day.txt");
    const std::string longLine(40, 'x');
    std::string buffer;
    for (const std::string& bytes : {std::string(), std::string("a"),
                                     std::string("\xEF\xBB\xBF"
                                                 "a\r\nb\r\n"),
                                     "one\n" + longLine + "\r\nend", "\n\n" + longLine + "\n"}) {
        WriteFileBytes(path, bytes);
        for (const size_t pieceSize : {1, 3, 7, 4096}) {
            std::vector<std::string> pieces;
            ASSERT_TRUE(ReadFileInPieces(path, buffer, pieceSize, [&](std::string_view piece) {
                pieces.emplace_back(piece);
                return true;
            }));
            std::string joined;
            for (size_t i = 0; i < pieces.size(); ++i) {
                joined += pieces[i];
                if (i + 1 < pieces.size()) {
                    EXPECT_EQ(pieces[i].back(), '\n') << bytes << " in " << pieceSize;
                }
            }
            EXPECT_EQ(joined, bytes) << "pieces of " << pieceSize;
        }
    }
    int taken = 0;
    EXPECT_TRUE(ReadFileInPieces(path, buffer, 1, [&](std::string_view) { return ++taken < 2; }));
    EXPECT_EQ(taken, 2);
    EXPECT_TRUE(ReadFileInPieces(dir.file("missing.txt"), buffer, 1, [](std::string_view) {
                    return true;
                }).Missing());
}

// Where the file system has no leases, the open files of this computer's processes tell whether
// someone else has a day file open: another process's count, and so does another open file of this
// one, but not the one asking.
TEST(FileLock, OpenElsewhereSeesEveryOtherOpenFileOnTheFile) {
    TempFolder dir;
    const std::string path = dir.file("Log 2026-12-05.txt");
    WriteFileBytes(path, "line\r\n");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_FALSE(OpenElsewhere(fd));
    const int again = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_TRUE(OpenElsewhere(fd));
    ::close(again);
    // The reader opens the file itself and says so once it has.
    QProcess reader;
    reader.start("sh", {"-c", "exec 3<\"$0\"; echo open; exec sleep 30", QString::fromStdString(path)});
    ASSERT_TRUE(reader.waitForReadyRead());
    EXPECT_TRUE(OpenElsewhere(fd));
    reader.kill();
    reader.waitForFinished();
    EXPECT_FALSE(OpenElsewhere(fd));
    ::close(fd);
}

// A settings file that is there but cannot be read is reported, and the program never replaces
// it with one made of its defaults.

}  // namespace
