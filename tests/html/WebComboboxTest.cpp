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
    THtmlParser parser;
    parser.setHTML(u8s(page));
    TWebCombobox *select = parser.GetWebCombobox(QStringLiteral("nowhere"));
    ASSERT_NE(select, nullptr);
    EXPECT_TRUE(select->CombInterface().isNull());
    EXPECT_EQ(select->Count(), 0);
    EXPECT_EQ(select->ItemIndex(), -1);
    EXPECT_EQ(select->Name(), QString());
    EXPECT_EQ(select->value(), QString());
    EXPECT_EQ(select->GetItemByIndex(0), QString());
    EXPECT_EQ(select->GetItemAttribute(0, QStringLiteral("value")), QVariant(0));

    // Changes do nothing.
    select->setItemIndex(0);
    select->setName(QStringLiteral("n"));
    select->setValue(QStringLiteral("v"));
    select->Add(parser.Document().createElement(QStringLiteral("OPTION")));
    select->Remove(0);
    EXPECT_EQ(select->ItemIndex(), -1);
    EXPECT_EQ(select->Name(), QString());
}

TEST(WebCombobox, AnElementThatIsNoSelectIsRefused)
{
    THtmlParser parser;
    parser.setHTML(u8s(page));
    TWebCombobox *select = parser.GetWebCombobox(QStringLiteral("c"));
    try {
        parser.GetWebCombobox(QStringLiteral("notselect"));
        FAIL() << "a DIV was taken for a select element";
    } catch (const KestranoError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("不支持此接口"));
    }
    EXPECT_EQ(select->Name(), QStringLiteral("city"));
}

TEST(WebCombobox, ReadsOptionsChoiceNameAndValue)
{
    THtmlParser parser;
    parser.setHTML(u8s(page));
    TWebCombobox *select = parser.GetWebCombobox(QStringLiteral("city"));
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(select->Count(), 3);
    EXPECT_EQ(select->ItemIndex(), 2);
    EXPECT_EQ(select->value(), QStringLiteral("CAN"));
    EXPECT_EQ(select->GetItemByIndex(0), u8s("北京"));
    EXPECT_EQ(select->GetItemByIndex(2), u8s("广州"));
    EXPECT_EQ(select->GetItemByIndex(3), QString());
    EXPECT_EQ(select->GetItemByName(QStringLiteral("sha")), u8s("上海"));
    EXPECT_EQ(select->GetItemAttribute(0, QStringLiteral("VALUE")).toString(),
              QStringLiteral("PEK"));
    EXPECT_EQ(select->GetItemAttribute(1, QStringLiteral("title")).toString(), QStringLiteral("x"));
    EXPECT_FALSE(select->GetItemAttribute(1, QStringLiteral("value")).isValid());

    select->setItemIndex(1);
    EXPECT_EQ(select->ItemIndex(), 1);
    EXPECT_EQ(select->value(), u8s("上海")); // no value attribute: the text
    select->setValue(QStringLiteral("PEK"));
    EXPECT_EQ(select->ItemIndex(), 0);
    select->setName(QStringLiteral("from"));
    EXPECT_EQ(parser.WebElements().GetElementByName(QStringLiteral("from")).tagName(),
              QStringLiteral("SELECT"));

    // A drop-down list always shows an option; a multiple choice list may
    // show none, and reports the first of those chosen.
    EXPECT_EQ(parser.GetWebCombobox(QStringLiteral("empty"))->ItemIndex(), -1);
    TWebCombobox *many = parser.GetWebCombobox(QStringLiteral("many"));
    EXPECT_EQ(many->ItemIndex(), 1);
    many->setValue(QStringLiteral("none of them"));
    EXPECT_EQ(many->ItemIndex(), -1);
}

