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

void readTables(TableCollection &tables)
{
    for (int i = 0; i < tables.count(); ++i) {
        WebTable *table = tables.getTableByIndex(i);
        check(table != nullptr && table->tableInterface().hasTagName(u"TABLE"));
        const int rows = table->rowCount();
        for (int row = 0; row <= rows; ++row) {
            const int cells = table->getRowColCount(row);
            check(row < rows || cells == 0);
            for (int cell = 0; cell < cells; ++cell) {
                check(!table->getCellElement(cell, row).isNull());
                (void)table->getCell(cell, row);
                (void)table->getCellHtml(cell, row);
            }
        }
    }
    check(tables.getTableByIndex(tables.count()) == nullptr);
}

void readSelects(WebElementCollection &elements)
{
    WebElementCollection *selects = elements.getCollection(QStringLiteral("SELECT"));
    for (int i = 0; selects && i < selects->elementCount(); ++i) {
        WebCombobox combobox;
        combobox.setCombInterface(selects->getElementByIndex(i));
        const int count = combobox.count();
        const int chosen = combobox.itemIndex();
        check(chosen >= -1 && chosen < count);
        for (int option = 0; option < count; ++option)
            (void)combobox.getItemByIndex(option);
        (void)combobox.value();
    }
}

// Options moved between the selects of the page, taken out, put back and
// brought over from the page read before; an element's content replaced.
// Every handle stays readable through it all, and the page frees each node
// once (the sanitizers watch).
void editSelects(HtmlParser &parser, const HtmlElement &fromPageBefore)
{
    WebElementCollection *selects = parser.webElements().getCollection(QStringLiteral("SELECT"));
    const int count = selects ? selects->elementCount() : 0;
    std::vector<HtmlElement> taken;
    for (int i = 0; i < count; ++i) {
        WebCombobox combobox(selects->getElementByIndex(i));
        if (combobox.count() > 0) {
            taken.push_back(
                parser.webElements().getCollection(QStringLiteral("OPTION"))->getElementByIndex(0));
            combobox.remove(combobox.count() - 1);
        }
        for (const HtmlElement &option : taken)
            combobox.insert(option, i);
        HtmlElement made = parser.document().createElement(QStringLiteral("option"));
        made.setInnerText(QStringLiteral("x"));
        combobox.add(made);
        if (fromPageBefore.hasTagName(u"OPTION") || fromPageBefore.hasTagName(u"OPTGROUP"))
            combobox.add(fromPageBefore);
        check(combobox.count() >= 1 && combobox.itemIndex() < combobox.count());
        (void)combobox.value();
    }
    for (const HtmlElement &option : taken)
        (void)option.innerText();
    HtmlElement first = parser.webElements().getElementByIndex(1);
    first.setInnerText(QStringLiteral("y"));
    check(first.isNull() || first.innerHTML() == QStringLiteral("y"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QString page = QString::fromUtf8(bytesOf(data, size));
    HtmlParser parser;
    try {
        parser.setHTML(page);
    } catch (const KestranoError &) {
        check(parser.html().isEmpty() && parser.webElements().collection().isNull());
        return 0;
    }

    QString parsed = page;
    parsed.replace(QChar(u'\0'), QChar(QChar::ReplacementCharacter));
    const int mostAttributes = PageLimits::mostAttributesInOneTag(parsed.toUtf8());
    check(mostAttributes <= PageLimits::maxAttributes);

    WebElementCollection &elements = parser.webElements();
    for (int i = 0; i < elements.elementCount(); ++i) {
        const HtmlElement element = elements.getElementByIndex(i);
        check(!element.isNull());
        const QString name = element.tagName();
        check(!name.isEmpty() && name == name.toUpper());
        check(element.attributeCount() <= mostAttributes);
        (void)element.innerText();
        (void)element.innerHTML();
    }
    readTables(parser.webTables());
    readSelects(elements);

    // The same text again is not read again.
    const HtmlElement first = elements.getElementByIndex(0);
    parser.setHTML(page);
    check(elements.getElementByIndex(0) == first);

    // Edited, with an option of this page brought into the same page read
    // once more.
    WebElementCollection *options = elements.getCollection(QStringLiteral("OPTION"));
    const HtmlElement option = options ? options->getElementByIndex(0) : HtmlElement();
    parser.setHTML(page + QStringLiteral(" "));
    editSelects(parser, option);
    return 0;
}
