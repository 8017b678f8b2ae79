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
    const auto add = [&t](const char *label, const char *field, const char *next) {
        t.push_back(
            {QString::fromLatin1(label), QString::fromLatin1(field), QString::fromLatin1(next)});
    };
    // clang-format off
    //   label                   field                  next column on its line
    add("qlblSerNo",            "edtSerNo",            "");
    add("qlblGuowai",           "edtGuowai",           "");
    add("qlblPassenger",        "edtPassenger",        "qlblId");
    add("qlblId",               "edtId",               "qlblEndorsement");
    add("qlblEndorsement",      "cboEndorsement",      "");
    add("qlblPnr",              "edtPnr",              "");
    for (int row = 1; row <= 4; ++row) {
        const auto cell = [&](const char *stem, const char *field, const char *next) {
            const QString n = QString::number(row);
            t.push_back({QString::fromLatin1(stem) + n, QString::fromLatin1(field) + n,
                         *next ? QString::fromLatin1(next) + n : QString()});
        };
        cell("qlblT",              "edtT",              "qlblFrom");
        cell("qlblFrom",           "edtFrom",           "qlblFromCode");
        cell("qlblFromCode",       "edtFromCode",       "qlblAir");
        cell("qlblAir",            "cboAir",            "qlblFlight");
        cell("qlblFlight",         "edtFlight",         "qlblSeat");
        cell("qlblSeat",           "edtSeat",           "qlblDate");
        cell("qlblDate",           "edtDate",           "qlblTime");
        cell("qlblTime",           "edtTime",           "qlblBasts");
        cell("qlblBasts",          "edtBasts",          "qlblNotValidBefore");
        cell("qlblNotValidBefore", "edtNotValidBefore", "qlblNotValidAfter");
        cell("qlblNotValidAfter",  "edtNotValidAfter",  "qlblAllow");
        cell("qlblAllow",          "edtAllow",          "");
    }
    // The fifth city shares the amount line, one pixel lower.
    add("qlblFrom5",            "edtFrom5",            "qlblFarePer");
    add("qlblFarePer",          "edtFarePer",          "qlblFare");
    add("qlblFare",             "edtFare",             "qlblCAACPer");
    add("qlblCAACPer",          "edtCAACPer",          "qlblCAAC");
    add("qlblCAAC",             "edtCAAC",             "qlblYQPer");
    add("qlblYQPer",            "edtYQPer",            "qlblYQ");
    add("qlblYQ",               "edtYQ",               "qlblTaxPer");
    add("qlblTaxPer",           "edtTaxPer",           "qlblTax");
    add("qlblTax",              "edtTax",              "qlblTotalPer");
    add("qlblTotalPer",         "edtTotalPer",         "qlblTotal");
    add("qlblTotal",            "edtTotal",            "");
    // Ticket number, check code, information and insurance share one line.
    add("qlblTicketNo",         "edtTicketNo",         "qlblCk");
    add("qlblCk",               "edtCk",               "qlblInformation");
    add("qlblInformation",      "edtInformation",      "qlblIssue");
    add("qlblIssue",            "edtIssue",            "");
    // The agent codes fill the first cell of the last row of the stock, the
    // issuing office's two lines the second, the date of issue the third.
    add("qlblAgentCode1",       "cboAgentCode1",       "qlblIssueBy");
    add("qlblAgentCode2",       "cboAgentCode2",       "qlblIssueBy");
    add("qlblIssueBy",          "cboIssueBy",          "qlblDateOfInsue");
    add("qlblIssueBy2",         "cboIssueBy",          "qlblDateOfInsue");
    add("qlblDateOfInsue",      "edtDateOfInsue",      "");
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
