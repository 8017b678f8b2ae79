#include "html/HtmlParser.h"
#include "common/KestranoError.h"
#include "Strings.h"

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
    THtmlParser parser;
    parser.setHTML(QString::fromLatin1(sections));
    ASSERT_EQ(parser.WebTables().Count(), 2);
    TWebTable *table = parser.WebTables().GetTableByIndex(0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->className(), QStringLiteral("outer"));
    EXPECT_EQ(table->RowCount(), 4);

    EXPECT_EQ(table->GetCell(1, 0), QStringLiteral("h1"));
    EXPECT_EQ(table->GetCell(0, 1), QStringLiteral("a0"));
    EXPECT_EQ(table->GetCell(1, 1), QStringLiteral("a1"));
    EXPECT_EQ(table->GetCellHtml(1, 1), QStringLiteral("<B>a1</B>"));
    EXPECT_EQ(table->GetCell(0, 3), QStringLiteral("f0"));
    EXPECT_EQ(table->GetCellElement(2, 1).tagName(), QStringLiteral("TD"));
    EXPECT_EQ(table->GetRowColCount(0), 2);
    EXPECT_EQ(table->GetRowColCount(1), 3);

    // Past the last row, or past the last cell of a row.
    EXPECT_EQ(table->GetCellHtml(0, 4), QString());
    EXPECT_EQ(table->GetCell(0, 4), QString());
    EXPECT_EQ(table->GetRowColCount(4), 0);
    EXPECT_EQ(table->GetRowColCount(-1), 0);
    EXPECT_TRUE(table->GetCellElement(0, 4).isNull());
    EXPECT_TRUE(table->GetCellElement(3, 1).isNull());
    EXPECT_EQ(table->GetCell(3, 1), QString());
}

TEST(WebTable, GivesTheTablesWholeTextAndHtmlUntrimmed)
{
    THtmlParser parser;
    parser.setHTML(QStringLiteral("<table><tr><td> x </td></tr></table>"));
    TWebTable *table = parser.WebTables().GetTableByIndex(0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->InnerHtml(), QStringLiteral("<TR><TD> x </TD></TR>"));
    EXPECT_EQ(table->InnerText(), QStringLiteral("x"));
}

TEST(WebTable, WithNoTableEverythingReadsEmpty)
{
    TWebTable table;
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_EQ(table.className(), QString());
    EXPECT_EQ(table.InnerHtml(), QString());
    EXPECT_EQ(table.InnerText(), QString());
    EXPECT_EQ(table.GetCell(0, 0), QString());
    EXPECT_EQ(table.GetCellHtml(0, 0), QString());
    EXPECT_TRUE(table.GetCellElement(0, 0).isNull());
    EXPECT_EQ(table.GetRowColCount(0), 0);
}

TEST(WebTable, TakesOnlyTableElements)
{
    THtmlParser parser;
    parser.setHTML(QStringLiteral("<table id=t></table><div id=d></div>"));
    TWebTable table(parser.WebTables().GetTableInterfaceByName(QStringLiteral("t")));
    try {
        table.setTableInterface(parser.WebElements().GetElementByName(QStringLiteral("d")));
        FAIL() << "a DIV was taken for a table";
    } catch (const KestranoError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("不支持此接口"));
    }
    EXPECT_EQ(table.TableInterface().tagName(), QStringLiteral("TABLE"));
}

TEST(TableCollection, ReusesOneTableWrapperAndDetachesItWhenNothingIsFound)
{
    THtmlParser parser;
    parser.setHTML(QStringLiteral("<table class=a id=first></table><table class=b name=second>"
                                  "</table>"));
    TTableCollection &tables = parser.WebTables();
    TWebTable *first = tables.GetTableByIndex(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->className(), QStringLiteral("a"));
    EXPECT_EQ(tables.GetTableByName(QStringLiteral("second")), first);
    EXPECT_EQ(first->className(), QStringLiteral("b"));
    EXPECT_EQ(tables.GetTableInterfaceByName(QStringLiteral("first")).className(),
              QStringLiteral("a"));

    EXPECT_EQ(tables.GetTableByIndex(tables.Count()), nullptr);
    EXPECT_EQ(first->className(), QString());
    EXPECT_EQ(tables.GetTableByName(QStringLiteral("third")), nullptr);
    EXPECT_TRUE(tables.GetTableInterfaceByIndex(-1).isNull());
}

TEST(TableCollection, SeesTheTablesOfEveryNewPage)
{
    THtmlParser parser;
    TTableCollection &tables = parser.WebTables();
    EXPECT_EQ(tables.Count(), 0);
    parser.setHTML(QStringLiteral("<table class=x></table>"));
    EXPECT_EQ(tables.Count(), 1);
    parser.setHTML(QStringLiteral("<table class=y><tr><td><table></table></td></tr></table>"));
    EXPECT_EQ(tables.Count(), 2);
    EXPECT_EQ(tables.GetTableInterfaceByIndex(0).className(), QStringLiteral("y"));
}

} // namespace
