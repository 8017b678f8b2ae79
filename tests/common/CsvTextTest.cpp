#include "common/CsvText.h"

#include "Strings.h"

#include <gtest/gtest.h>

namespace {

// A name or remark pasted from anywhere reaches a spreadsheet as text, never
// as a formula it would run.
TEST(CsvCell, KeepsWhatASpreadsheetWouldRunAsText)
{
    const struct
    {
        const char *text;
        const char *cell;
    } cases[] = {
        {"WANG/WU", "WANG/WU"},
        {"=WANG/WU", "'=WANG/WU"},
        {"+86 139", "'+86 139"},
        {"-5", "'-5"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"  =1+1", "'  =1+1"},
        {"\t=1+1", "'\t=1+1"},
        {"\tWANG", "'\tWANG"},
        {"\r=1+1", "\"'\r=1+1\""},
        {"＝1+1", "'＝1+1"},
        {"　＋1", "'　＋1"},
        {"－1", "'－1"},
        {"＠A1", "'＠A1"},
        {"WANG-WU", "WANG-WU"},
        {"a,b", "\"a,b\""},
        {"=\"x\",1", "\"'=\"\"x\"\",1\""},
        {"", ""},
        {"   ", "   "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(csvCell(u8s(c.text)), u8s(c.cell)) << c.text;
}

} // namespace
