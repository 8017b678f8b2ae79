#include "FileMode.h"
#include "RunningProgram.h"
#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Root starting the program from where it is installed (a folder of root's
// that every user runs it from) keeps its settings in its own config folder
// like any user, and writes nothing beside the program.
TEST(SettingsPlace, RootWritesNothingIntoAnInstalledFolder)
{
    ASSERT_EQ(::geteuid(), 0u) << "the test is about root";
    const TempFolder program;
    program.copyDeliveredLists();
    ASSERT_EQ(::chmod(QFile::encodeName(program.path()).constData(), 0755), 0);
    const QStringList installed = QDir(program.path()).entryList(QDir::Files | QDir::Hidden);
    const TempFolder home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));

    RunningProgram running(program.path(), {}, environment);
    ASSERT_TRUE(running.waitForWindow());
    EXPECT_GE(running.terminate(), 0);

    EXPECT_EQ(QDir(program.path()).entryList(QDir::Files | QDir::Hidden), installed);
    const QString config = home.file(QStringLiteral(".config/kestrano"));
    EXPECT_EQ(modeOf(config), 0700u);
    EXPECT_EQ(modeOf(QDir(config).filePath(QStringLiteral("vantrel_cof.ini"))), 0600u);
}

} // namespace