TEST(WebCombobox, AddsInsertsAndRemovesOptions)
{
    THtmlParser parser;
    parser.setHTML(u8s(page));
    TWebCombobox *select = parser.GetWebCombobox(QStringLiteral("city"));
    const auto option = [&parser](const char *text) {
        THtmlElement element = parser.Document().createElement(QStringLiteral("OPTION"));
        element.setInnerText(u8s(text));
        return element;
    };
    const auto items = [select] {
        QStringList texts;
        for (int i = 0; i < select->Count(); ++i)
            texts.append(select->GetItemByIndex(i));
        return texts;
    };

    select->Add(option("成都"));
    EXPECT_EQ(items(), u8list({"北京", "上海", "广州", "成都"}));
    select->Insert(option("西安"), 2); // into the group, before 广州
    EXPECT_EQ(items(), u8list({"北京", "上海", "西安", "广州", "成都"}));
    select->Insert(option("深圳"), 99);
    select->Remove(0);
    select->Remove(99);
    EXPECT_EQ(items(), u8list({"上海", "西安", "广州", "成都", "深圳"}));

    // An option of another select moves over. The list of options in the
    // page is live: it has those added and lacks the one removed.
    const THtmlElement moved =
        parser.WebElements().GetCollection(QStringLiteral("OPTION"))->GetElementByIndex(5);
    ASSERT_EQ(moved.innerText(), QStringLiteral("a"));
    select = parser.GetWebCombobox(QStringLiteral("city"));
    select->Add(moved);
    EXPECT_EQ(select->Count(), 6);
    EXPECT_EQ(parser.GetWebCombobox(QStringLiteral("many"))->Count(), 2);

    select = parser.GetWebCombobox(QStringLiteral("city"));
    EXPECT_THROW(select->Add(parser.Document().createElement(QStringLiteral("DIV"))),
                 KestranoError);
    EXPECT_EQ(select->Count(), 6);
}

// Options taken out of a select, put back, or brought over from a page that
// has been replaced: every handle stays readable, and the page frees each
// node once, when the last handle to it goes (run under valgrind or a
// sanitizer, this shows any slip).
TEST(WebCombobox, HandlesOfOptionsOutlastRemovalAndTheirPage)
{
    THtmlParser parser;
    parser.setHTML(u8s(page));
    TWebCombobox *select = parser.GetWebCombobox(QStringLiteral("city"));
    TWebElementCollection &elements = parser.WebElements();
    const THtmlElement group =
        elements.GetCollection(QStringLiteral("OPTGROUP"))->GetElementByIndex(0);
    const THtmlElement shanghai = elements.GetElementByName(QStringLiteral("sha"));

    // A group cannot go before one of its own options.
    select->Insert(group, 1);
    EXPECT_EQ(select->Count(), 3);
    EXPECT_EQ(select->GetItemByIndex(1), u8s("上海"));

    select->Remove(1);
    EXPECT_TRUE(elements.GetElementByName(QStringLiteral("sha")).isNull());
    EXPECT_TRUE(shanghai.parentElement().isNull());
    EXPECT_EQ(shanghai.innerText(), u8s("上海"));
    // Taken out twice and put back in between.
    select->Add(shanghai);
    EXPECT_EQ(select->GetItemByIndex(2), u8s("上海"));
    select->Remove(2);
    select->Remove(1); // 广州 leaves the group empty
    EXPECT_EQ(select->Count(), 1);
    EXPECT_EQ(elements.GetCollection(QStringLiteral("OPTGROUP"))->ElementCount(), 1);

    // An option of the page before is copied into the new one; the handle
    // keeps the original, taken out of its select.
    THtmlElement beijing = elements.GetCollection(QStringLiteral("OPTION"))->GetElementByIndex(0);
    beijing.setInnerText(u8s("北平"));
    parser.setHTML(QStringLiteral("<select name=s><option>x</select>"));
    select = parser.GetWebCombobox(QStringLiteral("s"));
    select->Add(beijing);
    EXPECT_EQ(select->Count(), 2);
    EXPECT_EQ(select->GetItemByIndex(1), u8s("北平"));
    EXPECT_TRUE(beijing.parentElement().isNull());
    EXPECT_EQ(group.tagName(), QStringLiteral("OPTGROUP"));
    select->Remove(1);
    select->Remove(0);
    EXPECT_EQ(select->Count(), 0);
    EXPECT_EQ(beijing.innerText(), u8s("北平"));
}

} // namespace
