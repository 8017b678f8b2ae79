#include "common/TextRules.h"
#include "Strings.h"
#include "common/FileEncoding.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
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

TEST(FileText, Gb18030ReadsAndWritesAsQtsOwnConverterDoes)
{
    // Every character of the delivered lists, every two-byte GBK code and
    // characters outside the basic plane (four GB18030 bytes).
    QByteArray gb;
    for (const char *list : {"city.txt", "air.txt"}) {
        QFile file(QStringLiteral(KESTRANO_DATA "/") + QLatin1String(list));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << list;
        gb += file.readAll();
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F)
                gb += QByteArray{char(lead), char(trail)};
        }
    }
    gb += QStringEncoder("GB18030").encode(u8s("𠀀𪚥€\u00a0"));
    const QString qts = QStringDecoder("GB18030").decode(gb);
    EXPECT_EQ(decodeFileText(gb), qts);
    EXPECT_EQ(encodeFileText(qts), QStringEncoder("GB18030").encode(qts));
}

TEST(FileText, BytesThatAreNotGb18030BecomeReplacementCharacters)
{
    const struct
    {
        QByteArray bytes;
        const char *text;
    } cases[] = {{QByteArray("\xB1\xB1\xFF\xBE\xA9"), "北\uFFFD京"},
                 {QByteArray("\xB1\xB1\xBE"), "北\uFFFD"},
                 {QByteArray("A\x80\xB1\xB1"), "A\uFFFD北"}};
    for (const auto &c : cases)
        EXPECT_EQ(decodeFileText(c.bytes), u8s(c.text)) << c.bytes.toHex().constData();
    // A NUL is a character like any other: the text after it survives.
    EXPECT_EQ(decodeFileText(QByteArray("\xB1\xB1\0\xBE\xA9", 5)),
              u8s("北") + QChar(0) + u8s("京"));
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

namespace {

TEST(ChineseCharacter, EveryIdeographBlockCountsAndNothingElse)
{
    const struct
    {
        char32_t c;
        bool chinese;
    } cases[] = {
        {U'乘', true},   {0x4E00, true},  {0x9FA5, true},  {0x9FA6, true},   {0x9FFF, true},
        {0x4DAE, true},                                    // 䶮, Extension A (刘䶮)
        {0x3400, true},  {0x4DBF, true},  {0x20000, true}, // Extension B
        {0x2A6DF, true}, {0x2A700, true}, {0x2B740, true}, {0x2B820, true},  {0x2CEB0, true},
        {0x2EBE0, true}, {0x30000, true}, {0x31350, true}, {0xF900, true},   {0xFAD9, true},
        {0x2F800, true}, // compatibility ideographs
        {0x4DC0, false}, // Yijing hexagram
        {0x2E80, false}, // CJK radical
        {0x3000, false}, {0x3001, false}, {U'，', false},  {U'（', false},   {U'Ａ', false},
        {U'A', false},   {U'/', false},   {0xA000, false}, {0x2A6E0, false}, {0x1F600, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(isChineseCharacter(c.c), c.chinese) << std::hex << uint32_t(c.c);
        const QString text = QString::fromUcs4(&c.c, 1);
        EXPECT_EQ(hasChineseCharacter(QStringLiteral("A") + text), c.chinese)
            << std::hex << uint32_t(c.c);
    }
    EXPECT_FALSE(hasChineseCharacter(QString()));
    // Half of a pair is no character.
    const QString extensionB = QString::fromUcs4(U"\U00020000", 1);
    EXPECT_FALSE(hasChineseCharacter(extensionB.left(1)));
}

// What another desk or a server wrote, shown on one line as what it says.
TEST(ForeignText, KeepsOnlyTextThatReadsAsItself)
{
    const struct
    {
        const char *what;
        QString text;
        QString shown;
    } cases[] = {
        {"plain Chinese and Latin", u8s("柜台A desk-1"), u8s("柜台A desk-1")},
        {"a terminal's colour and title sequences go whole",
         u8s("\x1b[31;1m42P01\x1b[0m \x1b]0;owned\x07ok"), u8s("42P01 ok")},
        {"a lone escape takes the one character after it", u8s("a\x1b" "cb"), u8s("ab")},
        {"an escape at the very end", u8s("ab\x1b"), u8s("ab")},
        {"line breaks and other controls become one blank",
         u8s("柜台\r\n\tA\u0085B\u2028C\x7f"), u8s("柜台 A B C")},
        {"characters that reorder text are dropped",
         u8s("\u202eABC\u202c\u2066D\u2069\u200fE\u061c"), u8s("ABCDE")},
        {"markup stays as characters", u8s("<b>柜台</b>"), u8s("<b>柜台</b>")},
        {"cut after the length, with an ellipsis", QString(200, u'字'),
         QString(120, u'字') + u8s("…")},
        {"never half of a pair", QString(119, u'a') + QString::fromUcs4(U"\U00020000"),
         QString(119, u'a') + u8s("…")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(foreignText(c.text), c.shown) << c.what;
}

} // namespace
