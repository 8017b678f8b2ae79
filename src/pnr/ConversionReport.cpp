#include "pnr/ConversionReport.h"

#include "common/TextRules.h"
#include "itinerary/ItineraryFields.h"

namespace {

// The values every receipt holds, with the word the report uses for each.
const struct
{
    Field field;
    int row;
    const char *word;
} expectedValues[] = {
    {Field::Passenger, 0, "姓名"}, {Field::IdNumber, 0, "证件号码"},
    {Field::TicketNumber, 0, "票号"}, {Field::Flight, 1, "航班"},
    {Field::Fare, 0, "票价"},        {Field::Total, 0, "合计"},
};

QString wordFor(const FieldKey &key)
{
    for (const auto &value : expectedValues) {
        if (FieldKey(value.field, value.row) == key)
            return QString::fromUtf8(value.word);
    }
    return fieldName(key);
}

} // namespace

QString ConversionReport::text() const
{
    QString report = QStringLiteral("已转换：%1 位旅客，%2 个航段").arg(passengers).arg(segments);
    QStringList words;
    for (const FieldKey &key : missing) {
        if (!(totalContradicted && key == FieldKey(Field::Total)))
            words.append(wordFor(key));
    }
    if (!words.isEmpty())
        report += QStringLiteral("；未找到：") + words.join(u'、');
    if (totalContradicted)
        report += QStringLiteral("；合计与票价、税费之和不符，未填");
    return report;
}

ConversionReport markWhatIsMissing(ItineraryFields &fields, qsizetype passengers,
                                   qsizetype segments)
{
    ConversionReport report{passengers, segments, {}};
    for (const auto &value : expectedValues) {
        const FieldKey key(value.field, value.row);
        if (trimmed(fields.text(key)).isEmpty())
            report.missing.append(key);
    }
    // Right after a conversion an empty total beside a fare is one the
    // amounts did not make: without a total of its own the display's
    // amounts are added up.
    report.totalContradicted = report.missing.contains(FieldKey(Field::Total)) &&
                               !report.missing.contains(FieldKey(Field::Fare));
    fields.markMissing(report.missing);
    return report;
}
