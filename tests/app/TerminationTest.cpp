#include "RunningProgram.h"
#include "Strings.h"
#include "TempFolder.h"
#include "settings/PrivateConfig.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

// The desktop session ending, a shutdown: SIGTERM ends the program within a
// second whatever it shows, a message box before the main window or the
// settings dialog, and the receipt is remembered as at any close.

namespace {

bool isFifo(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

TEST(Termination, EndsAtOnceWhileTheStartShowsAnError)
{
    TempFolder folder;
    folder.copyDeliveredLists();
    const QString settings = folder.file(QStringLiteral("vantrel_cof.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(settings).constData(), 0600), 0);

    RunningProgram program(folder.path());
    const QString box = program.waitForLine(QStringLiteral("box: "));
    EXPECT_TRUE(box.contains(settings)) << box.toStdString();
    EXPECT_TRUE(box.contains(u8s("无法读取设置文件"))) << box.toStdString();

    const qint64 took = program.terminate();
    EXPECT_GE(took, 0);
    EXPECT_LT(took, 1000);
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);
    // A file the program refused to read is never written over.
    EXPECT_TRUE(isFifo(settings));
}

TEST(Termination, EndsAtOnceWithTheSettingsDialogOpenAndRemembersTheReceipt)
{
    TempFolder folder;
    folder.copyDeliveredLists();

    RunningProgram program(folder.path(), {QStringLiteral("settings")});
    EXPECT_EQ(program.waitForLine(QStringLiteral("dialog: ")), QStringLiteral("frmOption"));

    const qint64 took = program.terminate();
    EXPECT_GE(took, 0);
    EXPECT_LT(took, 1000);
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);
    EXPECT_EQ(PrivateConfig(false, folder.path()).getStr(QStringLiteral("edtPassenger")),
              u8s("王五"));
}

} // namespace
