#include "html/GumboTree.h"
#include "html/HtmlParser.h"
#include "common/KestranoError.h"
#include "html/MarkupGuard.h"
#include "Strings.h"

#include <gtest/gtest.h>
#include <string_view>

namespace {

QString numbered(const char *pattern, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QString::fromLatin1(pattern).arg(i);
    return text;
}

QString refusal(const QString &page)
{
    try {
        THtmlParser parser;
        parser.setHTML(page);
    } catch (const KestranoError &error) {
        return error.message();
    }
    return {};
}

TEST(PageLimits, APageOfMoreThan4MiBIsRefusedBeforeParsing)
{
    const qsizetype limit = 4 * 1024 * 1024;
    EXPECT_EQ(refusal(QString(limit + 1, u'a')),
              QStringLiteral("The page is larger than 4 MiB and is not read"));
    // Counted in UTF-8: 1.5 Mi Chinese characters take 4.5 MiB.
    EXPECT_EQ(refusal(QString(limit / 8 * 3, QChar(0x4E2D))),
              QStringLiteral("The page is larger than 4 MiB and is not read"));

    THtmlParser parser;
    parser.setHTML(QStringLiteral("<p>") + QString(limit - 3, u'a'));
    EXPECT_EQ(parser.WebElements().GetElementByIndex(3).innerText().size(), limit - 3);
}

TEST(PageLimits, PagesThatWouldStallTheParserAreRefused)
{
    const struct
    {
        const char *what;
        QString page;
        const char *message;
    } cases[] = {
        {"deep blocks", QStringLiteral("<div>").repeated(800000),
         "The page nests its elements more than 200 deep and is not read"},
        {"deep inline", QStringLiteral("<span><i>x").repeated(300000),
         "The page nests its elements more than 200 deep and is not read"},
        {"deep tables", QStringLiteral("<table><tr><td>").repeated(100000),
         "The page nests its elements more than 200 deep and is not read"},
        {"links around formatting", QStringLiteral("<a><b>x").repeated(300),
         "The page nests its elements more than 200 deep and is not read"},
        // The second TABLE closes the first: the cells after it are no cells.
        {"cell tags after a closed table",
         QStringLiteral("<table><table></table>") + QStringLiteral("<span><th>").repeated(300),
         "The page nests its elements more than 200 deep and is not read"},
        {"blocks in formatting", QStringLiteral("<b><div>x</b>").repeated(300),
         "The page nests its elements more than 200 deep and is not read"},
        {"foreign content", QStringLiteral("<svg>") + QStringLiteral("<g>").repeated(300),
         "The page nests its elements more than 200 deep and is not read"},
        {"unclosed formatting", numbered("<b id=%1>x", 300000),
         "The page leaves more than 128 formatting elements open and is not read"},
        {"reopened formatting",
         QStringLiteral("<p>") + numbered("<b id=%1>", 100) +
             QStringLiteral("<p>x").repeated(100000),
         "The page reopens its unclosed formatting elements too often and is not read"},
        {"attributes", QStringLiteral("<div ") + numbered("a%1=1 ", 300000) + QStringLiteral(">"),
         "The page has a tag with more than 128 attributes and is not read"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(refusal(c.page), QString::fromLatin1(c.message)) << c.what;
}

TEST(PageLimits, APageWhoseTreeOutgrowsItsMemoryIsAbandonedMidway)
{
    const QByteArray page = QByteArrayLiteral("<p>x").repeated(1000);
    try {
        parsePage(page, 16 * 1024);
        FAIL() << "the tree fitted into 16 KiB";
    } catch (const KestranoError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("The page would take more memory than a page of "
                                                  "its size should and is not read"));
    }
    EXPECT_EQ(parsePage(page, 1024 * 1024)->descendantElements().size(), 1003u);
}

TEST(PageLimits, BroadOrSloppyPagesAreRead)
{
    const struct
    {
        const char *what;
        QString page;
        int elements;
    } cases[] = {
        {"nesting below the limit", QStringLiteral("<div>").repeated(150), 153},
        {"nested tables", QStringLiteral("<table><tr><td>").repeated(40), 163},
        {"many flat elements", QStringLiteral("<span>x</span>").repeated(200000), 200003},
        {"unclosed cells and rows",
         QStringLiteral("<table>") +
             QStringLiteral("<tr><td>a<td><font color=red>b").repeated(20000),
         80005},
        {"unclosed list items", QStringLiteral("<ul>") + QStringLiteral("<li>x").repeated(100000),
         100004},
        {"unclosed paragraphs", QStringLiteral("<p>x").repeated(100000), 100003},
        // Every paragraph reopens the FONT that the one before left open.
        {"an unclosed FONT in a paragraph",
         QStringLiteral("<p><font size=2>x") + QStringLiteral("<p>x").repeated(1000), 2005},
        {"misnested formatting", QStringLiteral("<b><i>x</b></i>").repeated(10000), 20003},
        // As office programs write it: the FONT is moved into the paragraph.
        {"formatting closed inside a block",
         QStringLiteral("<font size=2><p>x</font></p>").repeated(1000), 3003},
        {"formatting closed inside nested blocks",
         QStringLiteral("<b><p><div>x</b></div></p>").repeated(1000), 5003},
        {"scripts with tags in them",
         QStringLiteral("<script>document.write('<div>'.repeat(9))</script>").repeated(1000), 1003},
    };
    for (const auto &c : cases) {
        THtmlParser parser;
        EXPECT_NO_THROW(parser.setHTML(c.page)) << c.what;
        EXPECT_EQ(parser.WebElements().ElementCount(), c.elements) << c.what;
    }
}

TEST(PageLimits, BrokenMarkupIsReadWithoutHarm)
{
    using namespace std::literals;
    const std::string_view pages[] = {
        "<"sv,
        "</"sv,
        "<!"sv,
        "<!--"sv,
        "<!-- x"sv,
        "<a href='"sv,
        "<a href=\"x>"sv,
        "<table><tr><td"sv,
        "</table></td></tr><tr><td>"sv,
        "<select><option><select><option>"sv,
        "\0<b\0>\0"sv,
        "<svg><foreignObject><div><math><mi><table><td></svg>"sv,
        "<frameset><frame><frame>"sv,
        "<template><td><template><tr>"sv,
        "<p><table><p>x</table>"sv,
        "&#0;&#x110000;&#xD800;&bogus"sv,
        "<title><b>"sv,
        "<plaintext><div>"sv,
        "<textarea></textarea ><b>"sv,
        "\xff\xfe<b>\xc3"sv,
    };
    for (const std::string_view page : pages) {
        THtmlParser parser;
        ASSERT_NO_THROW(parser.setHTML(QString::fromUtf8(page.data(), qsizetype(page.size()))))
            << page;
        TWebElementCollection &elements = parser.WebElements();
        for (int i = 0; i < elements.ElementCount(); ++i) {
            elements.GetElementByIndex(i).innerText();
            elements.GetElementByIndex(i).innerHTML();
        }
    }
}

TEST(PageLimits, TheTextsOfAPageAtTheDepthLimitAreRead)
{
    const QString deep = QStringLiteral("<div class=d>").repeated(HtmlLimits::maxDepth - 1) +
                         QStringLiteral("x<br>y");
    THtmlParser parser;
    parser.setHTML(deep);
    const THtmlElement body = parser.WebElements().GetElementByIndex(2);
    EXPECT_EQ(body.innerText(), QStringLiteral("x\ny"));
    EXPECT_TRUE(
        body.innerHTML().endsWith(QStringLiteral("<DIV class=\"d\">x<BR>y") +
                                  QStringLiteral("</DIV>").repeated(HtmlLimits::maxDepth - 1)));
}

} // namespace
