#include "AnsweredBoxes.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "common/FileEncoding.h"
#include "settings/PrivateConfig.h"

#include <QDate>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString settingsFile = QStringLiteral("vantrel_cof.ini");

void writeSettings(const TempFolder &folder, const char *utf8Lines)
{
    folder.write(settingsFile, encodeFileText(u8s(utf8Lines)));
}

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

TEST(StartUp, WithListsAndNoSettingsCreatesTheFileAndShowsTheDesignedReceipt)
{
    TempFolder folder;
    folder.copyDeliveredLists();
    AnsweredBoxes boxes;
    MainWindow window(folder.path());

    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_TRUE(folder.exists(settingsFile));
    EXPECT_EQ(window.cityNames().lookup(QStringLiteral("HGH")), u8s("杭州"));
    EXPECT_EQ(window.airNames().lookup(QStringLiteral("MU")), u8s("东航"));
    ItineraryFields &fields = window.fields();
    for (const char *pick :
         {"cboEndorsement", "cboIssueBy", "cboAgentCode1", "cboAgentCode2", "edtInformation"})
        EXPECT_TRUE(fields.pickList(QString::fromLatin1(pick)).isEmpty()) << pick;
    EXPECT_EQ(fields.text(QStringLiteral("edtDateOfInsue")), today());
    EXPECT_EQ(fields.text(QStringLiteral("edtYQ")), QStringLiteral("EXEMPT"));
    EXPECT_EQ(fields.text(QStringLiteral("edtIssue")), QStringLiteral("XXX"));
}

TEST(StartUp, AMissingListShowsTheErrorAndSkipsTheRestOfStartUp)
{
    const struct
    {
        bool city;
        bool air;
        const char *missing;
    } cases[] = {{false, false, "city.txt"}, {true, false, "air.txt"}, {false, true, "city.txt"}};
    for (const auto &c : cases) {
        TempFolder folder;
        if (c.city)
            folder.copyDeliveredList("city.txt");
        if (c.air)
            folder.copyDeliveredList("air.txt");
        writeSettings(folder, "[COF]\nMakeText=NON-END\nStorage=1\nedtPassenger=张三\n");
        AnsweredBoxes boxes;
        MainWindow window(folder.path());

        ASSERT_EQ(boxes.shown().size(), 1) << c.missing;
        EXPECT_EQ(boxes.shown().front().kind, MessageBox::Kind::Error);
        EXPECT_EQ(boxes.shown().front().caption, QStringLiteral("Kestrano"));
        EXPECT_TRUE(
            boxes.shown().front().text.contains(folder.file(QString::fromLatin1(c.missing))));
        ItineraryFields &fields = window.fields();
        EXPECT_TRUE(fields.pickList(QStringLiteral("cboEndorsement")).isEmpty());
        EXPECT_EQ(fields.text(QStringLiteral("edtPassenger")), QString());
        EXPECT_EQ(fields.text(QStringLiteral("edtDateOfInsue")), QString());
        EXPECT_EQ(window.cityNames().entries().isEmpty(), !c.city);
        EXPECT_TRUE(window.airNames().entries().isEmpty());
    }
}

TEST(StartUp, FillsThePickListsFromTheSettingsAndRestoresOnlyWhenStorageIsOn)
{
    for (const bool storage : {false, true}) {
        TempFolder folder;
        folder.copyDeliveredLists();
        writeSettings(folder, storage ? "[COF]\nStorage=1\n" : "[COF]\nStorage=0\n");
        PrivateConfig config(true, folder.path());
        config.setStr(QStringLiteral("MakeText"), u8s("不得签转,\"NON END\""));
        config.setStr(QStringLiteral("company"), u8s("北京某航空服务公司"));
        config.setStr(QStringLiteral("OfficeNo"), QStringLiteral("BJS123"));
        config.setStr(QStringLiteral("CompanyCode"), QStringLiteral("08312345,08354321"));
        config.setStr(QStringLiteral("information"), QStringLiteral("a,b,"));
        config.setStr(QStringLiteral("edtPassenger"), u8s("张三"));
        config.setStr(QStringLiteral("edtDateOfInsue"), QStringLiteral("2001-02-03"));

        AnsweredBoxes boxes;
        MainWindow window(folder.path());
        ItineraryFields &fields = window.fields();
        EXPECT_TRUE(boxes.shown().isEmpty());
        EXPECT_EQ(fields.pickList(QStringLiteral("cboEndorsement")),
                  u8list({"不得签转", "NON END"}));
        EXPECT_EQ(fields.pickList(QStringLiteral("cboIssueBy")), u8list({"北京某航空服务公司"}));
        EXPECT_EQ(fields.pickList(QStringLiteral("cboAgentCode1")), u8list({"BJS123"}));
        EXPECT_EQ(fields.pickList(QStringLiteral("cboAgentCode2")),
                  u8list({"08312345", "08354321"}));
        EXPECT_EQ(fields.pickList(QStringLiteral("edtInformation")), u8list({"a", "b", ""}));
        EXPECT_EQ(fields.text(QStringLiteral("edtPassenger")), storage ? u8s("张三") : QString());
        EXPECT_EQ(fields.text(QStringLiteral("edtDateOfInsue")), today());
    }
}

TEST(StartUp, StorageOnWithNoStoredFieldsEmptiesEvenTheDesignedDefaults)
{
    TempFolder folder;
    folder.copyDeliveredLists();
    writeSettings(folder, "[COF]\nStorage=1\n");
    AnsweredBoxes boxes;
    MainWindow window(folder.path());
    for (const char *name : {"edtFarePer", "edtCAACPer", "edtYQPer", "edtYQ", "edtTotalPer",
                             "edtIssue", "edtGuowai", "edtTotal"})
        EXPECT_EQ(window.fields().text(QString::fromLatin1(name)), QString()) << name;
    EXPECT_EQ(window.fields().text(QStringLiteral("edtDateOfInsue")), today());
}

} // namespace
