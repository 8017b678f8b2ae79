#include "html/HtmlParser.h"
#include "Strings.h"
#include "common/KestranoError.h"

#include <gtest/gtest.h>

namespace {

QStringList tagNames(TWebElementCollection &elements)
{
    QStringList names;
    for (int i = 0; i < elements.ElementCount(); ++i)
        names.append(elements.GetElementByIndex(i).tagName());
    return names;
}

TEST(HtmlParser, ANewParserHasNothingAttachedAndAnEmptyTextChangesNothing)
{
    THtmlParser parser;
    parser.setHTML(QString());
    EXPECT_TRUE(parser.WebElements().Collection().isNull());
    EXPECT_EQ(parser.WebElements().ElementCount(), 0);
    EXPECT_TRUE(parser.WebElements().GetElementByIndex(0).isNull());
    EXPECT_EQ(parser.WebElements().GetCollection(QStringLiteral("SPAN")), nullptr);
    EXPECT_EQ(parser.WebTables().Count(), 0);
    EXPECT_EQ(parser.GetWebCombobox(QStringLiteral("x")), nullptr);
}

TEST(HtmlParser, ListsAllElementsInPageOrderWithUpperCaseTagNames)
{
    THtmlParser parser;
    parser.setHTML(QStringLiteral("<html><head><title>t</title></head>"
                                  "<body><div><span class=Fare>x</span><p>y</div></body></html>"));
    EXPECT_EQ(tagNames(parser.WebElements()),
              QStringList({QStringLiteral("HTML"), QStringLiteral("HEAD"), QStringLiteral("TITLE"),
                           QStringLiteral("BODY"), QStringLiteral("DIV"), QStringLiteral("SPAN"),
                           QStringLiteral("P")}));
    const THtmlElement span = parser.WebElements().GetElementByIndex(5);
    EXPECT_EQ(span.className(), QStringLiteral("Fare"));
    EXPECT_EQ(span.innerText(), QStringLiteral("x"));
}

TEST(HtmlParser, AFragmentLandsInTheBodyOfAWholeDocument)
{
    THtmlParser parser;
    parser.setHTML(QStringLiteral("<sPaN>a</SpAn>"));
    EXPECT_EQ(
        tagNames(parser.WebElements()),
        QStringList({QStringLiteral("HTML"), QStringLiteral("BODY"), QStringLiteral("SPAN")}));
}

TEST(HtmlParser, TheSameTextIsReadOnceAndANewTextReplacesThePage)
{
    THtmlParser parser;
    const QString page = QStringLiteral("<select name=s><option>a<option>b</select>");
    parser.setHTML(page);
    const THtmlElement before = parser.WebElements().GetElementByIndex(2);
    parser.GetWebCombobox(QStringLiteral("s"))->setItemIndex(1);

    parser.setHTML(page);
    EXPECT_EQ(parser.WebElements().GetElementByIndex(2), before);
    EXPECT_EQ(parser.GetWebCombobox(QStringLiteral("s"))->ItemIndex(), 1);

    parser.setHTML(page + QStringLiteral(" "));
    EXPECT_FALSE(parser.WebElements().GetElementByIndex(2) == before);
    EXPECT_EQ(parser.GetWebCombobox(QStringLiteral("s"))->ItemIndex(), 0);
    // An element handed out before stays readable after its page is gone.
    EXPECT_EQ(before.tagName(), QStringLiteral("SELECT"));
    EXPECT_EQ(before.innerText(), QStringLiteral("a\nb"));

    // An empty page after another one: a list with nothing in it.
    parser.setHTML(QString());
    EXPECT_EQ(parser.HTML(), QString());
    EXPECT_FALSE(parser.WebElements().Collection().isNull());
    EXPECT_EQ(parser.WebElements().ElementCount(), 0);
    EXPECT_EQ(parser.WebTables().Count(), 0);
}

TEST(HtmlParser, ARefusedPageLeavesThePageBeforeInPlace)
{
    THtmlParser parser;
    parser.setHTML(QStringLiteral("<table class=t></table>"));
    const QString refused = QStringLiteral("<table ") + QStringLiteral("a ").repeated(200) +
                            QStringLiteral("class=u></table>");
    EXPECT_THROW(parser.setHTML(refused), KestranoError);
    EXPECT_EQ(parser.HTML(), QStringLiteral("<table class=t></table>"));
    EXPECT_EQ(parser.WebTables().Count(), 1);
    EXPECT_EQ(parser.WebTables().GetTableByIndex(0)->className(), QStringLiteral("t"));
    EXPECT_EQ(parser.WebElements().ElementCount(), 3);
    // Not taken for the text set last: the next try is refused again.
    EXPECT_THROW(parser.setHTML(refused), KestranoError);
}

TEST(WebElementCollection, FindsElementsByIdOrNameAndByTagName)
{
    THtmlParser parser;
    parser.setHTML(QStringLiteral("<input name=k value=1><span id=k>2</span><b name=k>3</b>"
                                  "<span>4</span><SPAN id=other>5</SPAN>"));
    TWebElementCollection &elements = parser.WebElements();
    EXPECT_EQ(elements.GetElementByName(QStringLiteral("k")).tagName(), QStringLiteral("INPUT"));
    EXPECT_EQ(elements.GetElement(QStringLiteral("k"), 1).tagName(), QStringLiteral("SPAN"));
    EXPECT_EQ(elements.GetElement(QStringLiteral("k"), 2).tagName(), QStringLiteral("B"));
    EXPECT_TRUE(elements.GetElement(QStringLiteral("k"), 3).isNull());
    EXPECT_TRUE(elements.GetElementByName(QStringLiteral("K")).isNull());
    EXPECT_TRUE(elements.GetElementByIndex(-1).isNull());
    EXPECT_TRUE(elements.GetElementByIndex(elements.ElementCount()).isNull());

    TWebElementCollection *spans = elements.GetCollection(QStringLiteral("span"));
    ASSERT_NE(spans, nullptr);
    ASSERT_EQ(spans->ElementCount(), 3);
    EXPECT_EQ(spans->GetElementByIndex(2).innerText(), QStringLiteral("5"));
    EXPECT_EQ(spans->GetElementByName(QStringLiteral("other")).innerText(), QStringLiteral("5"));

    // One child collection, re-pointed by every call.
    EXPECT_EQ(elements.GetCollection(QStringLiteral("B")), spans);
    EXPECT_EQ(spans->ElementCount(), 1);
    EXPECT_EQ(spans->GetCollection(QStringLiteral("I"))->ElementCount(), 0);
}

TEST(HtmlDocument, MakesElementsThatBelongToNoPage)
{
    THtmlParser parser;
    const THtmlElement option = parser.Document().createElement(QStringLiteral("option"));
    EXPECT_EQ(option.tagName(), QStringLiteral("OPTION"));
    EXPECT_EQ(option.innerText(), QString());
    EXPECT_EQ(parser.WebElements().ElementCount(), 0);
}

TEST(HtmlElement, ReplacedContentStaysReadableThroughItsHandles)
{
    THtmlParser parser;
    parser.setHTML(QStringLiteral("<div id=d>a<span id=s>b<i>c</i></span></div>"));
    THtmlElement div = parser.WebElements().GetElementByName(QStringLiteral("d"));
    const THtmlElement span = parser.WebElements().GetElementByName(QStringLiteral("s"));
    const int before = parser.WebElements().ElementCount();

    div.setInnerText(QStringLiteral("<b>x</b>"));
    EXPECT_EQ(div.innerHTML(), QStringLiteral("&lt;b&gt;x&lt;/b&gt;"));
    EXPECT_EQ(parser.WebElements().ElementCount(), before - 2); // the list is live
    EXPECT_EQ(span.innerHTML(), QStringLiteral("b<I>c</I>"));
    EXPECT_TRUE(span.parentElement().isNull());

    div.setInnerText(QString());
    EXPECT_EQ(div.innerHTML(), QString());
    div.setAttribute(QStringLiteral("Title"), QStringLiteral("t"));
    EXPECT_EQ(div.getAttribute(QStringLiteral("title")).toString(), QStringLiteral("t"));
    EXPECT_EQ(div.attributeCount(), 2);
}

} // namespace
