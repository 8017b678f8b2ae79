#include "Strings.h"
#include "common/KestranoError.h"
#include "html/HtmlParser.h"

#include <gtest/gtest.h>

namespace {

// Rows in three sections, a row written straight into the table, and a
// table inside a cell whose rows are not the outer table's.
const char *const sections = "<table id=t class=outer>"
                             "<thead><tr><th>h0</th><th> h1 </th></tr></thead>"
                             "<tbody><tr><td>a0</td><td> <b>a1</b> </td><td>a2</td></tr>"
                             "<tr><td><table class=inner><tr><td>i</td></tr></table></td></tr>"
                             "</tbody>"
                             "<tfoot><tr><td>f0</td></tr></tfoot>"
                             "</table>";

TEST(WebTable, CountsTheRowsOfAllSectionsAndAddressesCellsColumnFirst)
{
    HtmlParser parser;
    parser.setHTML(QString::fromLatin1(sections));
    ASSERT_EQ(parser.webTables().count(), 2);
    WebTable *table = parser.webTables().getTableByIndex(0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->className(), QStringLiteral("outer"));
    EXPECT_EQ(table->rowCount(), 4);

    EXPECT_EQ(table->getCell(1, 0), QStringLiteral("h1"));
    EXPECT_EQ(table->getCell(0, 1), QStringLiteral("a0"));
    EXPECT_EQ(table->getCell(1, 1), QStringLiteral("a1"));
    EXPECT_EQ(table->getCellHtml(1, 1), QStringLiteral("<B>a1</B>"));
    EXPECT_EQ(table->getCell(0, 3), QStringLiteral("f0"));
    EXPECT_EQ(table->getCellElement(2, 1).tagName(), QStringLiteral("TD"));
    EXPECT_EQ(table->getRowColCount(0), 2);
    EXPECT_EQ(table->getRowColCount(1), 3);

    // Past the last row, or past the last cell of a row.
    EXPECT_EQ(table->getCellHtml(0, 4), QString());
    EXPECT_EQ(table->getCell(0, 4), QString());
    EXPECT_EQ(table->getRowColCount(4), 0);
    EXPECT_EQ(table->getRowColCount(-1), 0);
    EXPECT_TRUE(table->getCellElement(0, 4).isNull());
    EXPECT_TRUE(table->getCellElement(3, 1).isNull());
    EXPECT_EQ(table->getCell(3, 1), QString());
}

TEST(WebTable, GivesTheTablesWholeTextAndHtmlUntrimmed)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<table><tr><td> x </td></tr></table>"));
    WebTable *table = parser.webTables().getTableByIndex(0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->innerHtml(), QStringLiteral("<TR><TD> x </TD></TR>"));
    EXPECT_EQ(table->innerText(), QStringLiteral("x"));
}

TEST(WebTable, WithNoTableEverythingReadsEmpty)
{
    WebTable table;
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.className(), QString());
    EXPECT_EQ(table.innerHtml(), QString());
    EXPECT_EQ(table.innerText(), QString());
    EXPECT_EQ(table.getCell(0, 0), QString());
    EXPECT_EQ(table.getCellHtml(0, 0), QString());
    EXPECT_TRUE(table.getCellElement(0, 0).isNull());
    EXPECT_EQ(table.getRowColCount(0), 0);
}

TEST(WebTable, TakesOnlyTableElements)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<table id=t></table><div id=d></div>"));
    WebTable table(parser.webTables().getTableInterfaceByName(QStringLiteral("t")));
    try {
        table.setTableInterface(parser.webElements().getElementByName(QStringLiteral("d")));
        FAIL() << "a DIV was taken for a table";
    } catch (const KestranoError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("不支持此接口"));
    }
    EXPECT_EQ(table.tableInterface().tagName(), QStringLiteral("TABLE"));
}

TEST(TableCollection, ReusesOneTableWrapperAndDetachesItWhenNothingIsFound)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<table class=a id=first></table><table class=b name=second>"
                                  "</table>"));
    TableCollection &tables = parser.webTables();
    WebTable *first = tables.getTableByIndex(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->className(), QStringLiteral("a"));
    EXPECT_EQ(tables.getTableByName(QStringLiteral("second")), first);
    EXPECT_EQ(first->className(), QStringLiteral("b"));
    EXPECT_EQ(tables.getTableInterfaceByName(QStringLiteral("first")).className(),
              QStringLiteral("a"));

    EXPECT_EQ(tables.getTableByIndex(tables.count()), nullptr);
    EXPECT_EQ(first->className(), QString());
    EXPECT_EQ(tables.getTableByName(QStringLiteral("third")), nullptr);
    EXPECT_TRUE(tables.getTableInterfaceByIndex(-1).isNull());
}

TEST(TableCollection, SeesTheTablesOfEveryNewPage)
{
    HtmlParser parser;
    TableCollection &tables = parser.webTables();
    EXPECT_EQ(tables.count(), 0);
    parser.setHTML(QStringLiteral("<table class=x></table>"));
    EXPECT_EQ(tables.count(), 1);
    parser.setHTML(QStringLiteral("<table class=y><tr><td><table></table></td></tr></table>"));
    EXPECT_EQ(tables.count(), 2);
    EXPECT_EQ(tables.getTableInterfaceByIndex(0).className(), QStringLiteral("y"));
}

} // namespace
