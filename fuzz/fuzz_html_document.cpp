// Any text as a page for the HTML document classes: reading it ends and never
// crashes; or it is refused with a KestranoError. A page that is read gives
// upper-case tag names, every element's text and HTML, every table's cells
// and every select's options, and no element holds more attributes than the
// page's largest tag by the count that the attribute limit is checked with
// (so that count never misses a tag that libxml2 reads).
#include "FuzzSupport.h"
#include "common/KestranoError.h"
#include "html/HtmlParser.h"
#include "html/PageLimits.h"

#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void readTables(TTableCollection &tables)
{
    for (int i = 0; i < tables.Count(); ++i) {
        TWebTable *table = tables.GetTableByIndex(i);
        check(table != nullptr && table->TableInterface().hasTagName(u"TABLE"));
        const int rows = table->RowCount();
        for (int row = 0; row <= rows; ++row) {
            const int cells = table->GetRowColCount(row);
            check(row < rows || cells == 0);
            for (int cell = 0; cell < cells; ++cell) {
                check(!table->GetCellElement(cell, row).isNull());
                (void)table->GetCell(cell, row);
                (void)table->GetCellHtml(cell, row);
            }
        }
    }
    check(tables.GetTableByIndex(tables.Count()) == nullptr);
}

void readSelects(TWebElementCollection &elements)
{
    TWebElementCollection *selects = elements.GetCollection(QStringLiteral("SELECT"));
    for (int i = 0; selects && i < selects->ElementCount(); ++i) {
        TWebCombobox combobox;
        combobox.setCombInterface(selects->GetElementByIndex(i));
        const int count = combobox.Count();
        const int chosen = combobox.ItemIndex();
        check(chosen >= -1 && chosen < count);
        for (int option = 0; option < count; ++option)
            (void)combobox.GetItemByIndex(option);
        (void)combobox.value();
    }
}

// Options moved between the selects of the page, taken out, put back and
// brought over from the page read before; an element's content replaced.
// Every handle stays readable through it all, and the page frees each node
// once (the sanitizers watch).
void editSelects(THtmlParser &parser, const THtmlElement &fromPageBefore)
{
    TWebElementCollection *selects = parser.WebElements().GetCollection(QStringLiteral("SELECT"));
    const int count = selects ? selects->ElementCount() : 0;
    std::vector<THtmlElement> taken;
    for (int i = 0; i < count; ++i) {
        TWebCombobox combobox(selects->GetElementByIndex(i));
        if (combobox.Count() > 0) {
            taken.push_back(
                parser.WebElements().GetCollection(QStringLiteral("OPTION"))->GetElementByIndex(0));
            combobox.Remove(combobox.Count() - 1);
        }
        for (const THtmlElement &option : taken)
            combobox.Insert(option, i);
        THtmlElement made = parser.Document().createElement(QStringLiteral("option"));
        made.setInnerText(QStringLiteral("x"));
        combobox.Add(made);
        if (fromPageBefore.hasTagName(u"OPTION") || fromPageBefore.hasTagName(u"OPTGROUP"))
            combobox.Add(fromPageBefore);
        check(combobox.Count() >= 1 && combobox.ItemIndex() < combobox.Count());
        (void)combobox.value();
    }
    for (const THtmlElement &option : taken)
        (void)option.innerText();
    THtmlElement first = parser.WebElements().GetElementByIndex(1);
    first.setInnerText(QStringLiteral("y"));
    check(first.isNull() || first.innerHTML() == QStringLiteral("y"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QString page = QString::fromUtf8(bytesOf(data, size));
    THtmlParser parser;
    try {
        parser.setHTML(page);
    } catch (const KestranoError &) {
        check(parser.HTML().isEmpty() && parser.WebElements().Collection().isNull());
        return 0;
    }

    QString parsed = page;
    parsed.replace(QChar(u'\0'), QChar(QChar::ReplacementCharacter));
    const int mostAttributes = PageLimits::mostAttributesInOneTag(parsed.toUtf8());
    check(mostAttributes <= PageLimits::maxAttributes);

    TWebElementCollection &elements = parser.WebElements();
    for (int i = 0; i < elements.ElementCount(); ++i) {
        const THtmlElement element = elements.GetElementByIndex(i);
        check(!element.isNull());
        const QString name = element.tagName();
        check(!name.isEmpty() && name == name.toUpper());
        check(element.attributeCount() <= mostAttributes);
        (void)element.innerText();
        (void)element.innerHTML();
    }
    readTables(parser.WebTables());
    readSelects(elements);

    // The same text again is not read again.
    const THtmlElement first = elements.GetElementByIndex(0);
    parser.setHTML(page);
    check(elements.GetElementByIndex(0) == first);

    // Edited, with an option of this page brought into the same page read
    // once more.
    TWebElementCollection *options = elements.GetCollection(QStringLiteral("OPTION"));
    const THtmlElement option = options ? options->GetElementByIndex(0) : THtmlElement();
    parser.setHTML(page + QStringLiteral(" "));
    editSelects(parser, option);
    return 0;
}
