#include "html/PageLimits.h"
#include "Strings.h"
#include "common/KestranoError.h"
#include "html/HtmlParser.h"

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
        HtmlParser parser;
        parser.setHTML(page);
    } catch (const KestranoError &error) {
        return error.message();
    }
    return {};
}

// The deepest chain of elements below the document.
int depth(WebElementCollection &elements)
{
    int deepest = 0;
    for (int i = 0; i < elements.elementCount(); ++i) {
        int levels = 0;
        for (HtmlElement e = elements.getElementByIndex(i); e; e = e.parentElement())
            ++levels;
        deepest = std::max(deepest, levels);
    }
    return deepest;
}

TEST(PageLimits, APageOfMoreThan4MiBIsRefusedBeforeParsing)
{
    const qsizetype limit = 4 * 1024 * 1024;
    EXPECT_EQ(refusal(QString(limit + 1, u'a')), QStringLiteral("网页大于 4 MiB，没有读取"));
    // Counted in UTF-8: 1.5 Mi Chinese characters take 4.5 MiB.
    EXPECT_EQ(refusal(QString(limit / 8 * 3, QChar(0x4E2D))),
              QStringLiteral("网页大于 4 MiB，没有读取"));

    HtmlParser parser;
    parser.setHTML(QStringLiteral("<p>") + QString(limit - 3, u'a'));
    const HtmlElement paragraph =
        parser.webElements().getCollection(QStringLiteral("P"))->getElementByIndex(0);
    EXPECT_EQ(paragraph.innerText().size(), limit - 3);
}

// Pages built to stall a parser: each is read, with its nesting cut where
// the parser stops nesting, or refused, and nothing of it outlasts the
// call.
TEST(PageLimits, HostilePagesAreReadWithTheirNestingCutOrRefused)
{
    const struct
    {
        const char *what;
        QString page;
        const char *message; // empty: read
    } cases[] = {
        {"nested 100,000 deep", QStringLiteral("<div>").repeated(100000), ""},
        {"nested inline elements", QStringLiteral("<span><i>x").repeated(100000), ""},
        {"nested tables", QStringLiteral("<table><tr><td>").repeated(100000), ""},
        {"4 MiB of <b>", QStringLiteral("<b>").repeated(4 * 1024 * 1024 / 3), ""},
        {"a comment ended by --!> before deep DIVs",
         QStringLiteral("<!-- --!>") + QStringLiteral("<div>").repeated(100000), ""},
        {"unclosed formatting", numbered("<b id=%1>x", 100000), ""},
        {"100,000 attributes",
         QStringLiteral("<div ") + numbered("a%1=1 ", 100000) + QStringLiteral(">x</div>"),
         "网页中有标签的属性多于 128 个，没有读取"},
        {"100,000 attributes without values",
         QStringLiteral("<p><span ") + numbered("a%1 ", 100000) + QStringLiteral(">"),
         "网页中有标签的属性多于 128 个，没有读取"},
        {"100,000 attributes behind a bogus declaration",
         QStringLiteral("<!x <div ") + numbered("a%1 ", 100000) + QStringLiteral(">"),
         "网页中有标签的属性多于 128 个，没有读取"},
        {"names longer than the parser reads at once",
         QStringLiteral("<div ") + QString(100 * 200, u'a') + QStringLiteral(">"),
         "网页中有标签的属性多于 128 个，没有读取"},
    };
    for (const auto &c : cases) {
        HtmlParser parser;
        try {
            parser.setHTML(c.page);
            EXPECT_STREQ(c.message, "") << c.what << ": read";
            EXPECT_GT(parser.webElements().elementCount(), 2) << c.what;
            EXPECT_LE(depth(parser.webElements()), 260) << c.what;
        } catch (const KestranoError &error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.message)) << c.what;
        }
    }
}

TEST(PageLimits, TheCommentEndWithAnExclamationMarkEndsTheComment)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<!-- a --!><span class=fare>x</span> -->"));
    EXPECT_EQ(parser.webElements().getCollection(QStringLiteral("SPAN"))->elementCount(), 1);
}

