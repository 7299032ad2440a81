#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "TestFiles.h"
#include "app/CommandLine.h"

namespace {

constexpr int kCannotDropPrivileges = 97;

// A copy of drovix installed in a folder that its user cannot write, as a package installs it:
// its files then go to the per-user data folder. The superuser may write anywhere, so under it
// the copy runs as an unprivileged user.
class InstalledCopy {
  public:
    InstalledCopy() {
        chmod(root_.path().c_str(), 0755);
        for (const char* folder : {"home", "data", "config"}) {
            const std::string path = root_.file(folder);
            mkdir(path.c_str(), 0777);
            chmod(path.c_str(), 0777);
        }
        mkdir(installDir().c_str(), 0755);
        for (const auto& [from, name] :
             {std::pair{DROVIX_EXE_PATH, "drovix"}, {DROVIX_WINDOW_EXE_PATH, "drovix-window"}}) {
            QFile::copy(from, QString::fromStdString(installDir() + name));
            chmod((installDir() + name).c_str(), 0755);
        }
        if (!asOtherUser_) chmod(installDir().c_str(), 0555);
    }
    ~InstalledCopy() { chmod(installDir().c_str(), 0755); }  // so that the folder can be removed

    std::string installDir() const { return root_.file("install/"); }

    // An unattended run; windowFace gives it a platform that needs no display, so the window face
    // runs it, otherwise the headless face does. With systemFolder, the run sees the copy's folder
    // there, bound over it in a mount namespace of its own, as root of a user namespace.
    int RunAuto(bool windowFace, const QString& systemFolder = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DROVIX_HOME"})
            env.remove(name);
        if (windowFace) env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", QString::fromStdString(root_.file("home")));
        env.insert("XDG_DATA_HOME", QString::fromStdString(root_.file("data")));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(root_.file("config")));
        QProcess p;
        p.setProcessEnvironment(env);
        if (!systemFolder.isEmpty()) {
            p.start("unshare", {"-rm", "sh", "-c", "mount --bind \"$0\" \"$1\" && exec \"$1/drovix\" /auto",
                                QString::fromStdString(installDir()), systemFolder});
        } else {
            if (asOtherUser_) {
                p.setChildProcessModifier([] {
                    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(kCannotDropPrivileges);
                });
            }
            p.start(QString::fromStdString(installDir() + "drovix"), {"/auto"});
        }
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return -1;
        errors_ = p.readAllStandardError().toStdString();
        return p.exitCode();
    }
    // What the last run wrote to its standard error.
    const std::string& Errors() const { return errors_; }

    // The folders below the per-user data folder that hold a settings file.
    QStringList SettingsFolders() const {
        const QDir data(QString::fromStdString(root_.file("data")));
        QStringList folders;
        QDirIterator it(data.path(), {"Drovix.ini"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) folders << data.relativeFilePath(QFileInfo(it.next()).path());
        folders.sort();
        return folders;
    }

  private:
    TempFolder root_;
    bool asOtherUser_ = geteuid() == 0;
    std::string errors_;
};

// A folder among the system's programs that a mount namespace may cover; empty when there is
// none, or no namespace can be made here.
QString SystemProgramFolder() {
    QProcess probe;
    probe.start("unshare", {"-rm", "true"});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return {};
    for (const char* folder :
         {"/usr/local/games", "/usr/local/src", "/usr/games", "/usr/src", "/usr/local/bin"}) {
        if (QFileInfo(folder).isDir()) return folder;
    }
    return {};
}

// A scheduled run without a display must find the settings the person made in the window.
TEST(InstalledCopy, BothFacesUseTheSamePerUserFolder) {
    InstalledCopy copy;
    const int headless = copy.RunAuto(false);
    if (headless == kCannotDropPrivileges) GTEST_SKIP() << "cannot run as an unprivileged user here";
    EXPECT_EQ(headless, kExitNotSetUp);
    EXPECT_EQ(copy.RunAuto(true), kExitNotSetUp);
    EXPECT_EQ(copy.Errors().find("cannot start its window"), std::string::npos) << copy.Errors();
    EXPECT_FALSE(FileExists(copy.installDir() + "Drovix.ini")) << "nothing is written beside the program";
    EXPECT_EQ(copy.SettingsFolders(), QStringList{"Drovix"});
}

// The window is a program of its own beside drovix. Without it, a scheduled run where a display
// is at hand still runs, headless, and says why.
TEST(InstalledCopy, AnUnattendedRunGoesOnWithoutTheWindowProgram) {
    InstalledCopy copy;
    chmod(copy.installDir().c_str(), 0755);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(copy.installDir() + "drovix-window")));
    const int status = copy.RunAuto(true);
    if (status == kCannotDropPrivileges) GTEST_SKIP() << "cannot run as an unprivileged user here";
    EXPECT_EQ(status, kExitNotSetUp);
    EXPECT_NE(copy.Errors().find("cannot start its window"), std::string::npos) << copy.Errors();
    EXPECT_NE(copy.Errors().find("Drovix cannot run unattended: no router address"), std::string::npos)
        << copy.Errors();
}

// Root may write into /usr/bin; an installed copy still never keeps its files there.
TEST(InstalledCopy, UnderUsrItKeepsNothingBesideItselfAlsoForRoot) {
    const QString systemFolder = SystemProgramFolder();
    if (systemFolder.isEmpty()) GTEST_SKIP() << "no mount namespace can be made here";
    InstalledCopy copy;
    EXPECT_EQ(copy.RunAuto(false, systemFolder), kExitNotSetUp);
    EXPECT_FALSE(FileExists(copy.installDir() + "Drovix.ini"))
        << "written beside the program in " << systemFolder.toStdString();
    EXPECT_EQ(copy.SettingsFolders(), QStringList{"Drovix"});
}

}  // namespace
