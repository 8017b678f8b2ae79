#include "Strings.h"
#include "html/HtmlParser.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *html; // the element read has the id e
    const char *expected;
};

HtmlElement elementE(HtmlParser &parser, const char *html)
{
    parser.setHTML(u8s(html));
    return parser.webElements().getElementByName(QStringLiteral("e"));
}

TEST(ElementValues, TagAndClassNames)
{
    HtmlParser parser;
    const HtmlElement span = elementE(parser, "<span id=e class='Fare  x'>1</span>");
    EXPECT_EQ(span.tagName(), QStringLiteral("SPAN"));
    EXPECT_EQ(span.className(), QStringLiteral("Fare  x"));
    EXPECT_EQ(elementE(parser, "<my-tag id=e>").tagName(), QStringLiteral("MY-TAG"));
    EXPECT_EQ(elementE(parser, "<p id=e>").className(), QString());
    EXPECT_EQ(elementE(parser, "<p id=e class>").className(), QString());
    const HtmlElement div = elementE(parser, "<div id=e DATA-X=\"a&amp;b\">");
    EXPECT_EQ(div.getAttribute(QStringLiteral("data-x")).toString(), QStringLiteral("a&b"));
    EXPECT_EQ(div.getAttribute(QStringLiteral("Data-X")).toString(), QStringLiteral("a&b"));
    EXPECT_FALSE(div.getAttribute(QStringLiteral("title")).isValid());
}

TEST(ElementValues, RenderedTextIsTheTextAsABrowserShowsIt)
{
    const Case cases[] = {
        {"<span id=e>CNY&nbsp;1130.00</span>", "CNY\u00a01130.00"},
        {"<span id=e>&#21360;&#x5237;&lt;&amp;&gt;&quot;</span>", "印刷<&>\""},
        {"<span id=e>\n  印刷序号：\t1234567890   3 \r\n</span>", "印刷序号： 1234567890 3"},
        {"<span id=e>a<b> b </b> <i>c</i></span>", "a b c"},
        {"<span id=e>PEK<br>SHA<BR/>CAN</br>X</span>", "PEK\nSHA\nCAN\nX"},
        {"<span id=e>a <br> b</span>", "a\nb"},
        {"<div id=e>a<div>b</div>c<p>d</p>e</div>", "a\nb\nc\n\nd\n\ne"},
        {"<div id=e><div><div>a</div></div></div>", "a"},
        {"<div id=e>a<script>x()</script><style>p{}</style>b<!-- c --></div>", "ab"},
        {"<div id=e><pre> a\n  b</pre>c  d</div>", " a\n  b\nc d"},
        {"<table id=e><tr><td>a</td><td> b </td></tr><tr><th>c</th></tr></table>", "a\tb\nc"},
        {"<ul id=e><li>one<li>two</ul>", "one\ntwo"},
        {"<span id=e></span>", ""},
    };
    HtmlParser parser;
    for (const Case &c : cases)
        EXPECT_EQ(elementE(parser, c.html).innerText(), u8s(c.expected)) << c.html;
}

TEST(ElementValues, InnerHtmlKeepsTheFormThatTheJourneyPatternsNeed)
{
    const Case cases[] = {
        // A line break element is "<BR>" however it was written.
        {"<div id=e>PEK<br/>SHA<BR class=x>CAN<br clear=all />X</br>Y</div>",
         "PEK<BR>SHA<BR>CAN<BR>X<BR>Y"},
        // Only where a tag is read: not in a value or a comment.
        {"<div id=e title='</br>'>a<!--</br>--></BR >b</div>", "a<!--</br>--><BR>b"},
        // A DIV with text and line breaks stays on one line with its
        // attributes, also when the page spreads it over several.
        {"<table><tr><td id=e>\n  <div class=\"jd\"\n style='x'>\n  08-26<br>\n  "
         "09-02\n</div>\n</td>"
         "</tr></table>",
         " <DIV class=\"jd\" style=\"x\"> 08-26<BR> 09-02 </DIV> "},
        {"<p id=e>a<SPAN CLASS=b>c</SPAN><img src=x.png alt='1\"2'></p>",
         "a<SPAN class=\"b\">c</SPAN><IMG src=\"x.png\" alt=\"1&quot;2\">"},
        {"<p id=e>&nbsp;&amp;&lt;&gt;&#65;&quot;</p>", "&nbsp;&amp;&lt;&gt;A\""},
        {"<p id=e><!--note-->x</p>", "<!--note-->x"},
        {"<div id=e><pre>a\n  b</pre><script>if (a<b) x();</script></div>",
         "<PRE>a\n  b</PRE><SCRIPT>if (a<b) x();</SCRIPT>"},
        // Misnested formatting is closed where the outer element ends.
        {"<div id=e><b><i>x</b>y</i></div>", "<B><I>x</I></B>y"},
        {"<div id=e></div>", ""},
    };
    HtmlParser parser;
    for (const Case &c : cases)
        EXPECT_EQ(elementE(parser, c.html).innerHTML(), u8s(c.expected)) << c.html;
}

} // namespace
