#include "html/HtmlParser.h"
#include "Strings.h"
#include "common/KestranoError.h"

#include <gtest/gtest.h>

namespace {

QStringList tagNames(WebElementCollection &elements)
{
    QStringList names;
    for (int i = 0; i < elements.elementCount(); ++i)
        names.append(elements.getElementByIndex(i).tagName());
    return names;
}

TEST(HtmlParser, ANewParserHasNothingAttachedAndAnEmptyTextChangesNothing)
{
    HtmlParser parser;
    parser.setHTML(QString());
    EXPECT_TRUE(parser.webElements().collection().isNull());
    EXPECT_EQ(parser.webElements().elementCount(), 0);
    EXPECT_TRUE(parser.webElements().getElementByIndex(0).isNull());
    EXPECT_EQ(parser.webElements().getCollection(QStringLiteral("SPAN")), nullptr);
    EXPECT_EQ(parser.webTables().count(), 0);
    EXPECT_EQ(parser.getWebCombobox(QStringLiteral("x")), nullptr);
}

TEST(HtmlParser, ListsAllElementsInPageOrderWithUpperCaseTagNames)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<html><head><title>t</title></head>"
                                  "<body><div><span class=Fare>x</span><p>y</div></body></html>"));
    EXPECT_EQ(tagNames(parser.webElements()),
              QStringList({QStringLiteral("HTML"), QStringLiteral("HEAD"), QStringLiteral("TITLE"),
                           QStringLiteral("BODY"), QStringLiteral("DIV"), QStringLiteral("SPAN"),
                           QStringLiteral("P")}));
    const HtmlElement span = parser.webElements().getElementByIndex(5);
    EXPECT_EQ(span.className(), QStringLiteral("Fare"));
    EXPECT_EQ(span.innerText(), QStringLiteral("x"));
}

TEST(HtmlParser, AFragmentLandsInTheBodyOfAWholeDocument)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<sPaN>a</SpAn>"));
    EXPECT_EQ(
        tagNames(parser.webElements()),
        QStringList({QStringLiteral("HTML"), QStringLiteral("BODY"), QStringLiteral("SPAN")}));
}

TEST(HtmlParser, TheSameTextIsReadOnceAndANewTextReplacesThePage)
{
    HtmlParser parser;
    const QString page = QStringLiteral("<select name=s><option>a<option>b</select>");
    parser.setHTML(page);
    const HtmlElement before = parser.webElements().getElementByIndex(2);
    parser.getWebCombobox(QStringLiteral("s"))->setItemIndex(1);

    parser.setHTML(page);
    EXPECT_EQ(parser.webElements().getElementByIndex(2), before);
    EXPECT_EQ(parser.getWebCombobox(QStringLiteral("s"))->itemIndex(), 1);

    parser.setHTML(page + QStringLiteral(" "));
    EXPECT_FALSE(parser.webElements().getElementByIndex(2) == before);
    EXPECT_EQ(parser.getWebCombobox(QStringLiteral("s"))->itemIndex(), 0);
    // An element handed out before stays readable after its page is gone.
    EXPECT_EQ(before.tagName(), QStringLiteral("SELECT"));
    EXPECT_EQ(before.innerText(), QStringLiteral("a\nb"));

    // An empty page after another one: a list with nothing in it.
    parser.setHTML(QString());
    EXPECT_EQ(parser.html(), QString());
    EXPECT_FALSE(parser.webElements().collection().isNull());
    EXPECT_EQ(parser.webElements().elementCount(), 0);
    EXPECT_EQ(parser.webTables().count(), 0);
}

