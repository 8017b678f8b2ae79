#include "WholeReceipt.h"

#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

#include <QStringList>
#include <QtGlobal>

namespace {

void setRows(ItineraryFields &fields, const char *stem, const QStringList &values)
{
    for (qsizetype row = 1; row <= values.size(); ++row)
        fields.setText(QString::fromLatin1(stem) + QString::number(row), values.at(row - 1));
}

} // namespace

void fillWholeReceipt(ItineraryFields &fields)
{
    const struct
    {
        const char *name;
        QString text;
    } single[] = {
        {"Edit1", QStringLiteral("9991234567890")},
        {"Edit2", QStringLiteral("王小明")},
        {"edtCode", QStringLiteral("7K2M")},
        {"edtSerNo", QStringLiteral("7700112233 5")},
        {"edtPassenger", QStringLiteral("王小明")},
        {"edtId", QStringLiteral("110105197803121518")},
        {"cboEndorsement", QStringLiteral("不得签转/改期退票收费")},
        {"edtPnr", QStringLiteral("HX7QJ2")},
        {"edtFare", QStringLiteral("4620.00")},
        {"edtCAAC", QStringLiteral("200.00")},
        {"edtYQ", QStringLiteral("EXEMPT")},
        {"edtFarePer", QStringLiteral("CNY")},
        {"edtCAACPer", QStringLiteral("CN")},
        {"edtYQPer", QStringLiteral("YQ")},
        {"edtTax", QStringLiteral("30.00")},
        {"edtTaxPer", QStringLiteral("OB")},
        {"edtTotalPer", QStringLiteral("CNY")},
        {"edtCk", QStringLiteral("2233")},
        {"edtTicketNo", QStringLiteral("999-1234567890")},
        {"edtIssue", QStringLiteral("20.00")},
        {"cboAgentCode1", QStringLiteral("BJS123")},
        {"cboAgentCode2", QStringLiteral("08312345")},
        {"cboIssueBy", QStringLiteral("广州白云国际机场售票处")},
        {"edtGuowai", QStringLiteral("国际(I)")},
        {"edtDateOfInsue", QStringLiteral("2016-12-18")},
        {"edtInformation", QStringLiteral("请提前90分钟到达机场")},
    };
    for (const auto &value : single)
        fields.setText(QString::fromLatin1(value.name), value.text);

    setRows(
        fields, "edtT",
        {QStringLiteral("T3"), QStringLiteral("T2"), QStringLiteral("--"), QStringLiteral("T1")});
    setRows(fields, "edtFrom",
            {QStringLiteral("北京首都"), QStringLiteral("广州白云"), QStringLiteral("三亚凤凰"),
             QStringLiteral("广州白云"), QStringLiteral("北京首都")});
    setRows(fields, "edtFromCode",
            {QStringLiteral("PEK"), QStringLiteral("CAN"), QStringLiteral("SYX"),
             QStringLiteral("CAN")});
    setRows(fields, "cboAir",
            {QStringLiteral("中国国际航空"), QStringLiteral("南方航空"), QStringLiteral("南方航空"),
             QStringLiteral("中国国际航空")});
    setRows(fields, "edtFlight",
            {QStringLiteral("CA1301"), QStringLiteral("CZ6731"), QStringLiteral("CZ6732"),
             QStringLiteral("CA1316")});
    // The seats first: each one writes its row's fare basis.
    setRows(fields, "edtSeat",
            {QStringLiteral("Y"), QStringLiteral("B"), QStringLiteral("B"), QStringLiteral("Y")});
    setRows(
        fields, "edtBasts",
        {QStringLiteral("Y"), QStringLiteral("B75"), QStringLiteral("B75"), QStringLiteral("Y")});
    setRows(fields, "edtDate",
            {QStringLiteral("2016-12-28"), QStringLiteral("2016-12-30"),
             QStringLiteral("2017-01-03"), QStringLiteral("2017-01-05")});
    setRows(fields, "edtTime",
            {QStringLiteral("08:00"), QStringLiteral("14:35"), QStringLiteral("09:10"),
             QStringLiteral("19:40")});
    const QStringList days = {QStringLiteral("28DEC"), QStringLiteral("30DEC"),
                              QStringLiteral("03JAN"), QStringLiteral("05JAN")};
    setRows(fields, "edtNotValidBefore", days);
    setRows(fields, "edtNotValidAfter", days);
    setRows(fields, "edtAllow",
            {QStringLiteral("20K"), QStringLiteral("20K"), QStringLiteral("20K"),
             QStringLiteral("20K")});

    const QString passenger = QStringLiteral("1.王小明");
    fields.setPassengerEntries({passenger});
    fields.setText(QStringLiteral("cboPassenger"), passenger);

    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (spec.remembered && spec.kind != FieldKind::Switch && fields.text(spec.name).isEmpty())
            qFatal("the whole receipt leaves %s empty", qPrintable(spec.name));
    }
}
