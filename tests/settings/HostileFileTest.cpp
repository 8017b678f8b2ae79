// Whatever stands in place of the settings file, the store never reaches
// beyond it, never waits on it and never loses a receipt silently: it either
// refuses with the reason or uses a fresh private file of its own.
#include "FileMode.h"
#include "TempFolder.h"
#include "common/KestranoError.h"
#include "settings/PrivateConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QString ini = QStringLiteral("vantrel_cof.ini");
const QByteArray victimText = "export PATH=/usr/bin\n# the victim's own file\n";
constexpr uid_t nobody = 65534;

// The message of the KestranoError that action raises; empty when none.
QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const KestranoError &error) {
        return error.message();
    }
    return {};
}

struct Intruder
{
    const char *what;
    // Puts it in place of the settings file; false when this system cannot.
    std::function<bool(const TempFolder &program, const TempFolder &victim)> plant;
    const char *reason; // the reason given for reads and writes alike
};

const Intruder intruders[] = {
    {"a link to another file",
     [](const TempFolder &program, const TempFolder &victim) {
         victim.write(QStringLiteral("bashrc"), victimText);
         return QFile::link(victim.file(QStringLiteral("bashrc")), program.file(ini));
     },
     "它是一个链接，程序不跟随链接"},
    {"a link to a file not yet there",
     [](const TempFolder &program, const TempFolder &victim) {
         return QFile::link(victim.file(QStringLiteral("bashrc")), program.file(ini));
     },
     "它是一个链接，程序不跟随链接"},
    {"a FIFO",
     [](const TempFolder &program, const TempFolder &) {
         return ::mkfifo(QFile::encodeName(program.file(ini)).constData(), 0666) == 0;
     },
     "它不是普通文件"},
    {"a folder",
     [](const TempFolder &program, const TempFolder &) { return QDir(program.path()).mkdir(ini); },
     "它不是普通文件"},
    {"a device",
     [](const TempFolder &program, const TempFolder &) {
         return ::mknod(QFile::encodeName(program.file(ini)).constData(), S_IFCHR | 0666,
                        makedev(1, 3)) == 0; // /dev/null's numbers
     },
     "它不是普通文件"},
    {"a file of 2 MiB",
     [](const TempFolder &program, const TempFolder &) {
         program.write(ini, "[COF]\nvpos=7\n" + QByteArray(2 * 1024 * 1024, 'x'));
         return true;
     },
     "它大于 1 MiB"},
    {"another user's file",
     [](const TempFolder &program, const TempFolder &) {
         program.write(ini, "[COF]\nserver=http://elsewhere.example\nfontcolor=16777215\n");
         // As root, a file handed to nobody is another user's file.
         return ::geteuid() == 0 &&
                ::chown(QFile::encodeName(program.file(ini)).constData(), nobody, nobody) == 0;
     },
     "它属于另一个用户"},
};

TEST(HostileSettingsFile, EveryIntruderIsRefusedWithItsReasonAndLeftAsItIs)
{
    for (const Intruder &intruder : intruders) {
        SCOPED_TRACE(intruder.what);
        TempFolder program;
        TempFolder victim;
        if (!intruder.plant(program, victim)) {
            ADD_FAILURE() << "cannot plant " << intruder.what << " here";
            continue;
        }
        const QString path = program.file(ini);
        const QFileInfo before(path);
        const bool victimWas = victim.exists(QStringLiteral("bashrc"));
        const QByteArray planted =
            before.isFile() && !before.isSymLink() ? program.read(ini) : QByteArray();

        const QString reason = QString::fromUtf8(intruder.reason);
        EXPECT_EQ(
            errorOf([&] { PrivateConfig(false, program.path()).getStr(QStringLiteral("vpos")); }),
            QStringLiteral("无法读取设置文件 %1：%2").arg(path, reason));
        EXPECT_EQ(errorOf([&] {
                      PrivateConfig(true, program.path())
                          .setStr(QStringLiteral("Edit2"), QStringLiteral("x;id>~/owned;#"));
                  }),
                  QStringLiteral("无法写入设置文件 %1：%2").arg(path, reason));

        // Still there as planted; what a link names is untouched, or still absent.
        const QFileInfo after(path);
        EXPECT_EQ(after.isSymLink(), before.isSymLink());
        EXPECT_EQ(after.isDir(), before.isDir());
        if (!planted.isEmpty()) {
            EXPECT_EQ(program.read(ini), planted);
        }
        EXPECT_EQ(victim.exists(QStringLiteral("bashrc")), victimWas);
        if (victimWas) {
            EXPECT_EQ(victim.read(QStringLiteral("bashrc")), victimText);
        }
    }
}

TEST(HostileSettingsFile, AReadOnlyFileIsReadButNeverReplaced)
{
    TempFolder program;
    program.write(ini, "[COF]\nvpos=7\n");
    ASSERT_TRUE(QFile::setPermissions(program.file(ini), QFile::ReadOwner));
    PrivateConfig config(true, program.path());
    EXPECT_EQ(config.getInt(QStringLiteral("vpos")), 7);
    EXPECT_EQ(errorOf([&] { config.setStr(QStringLiteral("hpos"), QStringLiteral("1")); }),
              QStringLiteral("无法写入设置文件 %1：它只能读取，不能写入").arg(program.file(ini)));
    EXPECT_EQ(program.read(ini), QByteArray("[COF]\nvpos=7\n"));
}

TEST(PrivateSettingsFile, NewAndRewrittenFilesAreTheUsersAlone)
{
    TempFolder program;
    const PrivateConfig created(false, program.path());
    EXPECT_EQ(modeOf(program.file(ini)), 0600u);

    // A file from an earlier version, readable by everybody, becomes private
    // at its next write; so does the lock file beside it.
    TempFolder earlier;
    earlier.write(ini, "[COF]\nedtId=110101199001011234\n");
    ASSERT_TRUE(QFile::setPermissions(earlier.file(ini), QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ReadGroup | QFile::ReadOther));
    PrivateConfig(true, earlier.path()).setStr(QStringLiteral("vpos"), QStringLiteral("1"));
    EXPECT_EQ(modeOf(earlier.file(ini)), 0600u);
    EXPECT_EQ(modeOf(earlier.file(ini + QStringLiteral(".lock"))), 0600u);
    EXPECT_TRUE(earlier.read(ini).contains("edtId=110101199001011234"));
}

} // namespace
