#include "common/FileEncoding.h"
#include "Strings.h"
#include "common/TextRules.h"

#include <gtest/gtest.h>

namespace {

TEST(Trimming, RemovesBlanksAndControlsButNotWideSpaces)
{
    const struct
    {
        const char *text;
        const char *trimmed;
    } cases[] = {{"  A B \t\r\n", "A B"},
                 {"\x01X\x1F", "X"},
                 {"\xC2\xA0X\xC2\xA0", "\xC2\xA0X\xC2\xA0"},
                 {"\xE3\x80\x80中\xE3\x80\x80", "\xE3\x80\x80中\xE3\x80\x80"},
                 {"   ", ""},
                 {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(trimmed(u8s(c.text)), u8s(c.trimmed)) << c.text;
}

TEST(FileText, ReadsUtf8AndGb18030AndWritesGb18030)
{
    const QString chinese = u8s("北京首都 𠀀");
    EXPECT_EQ(decodeFileText(encodeFileText(chinese)), chinese);
    EXPECT_EQ(decodeFileText(chinese.toUtf8()), chinese);
    EXPECT_EQ(decodeFileText(QByteArray("\xEF\xBB\xBF") + chinese.toUtf8()), chinese);
    EXPECT_EQ(encodeFileText(u8s("北京")), QByteArray("\xB1\xB1\xBE\xA9")); // as in GBK
}

TEST(FileText, TextWhoseGbBytesLookLikeUtf8ReadsBackTheSame)
{
    // Found by the test that kills a writing process: "畏" is CE B7 in
    // GB18030, which is "η" in UTF-8; a file of such text and ASCII was read
    // back as UTF-8.
    for (const char *text : {"payload=畏畏畏", "[COF]\nedtPassenger=畏\n", "北京", "ABC"}) {
        const QByteArray bytes = encodeFileText(u8s(text));
        EXPECT_EQ(decodeFileText(bytes), u8s(text)) << text;
    }
    EXPECT_EQ(encodeFileText(u8s("北京")), QByteArray("\xB1\xB1\xBE\xA9"));
    EXPECT_TRUE(encodeFileText(u8s("畏")).startsWith("\xEF\xBB\xBF"));
}

TEST(FileText, GbTextThatBeginsLikeAByteOrderMarkStaysGbText)
{
    // Found by fuzzing the settings file: "锘" and "縥" in GB18030 begin with
    // the bytes of a UTF-8 byte-order mark.
    const QString text = u8s("锘縥=张三\n[COF]\nedtPassenger=李四\n");
    const QByteArray bytes = encodeFileText(text);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(decodeFileText(bytes), text);
}

} // namespace
