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
    void add(const QString &name, FieldKind kind, const QString &caption, int row = 0,
             const QString &defaultText = {}, Flags flags = receipt,
             const QString &pickListKey = {})
    {
        m_table.push_back({name, kind, caption, row, defaultText, flags.upperCase,
                           flags.inputMethodOff, flags.remembered, pickListKey});
    }

    void text(const char *name, const QString &caption, const QString &defaultText = {},
              Flags flags = receipt)
    {
        add(QString::fromLatin1(name), FieldKind::Text, caption, 0, defaultText, flags);
    }

    void rows(const char *stem, int first, int last, const QString &caption, Flags flags = receipt,
              FieldKind kind = FieldKind::Text)
    {
        for (int row = first; row <= last; ++row)
            add(rowName(stem, row), kind, caption, row, {}, flags);
    }

    void pick(const char *name, const QString &caption, const QString &pickListKey,
              Flags flags = receipt, int row = 0)
    {
        add(QString::fromLatin1(name), FieldKind::PickText, caption, row, {}, flags, pickListKey);
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
    t.text("Edit1", QStringLiteral("票号："), {}, keepsCase);
    t.text("Edit2", QStringLiteral("旅客姓名："), {}, keepsCase);
    t.text("edtCode", QStringLiteral("验证码："), {}, {false, true, true});
    // The PNR group.
    t.add(QStringLiteral("cboPassenger"), FieldKind::Choice, QStringLiteral("选择乘客"), 0, {},
          keepsCase);
    // The receipt page, in the order its controls are created.
    t.text("edtSerNo", QStringLiteral("印刷序列"));
    t.text("edtPassenger", QStringLiteral("旅客姓名    NAME OF PASSENGER"));
    t.text("edtId", QStringLiteral("有效证件号码  ID.NO"));
    t.pick("cboEndorsement", QStringLiteral("签注"), QStringLiteral("MakeText"));
    t.text("edtPnr", QStringLiteral("PNR记录"));
    for (int row = 1; row <= 4; ++row) {
        t.add(rowName("edtT", row), FieldKind::Text, terminal, row);
        t.add(rowName("edtFrom", row), FieldKind::Text, row == 1 ? from : to, row);
        t.add(rowName("edtFromCode", row), FieldKind::Text, cityCode, row);
    }
    t.add(QStringLiteral("edtFrom5"), FieldKind::Text, to, 5);
    t.rows("cboAir", 1, 4, QStringLiteral("承运人\nCARRIER"), receipt, FieldKind::PickText);
    t.rows("edtFlight", 1, 4, QStringLiteral("航班号\nFLIGHT"), latinOnly);
    t.rows("edtSeat", 1, 4, QStringLiteral("座位等级\nCLASS"), latinOnly);
    t.rows("edtDate", 1, 4, QStringLiteral("日期\nDATE"));
    t.text("edtFare", QStringLiteral("票价\nFARE"));
    t.text("edtCAAC", QStringLiteral("机场建设费 AORPORT TAX"));
    t.rows("edtTime", 1, 4, QStringLiteral("时间\nTIME"));
    t.text("edtYQ", QStringLiteral("燃油附加费FUELSURCHARG"), QStringLiteral("EXEMPT"));
    t.text("edtFarePer", QStringLiteral("票价币种"), QStringLiteral("CNY"));
    t.text("edtCAACPer", QStringLiteral("机场建设费税码"), QStringLiteral("CN"));
    t.text("edtYQPer", QStringLiteral("燃油附加费税码"), QStringLiteral("YQ"));
    t.rows("edtBasts", 1, 4, basis);
    t.rows("edtNotValidBefore", 1, 1, notBefore);
    t.text("edtTax", QStringLiteral("其他税费 OTHER TAX"));
    t.text("edtTaxPer", QStringLiteral("其他税费税码"));
    t.text("edtTotal", QStringLiteral("合计 TOTAL"));
    t.text("edtTotalPer", QStringLiteral("合计币种"), QStringLiteral("CNY"));
    t.text("edtCk", QStringLiteral("验证码\nCK."));
    t.text("edtTicketNo", QStringLiteral("电子客票号码\nE-TICKET NO"));
    t.text("edtIssue", QStringLiteral("保险费\nINSURNCE"), QStringLiteral("XXX"));
    t.rows("edtNotValidBefore", 2, 4, notBefore);
    t.rows("edtNotValidAfter", 1, 4, notAfter);
    t.rows("edtAllow", 1, 4, QStringLiteral("免费行李\n ALLOW"));
    t.pick("cboAgentCode1", agentCode, QStringLiteral("OfficeNo"), receipt, 1);
    t.pick("cboAgentCode2", agentCode, QStringLiteral("CompanyCode"), receipt, 2);
    t.pick("cboIssueBy", QStringLiteral("填开单位\nISSUE BY"), QStringLiteral("company"));
    t.text("edtGuowai", QStringLiteral("国际标记"), QStringLiteral("国际(I)"), keepsCase);
    t.add(QStringLiteral("edtDateOfInsue"), FieldKind::Date,
          QStringLiteral("填开日期\nDATE OF ISSUE"), 0, {}, keepsCase);
    t.pick("edtInformation", QStringLiteral("提示信息\nINFORMATION"), QStringLiteral("information"),
           keepsCase);
    t.add(QStringLiteral("chkGuowai"), FieldKind::Switch, QStringLiteral("打印国际"), 0, {},
          keepsCase);
    // Not remembered.
    t.add(QStringLiteral("Memo1"), FieldKind::MultiLine, QStringLiteral("PNR信息"), 0, {},
          {false, false, false});
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
