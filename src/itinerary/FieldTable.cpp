#include "itinerary/FieldTable.h"

#include <QHash>

namespace {

struct Flags
{
    bool upperCase = true;
    bool inputMethodOff = false;
    bool remembered = true;
};

constexpr Flags receipt{};
constexpr Flags keepsCase{false, false, true};
constexpr Flags latinOnly{true, true, true};

QString rowName(const char *stem, int row)
{
    return QString::fromLatin1(stem) + QString::number(row);
}

class TableBuilder
{
public:
    void add(Field field, const QString &name, FieldKind kind, const QString &caption, int row = 0,
             const QString &defaultText = {}, Flags flags = receipt)
    {
        m_table.push_back({field, name, kind, caption, row, defaultText, flags.upperCase,
                           flags.inputMethodOff, flags.remembered});
    }

    void text(Field field, const char *name, const QString &caption,
              const QString &defaultText = {}, Flags flags = receipt)
    {
        add(field, QString::fromLatin1(name), FieldKind::Text, caption, 0, defaultText, flags);
    }

    void rows(Field field, const char *stem, int first, int last, const QString &caption,
              Flags flags = receipt, FieldKind kind = FieldKind::Text)
    {
        for (int row = first; row <= last; ++row)
            add(field, rowName(stem, row), kind, caption, row, {}, flags);
    }

    void pick(Field field, const char *name, const QString &caption, Flags flags = receipt,
              int row = 0)
    {
        add(field, QString::fromLatin1(name), FieldKind::PickText, caption, row, {}, flags);
    }

    std::vector<FieldSpec> take() { return std::move(m_table); }

private:
    std::vector<FieldSpec> m_table;
};

std::vector<FieldSpec> buildTable()
{
    const QString from = QStringLiteral("自 FROM");
    const QString to = QStringLiteral("至 TO");
    const QString terminal = QStringLiteral("航站楼\nTERMINAL");
    const QString cityCode = QStringLiteral("城市代码\nCODE");
    const QString basis = QStringLiteral("客票级别/类票类别\n   FARE BASIS");
    const QString notBefore = QStringLiteral("客票生效日期\nNOTVALID BEFORE");
    const QString notAfter = QStringLiteral("有效截止日期\nNOTVALID AFTER");
    const QString agentCode = QStringLiteral("销售单位代码\nAGENT CODE");

    TableBuilder t;
    // The ticket-query group.
    t.text(Field::QueryTicketNumber, "Edit1", QStringLiteral("票号："), {}, keepsCase);
    t.text(Field::QueryPassenger, "Edit2", QStringLiteral("旅客姓名："), {}, keepsCase);
    t.text(Field::Captcha, "edtCode", QStringLiteral("验证码："), {}, {false, true, true});
    // The PNR group.
    t.add(Field::PassengerChoice, QStringLiteral("cboPassenger"), FieldKind::Choice,
          QStringLiteral("选择乘客"), 0, {}, keepsCase);
    // The receipt page, in the order its controls are created.
    t.text(Field::SerialNumber, "edtSerNo", QStringLiteral("印刷序列"));
    t.text(Field::Passenger, "edtPassenger", QStringLiteral("旅客姓名    NAME OF PASSENGER"));
    t.text(Field::IdNumber, "edtId", QStringLiteral("有效证件号码  ID.NO"));
    t.pick(Field::Endorsement, "cboEndorsement", QStringLiteral("签注"));
    t.text(Field::Pnr, "edtPnr", QStringLiteral("PNR记录"));
    for (int row = 1; row <= 4; ++row) {
        t.add(Field::Terminal, rowName("edtT", row), FieldKind::Text, terminal, row);
        t.add(Field::From, rowName("edtFrom", row), FieldKind::Text, row == 1 ? from : to, row);
        t.add(Field::FromCode, rowName("edtFromCode", row), FieldKind::Text, cityCode, row);
    }
    t.add(Field::From, QStringLiteral("edtFrom5"), FieldKind::Text, to, 5);
    t.rows(Field::Carrier, "cboAir", 1, 4, QStringLiteral("承运人\nCARRIER"), receipt,
           FieldKind::PickText);
    t.rows(Field::Flight, "edtFlight", 1, 4, QStringLiteral("航班号\nFLIGHT"), latinOnly);
    t.rows(Field::Seat, "edtSeat", 1, 4, QStringLiteral("座位等级\nCLASS"), latinOnly);
    t.rows(Field::Date, "edtDate", 1, 4, QStringLiteral("日期\nDATE"));
    t.text(Field::Fare, "edtFare", QStringLiteral("票价\nFARE"));
    t.text(Field::AirportTax, "edtCAAC", QStringLiteral("机场建设费 AORPORT TAX"));
    t.rows(Field::Time, "edtTime", 1, 4, QStringLiteral("时间\nTIME"));
    t.text(Field::FuelSurcharge, "edtYQ", QStringLiteral("燃油附加费FUELSURCHARG"),
           QStringLiteral("EXEMPT"));
    t.text(Field::FareCurrency, "edtFarePer", QStringLiteral("票价币种"), QStringLiteral("CNY"));
    t.text(Field::AirportTaxCode, "edtCAACPer", QStringLiteral("机场建设费税码"),
           QStringLiteral("CN"));
    t.text(Field::FuelSurchargeCode, "edtYQPer", QStringLiteral("燃油附加费税码"),
           QStringLiteral("YQ"));
    t.rows(Field::FareBasis, "edtBasts", 1, 4, basis);
    t.rows(Field::NotValidBefore, "edtNotValidBefore", 1, 1, notBefore);
    t.text(Field::OtherTax, "edtTax", QStringLiteral("其他税费 OTHER TAX"));
    t.text(Field::OtherTaxCode, "edtTaxPer", QStringLiteral("其他税费税码"));
    t.text(Field::Total, "edtTotal", QStringLiteral("合计 TOTAL"));
    t.text(Field::TotalCurrency, "edtTotalPer", QStringLiteral("合计币种"), QStringLiteral("CNY"));
    t.text(Field::CheckCode, "edtCk", QStringLiteral("验证码\nCK."));
    t.text(Field::TicketNumber, "edtTicketNo", QStringLiteral("电子客票号码\nE-TICKET NO"));
    t.text(Field::Insurance, "edtIssue", QStringLiteral("保险费\nINSURNCE"), QStringLiteral("XXX"));
    t.rows(Field::NotValidBefore, "edtNotValidBefore", 2, 4, notBefore);
    t.rows(Field::NotValidAfter, "edtNotValidAfter", 1, 4, notAfter);
    t.rows(Field::Allowance, "edtAllow", 1, 4, QStringLiteral("免费行李\n ALLOW"));
    t.pick(Field::AgentCode, "cboAgentCode1", agentCode, receipt, 1);
    t.pick(Field::AgentCode, "cboAgentCode2", agentCode, receipt, 2);
    t.pick(Field::IssuedBy, "cboIssueBy", QStringLiteral("填开单位\nISSUE BY"));
    t.text(Field::InternationalMark, "edtGuowai", QStringLiteral("国际标记"),
           QStringLiteral("国际(I)"), keepsCase);
    t.add(Field::DateOfIssue, QStringLiteral("edtDateOfInsue"), FieldKind::Date,
          QStringLiteral("填开日期\nDATE OF ISSUE"), 0, {}, keepsCase);
    t.pick(Field::Information, "edtInformation", QStringLiteral("提示信息\nINFORMATION"),
           keepsCase);
    t.add(Field::International, QStringLiteral("chkGuowai"), FieldKind::Switch,
          QStringLiteral("打印国际"), 0, {}, keepsCase);
    // Not remembered.
    t.add(Field::PnrText, QStringLiteral("Memo1"), FieldKind::MultiLine, QStringLiteral("PNR信息"),
          0, {}, {false, false, false});
    return t.take();
}

} // namespace