TEST(HtmlParser, ARefusedPageLeavesThePageBeforeInPlace)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<table class=t></table>"));
    const QString refused = QStringLiteral("<table ") + QStringLiteral("a ").repeated(200) +
                            QStringLiteral("class=u></table>");
    EXPECT_THROW(parser.setHTML(refused), KestranoError);
    EXPECT_EQ(parser.html(), QStringLiteral("<table class=t></table>"));
    EXPECT_EQ(parser.webTables().count(), 1);
    EXPECT_EQ(parser.webTables().getTableByIndex(0)->className(), QStringLiteral("t"));
    EXPECT_EQ(parser.webElements().elementCount(), 3);
    // Not taken for the text set last: the next try is refused again.
    EXPECT_THROW(parser.setHTML(refused), KestranoError);
}

TEST(WebElementCollection, FindsElementsByIdOrNameAndByTagName)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<input name=k value=1><span id=k>2</span><b name=k>3</b>"
                                  "<span>4</span><SPAN id=other>5</SPAN>"));
    WebElementCollection &elements = parser.webElements();
    EXPECT_EQ(elements.getElementByName(QStringLiteral("k")).tagName(), QStringLiteral("INPUT"));
    EXPECT_EQ(elements.getElement(QStringLiteral("k"), 1).tagName(), QStringLiteral("SPAN"));
    EXPECT_EQ(elements.getElement(QStringLiteral("k"), 2).tagName(), QStringLiteral("B"));
    EXPECT_TRUE(elements.getElement(QStringLiteral("k"), 3).isNull());
    EXPECT_TRUE(elements.getElementByName(QStringLiteral("K")).isNull());
    EXPECT_TRUE(elements.getElementByIndex(-1).isNull());
    EXPECT_TRUE(elements.getElementByIndex(elements.elementCount()).isNull());

    WebElementCollection *spans = elements.getCollection(QStringLiteral("span"));
    ASSERT_NE(spans, nullptr);
    ASSERT_EQ(spans->elementCount(), 3);
    EXPECT_EQ(spans->getElementByIndex(2).innerText(), QStringLiteral("5"));
    EXPECT_EQ(spans->getElementByName(QStringLiteral("other")).innerText(), QStringLiteral("5"));

    // One child collection, re-pointed by every call.
    EXPECT_EQ(elements.getCollection(QStringLiteral("B")), spans);
    EXPECT_EQ(spans->elementCount(), 1);
    EXPECT_EQ(spans->getCollection(QStringLiteral("I"))->elementCount(), 0);
}

TEST(HtmlDocument, MakesElementsThatBelongToNoPage)
{
    HtmlParser parser;
    const HtmlElement option = parser.document().createElement(QStringLiteral("option"));
    EXPECT_EQ(option.tagName(), QStringLiteral("OPTION"));
    EXPECT_EQ(option.innerText(), QString());
    EXPECT_EQ(parser.webElements().elementCount(), 0);
}

TEST(HtmlElement, ReplacedContentStaysReadableThroughItsHandles)
{
    HtmlParser parser;
    parser.setHTML(QStringLiteral("<div id=d>a<span id=s>b<i>c</i></span></div>"));
    HtmlElement div = parser.webElements().getElementByName(QStringLiteral("d"));
    const HtmlElement span = parser.webElements().getElementByName(QStringLiteral("s"));
    const int before = parser.webElements().elementCount();

    div.setInnerText(QStringLiteral("<b>x</b>"));
    EXPECT_EQ(div.innerHTML(), QStringLiteral("&lt;b&gt;x&lt;/b&gt;"));
    EXPECT_EQ(parser.webElements().elementCount(), before - 2); // the list is live
    EXPECT_EQ(span.innerHTML(), QStringLiteral("b<I>c</I>"));
    EXPECT_TRUE(span.parentElement().isNull());

    div.setInnerText(QString());
    EXPECT_EQ(div.innerHTML(), QString());
    div.setAttribute(QStringLiteral("Title"), QStringLiteral("t"));
    EXPECT_EQ(div.getAttribute(QStringLiteral("title")).toString(), QStringLiteral("t"));
    EXPECT_EQ(div.attributeCount(), 2);
}

} // namespace
