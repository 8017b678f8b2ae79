#include "print/PrintLimits.h"

#include "itinerary/FieldTable.h"
#include "print/PrintLayout.h"
#include "print/ReportPage.h"

#include <QHash>

namespace {

constexpr qreal rightMarginMillimetres = 10.0;

std::vector<ValueColumn> buildTable()
{
    std::vector<ValueColumn> t;
    // The label is the field's own, but for the issuing office's second line.
    const auto add = [&t](FieldKey key, const char *next, const char *label = nullptr) {
        const FieldSpec *field = findField(key);
        t.push_back({label ? QString::fromLatin1(label) : field->printLabel(), field->name,
                     QString::fromLatin1(next)});
    };
    // clang-format off
    //  field                            next column on its line
    add(Field::SerialNumber,            "");
    add(Field::InternationalMark,       "");
    add(Field::Passenger,               "qlblId");
    add(Field::IdNumber,                "qlblEndorsement");
    add(Field::Endorsement,             "");
    add(Field::Pnr,                     "");
    for (int row = 1; row <= 4; ++row) {
        const auto cell = [&](Field field, const char *next) {
            const FieldSpec *spec = findField({field, row});
            t.push_back({spec->printLabel(), spec->name,
                         *next ? QString::fromLatin1(next) + QString::number(row) : QString()});
        };
        cell(Field::Terminal,          "qlblFrom");
        cell(Field::From,              "qlblFromCode");
        cell(Field::FromCode,          "qlblAir");
        cell(Field::Carrier,           "qlblFlight");
        cell(Field::Flight,            "qlblSeat");
        cell(Field::Seat,              "qlblDate");
        cell(Field::Date,              "qlblTime");
        cell(Field::Time,              "qlblBasts");
        cell(Field::FareBasis,         "qlblNotValidBefore");
        cell(Field::NotValidBefore,    "qlblNotValidAfter");
        cell(Field::NotValidAfter,     "qlblAllow");
        cell(Field::Allowance,         "");
    }
    // The fifth city shares the amount line, one pixel lower.
    add({Field::From, 5},               "qlblFarePer");
    add(Field::FareCurrency,            "qlblFare");
    add(Field::Fare,                    "qlblCAACPer");
    add(Field::AirportTaxCode,          "qlblCAAC");
    add(Field::AirportTax,              "qlblYQPer");
    add(Field::FuelSurchargeCode,       "qlblYQ");
    add(Field::FuelSurcharge,           "qlblTaxPer");
    add(Field::OtherTaxCode,            "qlblTax");
    add(Field::OtherTax,                "qlblTotalPer");
    add(Field::TotalCurrency,           "qlblTotal");
    add(Field::Total,                   "");
    // Ticket number, check code, information and insurance share one line.
    add(Field::TicketNumber,            "qlblCk");
    add(Field::CheckCode,               "qlblInformation");
    add(Field::Information,             "qlblIssue");
    add(Field::Insurance,               "");
    // The agent codes fill the first cell of the last row of the stock, the
    // issuing office's two lines the second, the date of issue the third.
    add({Field::AgentCode, 1},          "qlblIssueBy");
    add({Field::AgentCode, 2},          "qlblIssueBy");
    add(Field::IssuedBy,                "qlblDateOfInsue");
    add(Field::IssuedBy,                "qlblDateOfInsue", "qlblIssueBy2");
    add(Field::DateOfIssue,             "");
    // clang-format on
    return t;
}

const LayoutLabelSpec *layoutSpec(const QString &label)
{
    static const QHash<QString, const LayoutLabelSpec *> byName = [] {
        QHash<QString, const LayoutLabelSpec *> names;
        for (const LayoutLabelSpec &spec : printLayoutTable())
            names.insert(spec.name, &spec);
        return names;
    }();
    return byName.value(label, nullptr);
}

} // namespace

const std::vector<ValueColumn> &valueColumnTable()
{
    static const std::vector<ValueColumn> table = buildTable();
    return table;
}

const ValueColumn *findValueColumn(const QString &label)
{
    static const QHash<QString, const ValueColumn *> byName = [] {
        QHash<QString, const ValueColumn *> names;
        for (const ValueColumn &column : valueColumnTable())
            names.insert(column.label, &column);
        return names;
    }();
    return byName.value(label, nullptr);
}

qreal designRightLimit(const QString &label)
{
    const ValueColumn *column = findValueColumn(label);
    if (column && !column->nextLabel.isEmpty()) {
        if (const LayoutLabelSpec *next = layoutSpec(column->nextLabel))
            return next->left - columnClearance;
    }
    return ReportPage::sheet().right() - ReportPage::pixelsFromMillimetres(rightMarginMillimetres);
}

QStringList leftNeighbours(const QString &label)
{
    QStringList neighbours;
    for (const ValueColumn &column : valueColumnTable()) {
        if (column.nextLabel == label)
            neighbours.append(column.label);
    }
    return neighbours;
}

QString valueCaption(const QString &label)
{
    const ValueColumn *column = findValueColumn(label);
    const FieldSpec *field = column ? findField(column->field) : nullptr;
    if (!field)
        return QString();
    const QString firstLine = field->caption.section(u'\n', 0, 0).trimmed();
    // The Chinese words before the English ones; a caption that starts in
    // Latin letters ("PNR记录") stays whole.
    qsizetype end = 0;
    while (end < firstLine.size() && firstLine.at(end).unicode() > 0x7F)
        ++end;
    return end > 0 ? firstLine.left(end) : firstLine;
}