QString FieldSpec::accessibleName() const
{
    QString name = caption.simplified();
    if (row > 0)
        name += u' ' + QString::number(row);
    return name;
}

const std::vector<FieldSpec> &itineraryFieldTable()
{
    static const std::vector<FieldSpec> table = buildTable();
    return table;
}

namespace {

// Rows 0 to 5 of every field: the table's spec, or nullptr.
constexpr int rowsPerField = 6;

const std::vector<const FieldSpec *> &specsByKey()
{
    static const std::vector<const FieldSpec *> index = [] {
        std::vector<const FieldSpec *> specs((int(Field::PnrText) + 1) * rowsPerField, nullptr);
        for (const FieldSpec &spec : itineraryFieldTable())
            specs[int(spec.field) * rowsPerField + spec.row] = &spec;
        return specs;
    }();
    return index;
}

} // namespace

const FieldSpec *findField(FieldKey key)
{
    if (key.row < 0 || key.row >= rowsPerField)
        return nullptr;
    return specsByKey()[int(key.field) * rowsPerField + key.row];
}

int lastRow(Field field)
{
    int last = 0;
    while (findField({field, last + 1}))
        ++last;
    return last;
}

QString fieldName(FieldKey key)
{
    const FieldSpec *spec = findField(key);
    return spec ? spec->name : QString();
}

const FieldSpec *findField(const QString &name)
{
    static const QHash<QString, const FieldSpec *> byName = [] {
        QHash<QString, const FieldSpec *> index;
        for (const FieldSpec &spec : itineraryFieldTable())
            index.insert(spec.name, &spec);
        return index;
    }();
    return byName.value(name, nullptr);
}
