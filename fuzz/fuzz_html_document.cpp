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
    return 0;
}
