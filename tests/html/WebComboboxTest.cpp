#include "Strings.h"
#include "common/KestranoError.h"
#include "html/HtmlParser.h"

#include <gtest/gtest.h>

namespace {

const char *const page = "<select name=city id=c>"
                         "<option value=PEK>北京</option>"
                         "<optgroup label=east><option id=sha Title=x>上海</option>"
                         "<option value=CAN selected> 广州 </option></optgroup>"
                         "</select>"
                         "<select name=empty></select>"
                         "<select name=many multiple><option>a<option selected>b"
                         "<option selected>c</select>"
                         "<div id=notselect></div>";

TEST(WebCombobox, AnUnknownNameGivesTheWrapperWithNothingAttached)
{
    HtmlParser parser;
    parser.setHTML(u8s(page));
    WebCombobox *select = parser.getWebCombobox(QStringLiteral("nowhere"));
    ASSERT_NE(select, nullptr);
    EXPECT_TRUE(select->combInterface().isNull());
    EXPECT_EQ(select->count(), 0);
    EXPECT_EQ(select->itemIndex(), -1);
    EXPECT_EQ(select->name(), QString());
    EXPECT_EQ(select->value(), QString());
    EXPECT_EQ(select->getItemByIndex(0), QString());
    EXPECT_EQ(select->getItemAttribute(0, QStringLiteral("value")), QVariant(0));

    // Changes do nothing.
    select->setItemIndex(0);
    select->setName(QStringLiteral("n"));
    select->setValue(QStringLiteral("v"));
    select->add(parser.document().createElement(QStringLiteral("OPTION")));
    select->remove(0);
    EXPECT_EQ(select->itemIndex(), -1);
    EXPECT_EQ(select->name(), QString());
}

TEST(WebCombobox, AnElementThatIsNoSelectIsRefused)
{
    HtmlParser parser;
    parser.setHTML(u8s(page));
    WebCombobox *select = parser.getWebCombobox(QStringLiteral("c"));
    try {
        parser.getWebCombobox(QStringLiteral("notselect"));
        FAIL() << "a DIV was taken for a select element";
    } catch (const KestranoError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("不支持此接口"));
    }
    EXPECT_EQ(select->name(), QStringLiteral("city"));
}

TEST(WebCombobox, ReadsOptionsChoiceNameAndValue)
{
    HtmlParser parser;
    parser.setHTML(u8s(page));
    WebCombobox *select = parser.getWebCombobox(QStringLiteral("city"));
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(select->count(), 3);
    EXPECT_EQ(select->itemIndex(), 2);
    EXPECT_EQ(select->value(), QStringLiteral("CAN"));
    EXPECT_EQ(select->getItemByIndex(0), u8s("北京"));
    EXPECT_EQ(select->getItemByIndex(2), u8s("广州"));
    EXPECT_EQ(select->getItemByIndex(3), QString());
    EXPECT_EQ(select->getItemByName(QStringLiteral("sha")), u8s("上海"));
    EXPECT_EQ(select->getItemAttribute(0, QStringLiteral("VALUE")).toString(),
              QStringLiteral("PEK"));
    EXPECT_EQ(select->getItemAttribute(1, QStringLiteral("title")).toString(), QStringLiteral("x"));
    EXPECT_FALSE(select->getItemAttribute(1, QStringLiteral("value")).isValid());

    select->setItemIndex(1);
    EXPECT_EQ(select->itemIndex(), 1);
    EXPECT_EQ(select->value(), u8s("上海")); // no value attribute: the text
    select->setValue(QStringLiteral("PEK"));
    EXPECT_EQ(select->itemIndex(), 0);
    select->setName(QStringLiteral("from"));
    EXPECT_EQ(parser.webElements().getElementByName(QStringLiteral("from")).tagName(),
              QStringLiteral("SELECT"));

    // A drop-down list always shows an option; a multiple choice list may
    // show none, and reports the first of those chosen.
    EXPECT_EQ(parser.getWebCombobox(QStringLiteral("empty"))->itemIndex(), -1);
    WebCombobox *many = parser.getWebCombobox(QStringLiteral("many"));
    EXPECT_EQ(many->itemIndex(), 1);
    many->setValue(QStringLiteral("none of them"));
    EXPECT_EQ(many->itemIndex(), -1);
}

