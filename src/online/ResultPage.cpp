#include "online/ResultPage.h"

#include "common/Pattern.h"
#include "common/TextRules.h"
#include "html/HtmlParser.h"
#include "itinerary/ClearItinerary.h"
#include "itinerary/ItineraryFields.h"
#include "online/JourneyCell.h"
#include "online/JourneyDate.h"

#include <QRegularExpression>

namespace {

// A SPAN's value: its shown text from a given character on (counted from
// 1), trimmed or as it stands.
struct SpanValue
{
    const char *className;
    Field field;
    int firstCharacter;
    bool trim;
};

constexpr SpanValue spanValues[] = {
    {"ml27", Field::Passenger, 1, true},
    {"visa", Field::Endorsement, 1, true},
    {"fare", Field::Fare, 4, true},
    {"caac-development-fund", Field::AirportTax, 7, true},
    {"other-taxes", Field::OtherTax, 1, true},
    {"cny-total", Field::Total, 4, true},
    {"e-ticket-no", Field::TicketNumber, 1, true},
    {"ck-info", Field::CheckCode, 1, true},
    {"information", Field::Information, 1, true},
    {"insurance", Field::Insurance, 1, true},
    {"issue-by", Field::IssuedBy, 1, false},
    {"date-off-issue", Field::DateOfIssue, 1, false},
};

struct JourneyColumn
{
    int cell;
    Field field;
    int rows;
};

// Cell 2 of the first row is not read.
constexpr JourneyColumn journeyColumns[] = {
    {0, Field::Terminal, 4},       {1, Field::From, 5},       {3, Field::Carrier, 4},
    {4, Field::Flight, 4},         {5, Field::Seat, 4},       {6, Field::Date, 4},
    {7, Field::Time, 4},           {8, Field::FareBasis, 4},  {9, Field::NotValidBefore, 4},
    {10, Field::NotValidAfter, 4}, {11, Field::Allowance, 4},
};

// The name that the fields of a row family share: edtFrom for edtFrom1 to edtFrom5.
QString familyName(Field field)
{
    return fieldName({field, 1}).chopped(1);
}

void readSpan(ItineraryFields &fields, const HtmlElement &span)
{
    // The class first: the text of the many SPANs that hold no value is
    // never needed.
    const QString className = span.className();
    if (className.isEmpty()) {
        const QString text = span.innerText();
        if (!text.contains(QStringLiteral("印刷序号")))
            return;
        // The label and its colon are the first five characters. A page
        // may space the check digit with &nbsp;: a no-break space must not
        // end up in the number that is printed and advanced.
        static const QRegularExpression blanks =
            makePattern(QStringLiteral("[ \\t\\n\\x0B\\f\\r\\x{00A0}]+"));
        fields.setText(Field::SerialNumber,
                       trimmed(trimmed(text.mid(5)).replace(blanks, QStringLiteral(" "))));
        return;
    }
    for (const SpanValue &value : spanValues) {
        if (className == QLatin1StringView(value.className)) {
            const QString rest = span.innerText().mid(value.firstCharacter - 1);
            fields.setText(value.field, value.trim ? trimmed(rest) : rest);
            return;
        }
    }
}

} // namespace

bool parseResultPage(ItineraryFields &fields, const QString &page)
{
    return parseResultPage(fields, page, QDate::currentDate());
}

bool parseResultPage(ItineraryFields &fields, const QString &page, const QDate &today)
{
    HtmlParser document;
    document.setHTML(page);

    // The journey first: a page without one (a mistyped captcha, a ticket
    // the service does not know) is an error page, and the receipt the agent
    // has on screen stays as it is, value for value.
    // By position: the collection re-points one table wrapper at each call.
    QList<int> journeys;
    TableCollection &tables = document.webTables();
    for (int i = 0; i < tables.count(); ++i) {
        const WebTable *table = tables.getTableByIndex(i);
        if (table && table->className() == u"journey-detail")
            journeys.append(i);
    }
    if (journeys.isEmpty()) {
        // The captcha has been used all the same.
        fields.setText(Field::Captcha, QString());
        return false;
    }

    // The serial number and check code are those of the next sheet in the
    // printer: they stay unless the page gives the ones it was issued on.
    clearItinerary(fields, SerialNumberOnClear::Keep);
    if (WebElementCollection *spans =
            document.webElements().getCollection(QStringLiteral("SPAN"))) {
        for (int i = 0; i < spans->elementCount(); ++i)
            readSpan(fields, spans->getElementByIndex(i));
    }
    for (const int journey : journeys) {
        const WebTable *table = tables.getTableByIndex(journey);
        for (const JourneyColumn &column : journeyColumns) {
            // A cell that the row lacks reads as empty HTML: its family
            // stays as clearItinerary left it.
            QString cellHtml = table->getCellHtml(column.cell, 0);
            if (column.cell == 4)
                cellHtml.remove(u' ');
            fillJourneyColumn(fields, familyName(column.field), cellHtml, today);
        }
    }
    fields.setText(Field::Captcha, QString());
    return true;
}

void fillJourneyColumn(ItineraryFields &fields, const QString &family, const QString &cellHtml,
                       const QDate &today)
{
    const JourneyColumn *column = nullptr;
    for (const JourneyColumn &candidate : journeyColumns) {
        if (family.compare(familyName(candidate.field), Qt::CaseInsensitive) == 0)
            column = &candidate;
    }
    if (!column)
        return;
    const std::optional<QString> content = journeyCellContent(cellHtml);
    if (!content)
        return;

    static const QRegularExpression lineBreak =
        makePattern(QStringLiteral("<BR>"), QRegularExpression::CaseInsensitiveOption);
    const QStringList pieces = content->split(lineBreak);
    const bool dates = column->field == Field::Date;
    for (int row = 1; row <= column->rows && row <= pieces.size(); ++row) {
        const QString &piece = pieces.at(row - 1);
        if (dates && piece.isEmpty())
            continue;
        fields.setText({column->field, row}, dates ? journeyDate(piece, today) : piece);
    }
}
