#include "settings/SettingsLocation.h"
#include "FileMode.h"
#include "TempFolder.h"
#include "common/KestranoError.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingDeclarations.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString ini = QStringLiteral("vantrel_cof.ini");

bool setMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// A program folder, the user's config folder (not made yet) and the
// administrator's defaults, for one test.
struct Places
{
    TempFolder program;
    TempFolder home;
    TempFolder etc;
    QString config() const { return home.file(QStringLiteral(".config/kestrano")); }
    QString system() const { return etc.file(ini); }
    SettingsLocation choose() const
    {
        return SettingsLocation::choose(program.path(), config(), system());
    }
};

constexpr uid_t root = 0;
constexpr uid_t nobody = 65534;

// What check answers when asked by the user uid, in a process of its own.
bool asUser(uid_t uid, const std::function<bool()> &check)
{
    if (uid == ::geteuid())
        return check();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool becameUser = ::setgroups(0, nullptr) == 0 && ::setresgid(uid, uid, uid) == 0 &&
                                ::setresuid(uid, uid, uid) == 0;
        ::_exit(becameUser ? (check() ? 1 : 0) : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not become " << uid;
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST(SettingsLocation, BesideTheProgramOnlyWhileItsFolderIsTheUsersOwn)
{
    ASSERT_EQ(::geteuid(), root) << "acting as two users needs root";
    const struct
    {
        const char *folder;
        mode_t mode;
        uid_t owner;
        uid_t user; // who runs the program
        bool portable;
    } cases[] = {{"the user's own", 0755, nobody, nobody, true},
                 {"the user's, private", 0700, nobody, nobody, true},
                 {"read-only", 0555, nobody, nobody, false},
                 {"writable by everybody", 0777, nobody, nobody, false},
                 {"writable by the group", 0775, nobody, nobody, false},
                 {"installed, run by a user", 0755, root, nobody, false},
                 {"installed, run by root", 0755, root, root, false},
                 {"installed for root's group", 0750, root, root, false},
                 {"root's, private", 0700, root, root, true},
                 {"a user's, run by root", 0755, nobody, root, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        Places places;
        const QByteArray program = QFile::encodeName(places.program.path());
        ASSERT_TRUE(setMode(places.program.path(), c.mode));
        ASSERT_EQ(::chown(program.constData(), c.owner, c.owner), 0);
        const bool portable = asUser(c.user, [&] {
            const SettingsLocation location = places.choose();
            return !location.installed && location.folder == places.program.path() &&
                   location.filePath() == QDir(places.program.path()).filePath(ini);
        });
        EXPECT_EQ(portable, c.portable);
        const bool installed = asUser(c.user, [&] {
            const SettingsLocation location = places.choose();
            return location.installed && location.folder == places.config() &&
                   location.filePath() == QDir(places.config()).filePath(ini);
        });
        EXPECT_EQ(installed, !c.portable);
        ::chown(program.constData(), root, root);
        setMode(places.program.path(), 0700); // so that the folder can go
    }
}

TEST(SettingsLocation, InstalledTheFirstStartCopiesTheAdministratorsFileIntoAPrivateFolder)
{
    Places places;
    ASSERT_TRUE(setMode(places.program.path(), 0555));
    const QByteArray defaults = "[COF]\nfontname=TEC\nMakeText=NON-END\nserver=http://a.example\n";
    places.etc.write(ini, defaults);
    ASSERT_TRUE(setMode(places.system(), 0644));

    const SettingsLocation location = places.choose();
    EXPECT_EQ(location.prepare(), QString());
    EXPECT_EQ(modeOf(location.folder), 0700u);
    EXPECT_EQ(modeOf(location.filePath()), 0600u);
    QFile copy(location.filePath());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), defaults);

    // Once the user has a file, it stays theirs.
    PrivateConfig(true, location.folder).setStr(Setting::fontname.key, QStringLiteral("Mine"));
    EXPECT_EQ(location.prepare(), QString());
    EXPECT_EQ(PrivateConfig(false, location.folder).getStr(Setting::fontname.key),
              QStringLiteral("Mine"));
    EXPECT_EQ(PrivateConfig(false, location.folder).getStr(Setting::MakeText.key),
              QStringLiteral("NON-END"));
    setMode(places.program.path(), 0700);
}

TEST(SettingsLocation, InstalledWithoutDefaultsAnEarlierFolderIsMadePrivate)
{
    Places places;
    ASSERT_TRUE(setMode(places.program.path(), 0555));
    ASSERT_TRUE(QDir().mkpath(places.config()));
    ASSERT_TRUE(setMode(places.config(), 0755));
    const SettingsLocation location = places.choose();
    EXPECT_EQ(location.prepare(), QString());
    EXPECT_EQ(modeOf(places.config()), 0700u);
    EXPECT_FALSE(QFile::exists(location.filePath())); // the store makes it empty when first used
    PrivateConfig(true, location.folder).setStr(Setting::vpos.key, QStringLiteral("3"));
    EXPECT_EQ(modeOf(location.filePath()), 0600u);
    setMode(places.program.path(), 0700);
}

TEST(SettingsLocation, TheServiceAddressComesFromTheAdministratorOnlyWhenInstalled)
{
    Places places;
    places.program.write(ini, "[COF]\nserver=http://planted.example/\nvpos=4\n");
    places.etc.write(ini, "[COF]\nserver=https://chosen.example/\n");
    ASSERT_TRUE(setMode(places.system(), 0644));

    SettingsLocation installed(places.program.path()); // the user's file, as installed
    installed.installed = true;
    installed.systemFile = places.system();
    const Settings settings = Settings::read(installed);
    EXPECT_EQ(settings.server(), QStringLiteral("https://chosen.example"));
    EXPECT_EQ(settings.value(Setting::vpos), 4); // everything else is the user's

    // No administrator's file: the default, never the user's.
    installed.systemFile = places.etc.file(QStringLiteral("absent.ini"));
    EXPECT_EQ(Settings::read(installed).server(), Setting::server.defaultValue);

    // Portable: the program's own file says where the service is.
    EXPECT_EQ(Settings::read(SettingsLocation(places.program.path())).server(),
              QStringLiteral("http://planted.example"));
}

// Defaults that anybody but root may have written are no defaults: the file
// is ignored (the default service address, nothing copied) and the start says
// which file and why; the user's own file is read as ever.
TEST(SettingsLocation, AnAdministratorsFileNotRootsAloneIsIgnoredAndTold)
{
    ASSERT_EQ(::geteuid(), root) << "acting as two users needs root";
    enum class Plant { Nothing, FileMode, FileOwner, FolderMode, FolderOwner, Link };
    const struct
    {
        const char *name;
        Plant plant;
        uid_t user;
        const char *reason; // empty: the file is used
    } cases[] = {
        {"root's, read by all", Plant::Nothing, root, ""},
        {"root's, read by a user", Plant::Nothing, nobody, ""},
        {"writable by others", Plant::FileMode, root, "其他用户可以修改它"},
        {"the user's own", Plant::FileOwner, nobody, "它不属于 root"},
        {"another user's", Plant::FileOwner, root, "它不属于 root"},
        {"in a folder others may write", Plant::FolderMode, nobody,
         "其他用户可以修改它所在的文件夹"},
        {"in a user's folder", Plant::FolderOwner, nobody, "不属于 root"},
        {"a link", Plant::Link, root, "它是一个链接"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Places places;
        ASSERT_TRUE(setMode(places.program.path(), 0555));
        ASSERT_TRUE(setMode(places.etc.path(), 0755));
        const QByteArray etc = QFile::encodeName(places.etc.path());
        const QByteArray file = QFile::encodeName(places.system());
        const QByteArray defaults = "[COF]\nserver=https://chosen.example/\nMakeText=XYZ\n";
        if (c.plant == Plant::Link) {
            places.etc.write(QStringLiteral("real.ini"), defaults);
            ASSERT_EQ(::symlink("real.ini", file.constData()), 0);
        } else {
            places.etc.write(ini, defaults);
            ASSERT_TRUE(setMode(places.system(), c.plant == Plant::FileMode ? 0666 : 0644));
        }
        if (c.plant == Plant::FileOwner) {
            ASSERT_EQ(::chown(file.constData(), nobody, nobody), 0);
        }
        if (c.plant == Plant::FolderMode) {
            ASSERT_TRUE(setMode(places.etc.path(), 01777));
        }
        if (c.plant == Plant::FolderOwner) {
            ASSERT_EQ(::chown(etc.constData(), nobody, nobody), 0);
        }
        // The user's home, for the user to make the config folder in.
        ASSERT_TRUE(setMode(places.home.path(), 0755));
        ASSERT_EQ(::chown(QFile::encodeName(places.home.path()).constData(), c.user, c.user), 0);

        const bool told = asUser(c.user, [&] {
            const SettingsLocation location = places.choose();
            const QString notice = location.prepare();
            const Settings settings = Settings::read(location);
            if (!*c.reason)
                return notice.isEmpty() &&
                       settings.server() == QStringLiteral("https://chosen.example") &&
                       settings.value(Setting::MakeText) == QStringList{QStringLiteral("XYZ")};
            return notice.startsWith(QStringLiteral("管理员的设置文件 ") + places.system() +
                                     QStringLiteral(" 未被采用：")) &&
                   notice.contains(QString::fromUtf8(c.reason)) &&
                   settings.server() == Setting::server.defaultValue &&
                   settings.value(Setting::MakeText).isEmpty();
        });
        EXPECT_TRUE(told);
        setMode(places.program.path(), 0700);
        setMode(places.etc.path(), 0700);
    }
}

// One reading gives every setting typed by its declaration: what is stored
// when it is usable, else the declared default.
TEST(TypedSettings, OneReadingGivesEverySettingByItsDeclaration)
{
    TempFolder folder;
    folder.write(ini, "[COF]\nvpos=-12\nhpos=120\nfontcnsize=big\nfontensize=12\nfontname=\n"
                      "fontcolor=0\nMakeText=A,\"B C\"\ncompany=X\nStorage=1\n");
    const Settings settings = Settings::read(folder.path());
    EXPECT_EQ(settings.value(Setting::vpos), -12);
    EXPECT_EQ(settings.value(Setting::hpos), 120);
    EXPECT_EQ(settings.value(Setting::fontcnsize), 18); // not a number
    EXPECT_EQ(settings.value(Setting::fontensize), 12);
    EXPECT_EQ(settings.value(Setting::fontname), QStringLiteral("TEC")); // empty
    EXPECT_EQ(settings.value(Setting::fontcolor), 0);                    // stored black, not absent
    EXPECT_EQ(settings.value(Setting::MakeText),
              (QStringList{QStringLiteral("A"), QStringLiteral("B C")}));
    EXPECT_EQ(settings.value(Setting::company), QStringList{QStringLiteral("X")});
    EXPECT_TRUE(settings.value(Setting::OfficeNo).isEmpty());
    EXPECT_TRUE(settings.value(Setting::Storage));
    EXPECT_EQ(settings.server(), Setting::server.defaultValue);

    const struct
    {
        const char *stored;
        int fontColor;
        int fontCnSize;
    } cases[] = {{"", 8421504, 18},
                 {"fontcolor=\nfontcnsize=\n", 8421504, 18},
                 {"fontcolor=grey\nfontcnsize=0\n", 8421504, 18},
                 {"fontcolor=255\nfontcnsize=-4\n", 255, 18},
                 {"fontcolor=16777215\nfontcnsize=1\n", 16777215, 1}};
    for (const auto &c : cases) {
        folder.write(ini, "[COF]\n" + QByteArray(c.stored));
        const Settings read = Settings::read(folder.path());
        EXPECT_EQ(read.value(Setting::fontcolor), c.fontColor) << c.stored;
        EXPECT_EQ(read.value(Setting::fontcnsize), c.fontCnSize) << c.stored;
    }
}

} // namespace