TEST(WebCombobox, AddsInsertsAndRemovesOptions)
{
    HtmlParser parser;
    parser.setHTML(u8s(page));
    WebCombobox *select = parser.getWebCombobox(QStringLiteral("city"));
    const auto option = [&parser](const char *text) {
        HtmlElement element = parser.document().createElement(QStringLiteral("OPTION"));
        element.setInnerText(u8s(text));
        return element;
    };
    const auto items = [select] {
        QStringList texts;
        for (int i = 0; i < select->count(); ++i)
            texts.append(select->getItemByIndex(i));
        return texts;
    };

    select->add(option("成都"));
    EXPECT_EQ(items(), u8list({"北京", "上海", "广州", "成都"}));
    select->insert(option("西安"), 2); // into the group, before 广州
    EXPECT_EQ(items(), u8list({"北京", "上海", "西安", "广州", "成都"}));
    select->insert(option("深圳"), 99);
    select->remove(0);
    select->remove(99);
    EXPECT_EQ(items(), u8list({"上海", "西安", "广州", "成都", "深圳"}));

    // An option of another select moves over. The list of options in the
    // page is live: it has those added and lacks the one removed.
    const HtmlElement moved =
        parser.webElements().getCollection(QStringLiteral("OPTION"))->getElementByIndex(5);
    ASSERT_EQ(moved.innerText(), QStringLiteral("a"));
    select = parser.getWebCombobox(QStringLiteral("city"));
    select->add(moved);
    EXPECT_EQ(select->count(), 6);
    EXPECT_EQ(parser.getWebCombobox(QStringLiteral("many"))->count(), 2);

    select = parser.getWebCombobox(QStringLiteral("city"));
    EXPECT_THROW(select->add(parser.document().createElement(QStringLiteral("DIV"))),
                 KestranoError);
    EXPECT_EQ(select->count(), 6);
}

// Options taken out of a select, put back, or brought over from a page that
// has been replaced: every handle stays readable, and the page frees each
// node once, when the last handle to it goes (run under valgrind or a
// sanitizer, this shows any slip).
TEST(WebCombobox, HandlesOfOptionsOutlastRemovalAndTheirPage)
{
    HtmlParser parser;
    parser.setHTML(u8s(page));
    WebCombobox *select = parser.getWebCombobox(QStringLiteral("city"));
    WebElementCollection &elements = parser.webElements();
    const HtmlElement group =
        elements.getCollection(QStringLiteral("OPTGROUP"))->getElementByIndex(0);
    const HtmlElement shanghai = elements.getElementByName(QStringLiteral("sha"));

    // A group cannot go before one of its own options.
    select->insert(group, 1);
    EXPECT_EQ(select->count(), 3);
    EXPECT_EQ(select->getItemByIndex(1), u8s("上海"));

    select->remove(1);
    EXPECT_TRUE(elements.getElementByName(QStringLiteral("sha")).isNull());
    EXPECT_TRUE(shanghai.parentElement().isNull());
    EXPECT_EQ(shanghai.innerText(), u8s("上海"));
    // Taken out twice and put back in between.
    select->add(shanghai);
    EXPECT_EQ(select->getItemByIndex(2), u8s("上海"));
    select->remove(2);
    select->remove(1); // 广州 leaves the group empty
    EXPECT_EQ(select->count(), 1);
    EXPECT_EQ(elements.getCollection(QStringLiteral("OPTGROUP"))->elementCount(), 1);

    // An option of the page before is copied into the new one; the handle
    // keeps the original, taken out of its select.
    HtmlElement beijing = elements.getCollection(QStringLiteral("OPTION"))->getElementByIndex(0);
    beijing.setInnerText(u8s("北平"));
    parser.setHTML(QStringLiteral("<select name=s><option>x</select>"));
    select = parser.getWebCombobox(QStringLiteral("s"));
    select->add(beijing);
    EXPECT_EQ(select->count(), 2);
    EXPECT_EQ(select->getItemByIndex(1), u8s("北平"));
    EXPECT_TRUE(beijing.parentElement().isNull());
    EXPECT_EQ(group.tagName(), QStringLiteral("OPTGROUP"));
    select->remove(1);
    select->remove(0);
    EXPECT_EQ(select->count(), 0);
    EXPECT_EQ(beijing.innerText(), u8s("北平"));
}

} // namespace
