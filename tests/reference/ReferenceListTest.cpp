#include "reference/ReferenceList.h"
#include "Strings.h"
#include "TempFolder.h"
#include "common/FileEncoding.h"
#include "common/KestranoError.h"

#include <gtest/gtest.h>

namespace {

ReferenceList cityList(const TempFolder &folder, const QString &text)
{
    folder.write(QStringLiteral("city.txt"), encodeFileText(text));
    ReferenceList list;
    list.loadCityFile(folder.file(QStringLiteral("city.txt")));
    return list;
}

ReferenceList airList(const TempFolder &folder, const QString &text)
{
    folder.write(QStringLiteral("air.txt"), encodeFileText(text));
    ReferenceList list;
    list.loadAirFile(folder.file(QStringLiteral("air.txt")));
    return list;
}

TEST(CityList, TakesTheFirstThreeCharactersAsTheCodeAndTrimsTheName)
{
    TempFolder folder;
    const ReferenceList list = cityList(
        folder, u8s("PEK 北京\r\nSHA\r\n\r\n PEK 错\r\nHGH\t杭州 \r\n   \r\nPEK 重复\nCAN广州"));
    EXPECT_EQ(list.entries(),
              u8list({"PEK=北京", "SHA=", " PE=K 错", "HGH=杭州", "   =", "PEK=重复", "CAN=广州"}));
    const struct
    {
        const char *code;
        const char *name;
    } lookups[] = {{"PEK", "北京"}, {"pek", "北京"}, {"SHA", ""}, {"HGH", "杭州"},
                   {"CAN", "广州"}, {"XXX", ""},     {"", ""},    {" PE", "K 错"}};
    for (const auto &lookup : lookups)
        EXPECT_EQ(list.lookup(u8s(lookup.code)), u8s(lookup.name)) << lookup.code;
}

TEST(AirlineList, StoresTrimmedLinesThatMustAlreadyReadCodeEqualsName)
{
    TempFolder folder;
    const ReferenceList list =
        airList(folder, u8s("  MU=东方航空  \r\nCA = 国航\r\nCZ\r\nMU=重复\r\n\r\n3U=四川航空"));
    EXPECT_EQ(list.entries(), u8list({"MU=东方航空", "CA = 国航", "CZ", "MU=重复", "3U=四川航空"}));
    const struct
    {
        const char *code;
        const char *name;
    } lookups[] = {
        {"mu", "东方航空"}, {"CA", ""}, {"CA ", " 国航"}, {"CZ", ""}, {"3u", "四川航空"}};
    for (const auto &lookup : lookups)
        EXPECT_EQ(list.lookup(u8s(lookup.code)), u8s(lookup.name)) << lookup.code;
}

TEST(ReferenceListFile, ReadsUtf8FilesEditedElsewhere)
{
    TempFolder folder;
    folder.write(QStringLiteral("city.txt"), u8s("\xEF\xBB\xBFPVG 上海浦东\n").toUtf8());
    ReferenceList list;
    list.loadCityFile(folder.file(QStringLiteral("city.txt")));
    EXPECT_EQ(list.lookup(QStringLiteral("PVG")), u8s("上海浦东"));
}

TEST(ReferenceListFile, AMissingFileRaisesAnErrorNamingIt)
{
    TempFolder folder;
    ReferenceList list;
    try {
        list.loadAirFile(folder.file(QStringLiteral("air.txt")));
        FAIL() << "no error";
    } catch (const KestranoError &error) {
        EXPECT_TRUE(error.message().contains(folder.file(QStringLiteral("air.txt"))));
    }
    EXPECT_TRUE(list.entries().isEmpty());
    EXPECT_EQ(list.lookup(QStringLiteral("MU")), QString());
}

TEST(DeliveredLists, EveryLineFollowsItsFormAndNoCodeRepeats)
{
    const QString data = QStringLiteral(KESTRANO_DATA);
    ReferenceList cities;
    cities.loadCityFile(data + QStringLiteral("/city.txt"));
    ReferenceList airlines;
    airlines.loadAirFile(data + QStringLiteral("/air.txt"));
    EXPECT_GT(cities.entries().size(), 300);
    EXPECT_GT(airlines.entries().size(), 100);
    EXPECT_EQ(cities.lookup(QStringLiteral("PEK")), u8s("北京首都"));
    EXPECT_EQ(cities.lookup(QStringLiteral("HGH")), u8s("杭州"));
    EXPECT_EQ(airlines.lookup(QStringLiteral("MU")), u8s("东航"));

    for (const ReferenceList *list : {&cities, &airlines}) {
        QSet<QString> codes;
        for (const QString &entry : list->entries()) {
            const QString code = entry.section(u'=', 0, 0);
            const QString name = entry.section(u'=', 1);
            EXPECT_FALSE(name.isEmpty()) << entry.toStdString();
            EXPECT_FALSE(codes.contains(code)) << entry.toStdString();
            codes.insert(code);
        }
    }
}

} // namespace