// The attribute count follows the parser: what it never reads as a tag is
// not counted, and everything it does read as one is.
TEST(PageLimits, AttributesAreCountedWhereTheParserReadsATag)
{
    const QString many = numbered("a%1 ", 200);
    const struct
    {
        const char *what;
        QString page;
        int most;
    } cases[] = {
        {"a tag", QStringLiteral("<div a=1 b='>' c=\"x y\" d/e f>"), 5},
        {"a comment", QStringLiteral("<!-- <div ") + many + QStringLiteral("> -->"), 0},
        {"a script", QStringLiteral("<script>'<div ") + many + QStringLiteral(">'</script>"), 0},
        {"a style", QStringLiteral("<STYLE><div ") + many + QStringLiteral("></Style>"), 0},
        {"an end tag", QStringLiteral("</div ") + many + QStringLiteral(">"), 0},
        {"a quoted value", QStringLiteral("<p title='<div ") + many + QStringLiteral(">'>"), 1},
        // "<!-->" opens a comment that runs to the next "-->".
        {"an empty-looking comment", QStringLiteral("<!--><div ") + many + QStringLiteral(">-->"),
         0},
        {"after a comment", QStringLiteral("<!-- x --><div ") + many + QStringLiteral(">"), 200},
        {"after a script", QStringLiteral("<script>'</scripts><div ") + many + QStringLiteral(">"),
         200},
        {"a quote in a name", QStringLiteral("<div 'a=\"><div ") + many + QStringLiteral(">"), 200},
        // A quoted literal of a document type may hold a '>'; elsewhere the
        // declaration ends at the first.
        {"a document type",
         QStringLiteral("<!DOCTYPE html SYSTEM \"><p x='\"><div ") + many + QStringLiteral(">'"),
         200},
        {"a bogus document type",
         QStringLiteral("<!doctype html \"><div ") + many + QStringLiteral(">\""), 200},
        {"a tag in a tag", QStringLiteral("<div a<b ") + many + QStringLiteral(">"), 201},
        // libxml2 reads "<!" as text unless a comment or a document type
        // follows, and passes over "<?" when no name follows.
        {"after a bogus declaration", QStringLiteral("<!x <div ") + many + QStringLiteral(">"),
         200},
        {"after a CDATA section", QStringLiteral("<![CDATA[<div ") + many + QStringLiteral(">]]>"),
         200},
        {"after a nameless instruction", QStringLiteral("<? <div ") + many + QStringLiteral(">"),
         200},
        {"a processing instruction", QStringLiteral("<?x <div ") + many + QStringLiteral(">"), 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PageLimits::mostAttributesInOneTag(c.page.toUtf8()), c.most) << c.what;
}

TEST(PageLimits, BroadOrSloppyPagesAreRead)
{
    const struct
    {
        const char *what;
        QString page;
        const char *tag;
        int count;
    } cases[] = {
        {"nesting below the parser's limit", QStringLiteral("<div>").repeated(150), "DIV", 150},
        {"many flat elements", QStringLiteral("<span>x</span>").repeated(200000), "SPAN", 200000},
        {"unclosed cells and rows",
         QStringLiteral("<table>") +
             QStringLiteral("<tr><td>a<td><font color=red>b</font>").repeated(20000),
         "TD", 40000},
        {"unclosed list items", QStringLiteral("<ul>") + QStringLiteral("<li>x").repeated(100000),
         "LI", 100000},
        {"unclosed paragraphs", QStringLiteral("<p>x").repeated(100000), "P", 100000},
        {"a tag with 128 attributes", QStringLiteral("<div ") + numbered("a%1 ", 128) + u'>', "DIV",
         1},
        {"scripts with tags in them",
         QStringLiteral("<script>document.write('<div>'.repeat(9))</script>").repeated(1000),
         "SCRIPT", 1000},
    };
    for (const auto &c : cases) {
        HtmlParser parser;
        EXPECT_NO_THROW(parser.setHTML(c.page)) << c.what;
        EXPECT_EQ(parser.webElements().getCollection(QString::fromLatin1(c.tag))->elementCount(),
                  c.count)
            << c.what;
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
        "<!DOCTYPE html \"a>b\"><?x \"><div>"sv,
        "<html a=1><html b=2><body c=3><body d=4>"sv,
        "<meta charset=gbk><span>\xe4\xb8\xad</span>"sv,
    };
    for (const std::string_view page : pages) {
        HtmlParser parser;
        ASSERT_NO_THROW(parser.setHTML(QString::fromUtf8(page.data(), qsizetype(page.size()))))
            << page;
        WebElementCollection &elements = parser.webElements();
        for (int i = 0; i < elements.elementCount(); ++i) {
            elements.getElementByIndex(i).innerText();
            elements.getElementByIndex(i).innerHTML();
        }
    }
}

TEST(PageLimits, TextAfterANulCharacterIsStillRead)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<span>a") + QChar(0) + QStringLiteral("b</span><p>c"));
    EXPECT_EQ(parser.webElements()
                  .getCollection(QStringLiteral("SPAN"))
                  ->getElementByIndex(0)
                  .innerText(),
              QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(parser.webElements().getCollection(QStringLiteral("P"))->elementCount(), 1);
}

TEST(PageLimits, AMetaCharsetDoesNotChangeHowTheTextIsRead)
{
    HtmlParser parser;
    parser.setHTML(u8s("<meta charset=gbk><span class=ml27>张三</span>"));
    EXPECT_EQ(parser.webElements()
                  .getCollection(QStringLiteral("SPAN"))
                  ->getElementByIndex(0)
                  .innerText(),
              u8s("张三"));
}

TEST(PageLimits, TheTextsOfAPageNestedToTheParsersLimitAreRead)
{
    const QString deep = QStringLiteral("<div class=d>").repeated(250) + QStringLiteral("x<br>y");
    HtmlParser parser;
    parser.setHTML(deep);
    const HtmlElement body =
        parser.webElements().getCollection(QStringLiteral("BODY"))->getElementByIndex(0);
    EXPECT_EQ(body.innerText(), QStringLiteral("x\ny"));
    EXPECT_TRUE(body.innerHTML().endsWith(QStringLiteral("<DIV class=\"d\">x<BR>y") +
                                          QStringLiteral("</DIV>").repeated(250)));
}

} // namespace
