#include "settings/PrivateConfig.h"
#include "Strings.h"
#include "TempFolder.h"
#include "common/FileEncoding.h"
#include "common/KestranoError.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include "FileSizeLimit.h"
#endif

namespace {

const QString ini = QStringLiteral("vantrel_cof.ini");

TEST(PrivateConfigFile, IsCreatedEmptyByEveryInstance)
{
    for (bool write : {false, true}) {
        TempFolder folder;
        const PrivateConfig config(write, folder.path());
        EXPECT_EQ(config.filePath(), folder.file(ini));
        ASSERT_TRUE(folder.exists(ini));
        EXPECT_TRUE(folder.read(ini).isEmpty());
    }
}

TEST(PrivateConfigFile, AbsentKeysReadAsTheirDefaults)
{
    TempFolder folder;
    const PrivateConfig config(false, folder.path());
    EXPECT_EQ(config.getStr(QStringLiteral("edtFare")), QString());
    EXPECT_EQ(config.getInt(QStringLiteral("vpos")), 0);
    EXPECT_FALSE(config.getBool(QStringLiteral("Storage")));
    EXPECT_TRUE(config.getBool(QStringLiteral("Storage"), true));
    EXPECT_FALSE(config.getBool(QStringLiteral("Storage"), false));
}

TEST(PrivateConfigFile, ValuesComeBackExactlyAndKeysIgnoreCase)
{
    TempFolder folder;
    PrivateConfig writer(true, folder.path());
    writer.setStr(QStringLiteral("MakeText"), u8s("\"不得签转 NON-END\",\"A B\""));
    writer.setStr(QStringLiteral("edtPassenger"), u8s("张三"));
    writer.setInt(QStringLiteral("vpos"), -12);
    writer.setBool(QStringLiteral("Storage"), true);
    writer.setStr(QStringLiteral("EDTPASSENGER"), u8s("李四")); // replaces, does not add

    const PrivateConfig reader(false, folder.path());
    EXPECT_EQ(reader.getStr(QStringLiteral("maketext")), u8s("\"不得签转 NON-END\",\"A B\""));
    EXPECT_EQ(reader.getStr(QStringLiteral("edtPassenger")), u8s("李四"));
    EXPECT_EQ(reader.getInt(QStringLiteral("VPOS")), -12);
    EXPECT_TRUE(reader.getBool(QStringLiteral("storage")));

    const QString text = decodeFileText(folder.read(ini));
    EXPECT_TRUE(text.startsWith(QStringLiteral("[COF]"))) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("李四")), 1);
    EXPECT_FALSE(text.contains(QStringLiteral("张三")));
}

TEST(PrivateConfigFile, SectionNameIgnoresCase)
{
    TempFolder folder;
    folder.write(ini, "[cof]\r\nvpos=7\r\n[Other]\r\nvpos=9\r\n");
    const PrivateConfig config(false, folder.path());
    EXPECT_EQ(config.getInt(QStringLiteral("vpos")), 7);
}

TEST(PrivateConfigFile, LongValuesReadBackCutTo2047Characters)
{
    TempFolder folder;
    const QString long3000 = QString(2990, u'X') + u8s("中文中文中文中文中文");
    PrivateConfig(true, folder.path()).setStr(QStringLiteral("edtInformation"), long3000);
    const QString back =
        PrivateConfig(false, folder.path()).getStr(QStringLiteral("edtInformation"));
    EXPECT_EQ(back, long3000.left(2047));
}

TEST(PrivateConfigFile, IntegersThatAreNotNumbersReadAsTheDefault)
{
    const struct
    {
        const char *stored;
        bool isNumber;
        int value;
    } cases[] = {{"12", true, 12},         {"-12", true, -12},   {"+5", true, 5},
                 {"0", true, 0},           {"  42  ", true, 42}, {"", false, 0},
                 {"abc", false, 0},        {"12abc", false, 0},  {"1.5", false, 0},
                 {"99999999999", false, 0}};
    for (const auto &c : cases) {
        TempFolder folder;
        folder.write(ini, QByteArray("[COF]\nfontcnsize=") + c.stored + "\n");
        const PrivateConfig config(false, folder.path());
        const QString key = QStringLiteral("fontcnsize");
        EXPECT_EQ(config.getInt(key), c.value) << c.stored;
        EXPECT_EQ(config.getBool(key), c.value != 0) << c.stored;
        EXPECT_EQ(config.getBool(key, true), c.isNumber ? c.value != 0 : true) << c.stored;
    }
}

TEST(PrivateConfigEncoding, WritesGb18030AndReadsUtf8Too)
{
    TempFolder folder;
    PrivateConfig(true, folder.path())
        .setStr(QStringLiteral("cboIssueBy"), u8s("北京航空服务公司"));
    const QByteArray bytes = folder.read(ini);
    EXPECT_TRUE(bytes.contains(encodeFileText(u8s("北京航空服务公司"))));
    EXPECT_FALSE(bytes.contains(u8s("北京").toUtf8()));

    folder.write(ini, u8s("[COF]\ncboIssueBy=上海航空服务\n").toUtf8());
    EXPECT_EQ(PrivateConfig(false, folder.path()).getStr(QStringLiteral("cboIssueBy")),
              u8s("上海航空服务"));
    folder.write(ini, "\xEF\xBB\xBF[COF]\ncboIssueBy=BOM\n");
    EXPECT_EQ(PrivateConfig(false, folder.path()).getStr(QStringLiteral("cboIssueBy")), u8s("BOM"));
}

TEST(PrivateConfigSharing, EachReadSeesTheLatestWriteOfAnyInstance)
{
    TempFolder folder;
    PrivateConfig first(true, folder.path());
    PrivateConfig second(true, folder.path());
    first.setStr(QStringLiteral("hpos"), QStringLiteral("3"));
    second.setStr(QStringLiteral("vpos"), QStringLiteral("4")); // keeps hpos of the other one
    EXPECT_EQ(first.getInt(QStringLiteral("vpos")), 4);
    EXPECT_EQ(second.getInt(QStringLiteral("hpos")), 3);
}

TEST(PrivateConfigSharing, ALineBreakInAValueNeverBecomesAKeyOfItsOwn)
{
    TempFolder folder;
    PrivateConfig config(true, folder.path());
    config.setStr(QStringLiteral("edtInformation"), QStringLiteral("line one\r\nvpos=99"));
    EXPECT_EQ(config.getInt(QStringLiteral("vpos")), 0);
    EXPECT_EQ(config.getStr(QStringLiteral("edtInformation")), QStringLiteral("line one  vpos=99"));
}

TEST(PrivateConfigWrites, AWriteThroughAReadInstanceIsAnAssertionAndWritesNothing)
{
    TempFolder folder;
    PrivateConfig reader(false, folder.path());
    try {
        reader.setStr(QStringLiteral("vpos"), QStringLiteral("5"));
        FAIL() << "no assertion";
    } catch (const KestranoError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("程序内部错误（PrivateConfig，第 ")))
            << error.message().toStdString();
    }
    EXPECT_THROW(reader.setInt(QStringLiteral("vpos"), 5), KestranoError);
    EXPECT_THROW(reader.setBool(QStringLiteral("Storage"), true), KestranoError);
    EXPECT_TRUE(folder.read(ini).isEmpty());
}

#ifdef Q_OS_UNIX
TEST(PrivateConfigWrites, AnInterruptedWriteLeavesTheOldFileIntact)
{
    TempFolder folder;
    PrivateConfig config(true, folder.path());
    config.setStr(QStringLiteral("edtPassenger"), u8s("张三"));
    config.setStr(QStringLiteral("edtFare"), QStringLiteral("1860.00"));
    const QByteArray before = folder.read(ini);
    {
        const FileSizeLimit limit(before.size() + 16);
        EXPECT_THROW(config.setStr(QStringLiteral("edtInformation"), QString(4000, u'X')),
                     KestranoError);
    }
    EXPECT_EQ(folder.read(ini), before);
    // No temporary file is left behind; the lock file stays for good.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{ini, ini + QStringLiteral(".lock")}));
}
#endif

} // namespace

namespace {

TEST(PrivateConfigFile, ANulByteHidesNothingAndSurvivesASave)
{
    TempFolder folder;
    const QByteArray withNul = QByteArray("edtInformation=AB") + '\0' + QByteArray("CD\n");
    folder.write(ini, "[COF]\n" + withNul + "vpos=7\n");
    PrivateConfig config(true, folder.path());
    EXPECT_EQ(config.getStr(QStringLiteral("edtInformation")),
              QStringLiteral("AB") + QChar(0) + QStringLiteral("CD"));
    EXPECT_EQ(config.getInt(QStringLiteral("vpos")), 7);

    config.setStr(QStringLiteral("hpos"), QStringLiteral("1"));
    const QByteArray after = folder.read(ini);
    EXPECT_TRUE(after.contains(withNul)) << after.toStdString();
    EXPECT_TRUE(after.contains("vpos=7"));
    EXPECT_TRUE(after.contains("hpos=1"));
}

TEST(PrivateConfigFile, ASnapshotIsOneReadingForAGroupOfReads)
{
    TempFolder folder;
    PrivateConfig config(true, folder.path());
    config.setStrs({{QStringLiteral("vpos"), QStringLiteral("-3")},
                    {QStringLiteral("Storage"), QStringLiteral("1")},
                    {QStringLiteral("edtPassenger"), u8s("张三")}});
    const SettingsSnapshot snapshot = config.snapshot();
    config.setStr(QStringLiteral("vpos"), QStringLiteral("9")); // later writes do not reach it
    EXPECT_EQ(snapshot.getInt(QStringLiteral("VPOS")), -3);
    EXPECT_TRUE(snapshot.getBool(QStringLiteral("Storage")));
    EXPECT_EQ(snapshot.getStr(QStringLiteral("edtPassenger")), u8s("张三"));
    EXPECT_EQ(snapshot.integer(QStringLiteral("edtPassenger")), std::nullopt);
    EXPECT_EQ(config.getInt(QStringLiteral("vpos")), 9);
}

TEST(PrivateConfigWrites, SeveralKeysGoInOneReplacementInTheirOrder)
{
    TempFolder folder;
    PrivateConfig config(true, folder.path());
    config.setStr(QStringLiteral("b"), QStringLiteral("old"));
    config.setStrs({{QStringLiteral("a"), QStringLiteral("1")},
                    {QStringLiteral("B"), QStringLiteral("2")},
                    {QStringLiteral("c"), u8s("三")}});
    EXPECT_EQ(decodeFileText(folder.read(ini)), u8s("[COF]\nb=2\na=1\nc=三\n"));

    const PrivateConfig reader(false, folder.path());
    EXPECT_THROW(PrivateConfig(false, folder.path()).setStrs({}), KestranoError);
    EXPECT_EQ(reader.getStr(QStringLiteral("a")), QStringLiteral("1"));
}

} // namespace
