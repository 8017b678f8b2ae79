#include "online/ResultPage.h"
#include "Strings.h"
#include "common/KestranoError.h"
#include "itinerary/ClearItinerary.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

#include <QFile>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/online/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// As the answer of the service is decoded: by the character set the page
// declares.
QString decodedPage(const QByteArray &bytes)
{
    QStringDecoder decoder(bytes.toLower().contains("charset=gbk") ? "GB18030" : "UTF-8");
    return decoder.decode(bytes);
}

// Every field holds something before the extraction, so that a field the
// extraction leaves alone and one it empties can be told apart.
void fillEveryField(ItineraryFields &fields)
{
    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (spec.kind != FieldKind::Switch && spec.kind != FieldKind::Choice)
            fields.setText(spec.name, QStringLiteral("OLD ") + spec.name);
    }
}

struct Expected
{
    QDate today;
    QStringList messages;
    QHash<QString, QString> fields;
};

Expected readExpected(const QString &name)
{
    Expected expected;
    const QString text = QString::fromUtf8(fixture(name));
    for (const QString &line : text.split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (key == u"today")
            expected.today = QDate::fromString(value, Qt::ISODate);
        else if (key == u"message")
            expected.messages.append(value);
        else
            expected.fields.insert(key, value);
    }
    return expected;
}

class ResultPageFixture : public ::testing::TestWithParam<const char *>
{
};

TEST_P(ResultPageFixture, FillsTheReceiptAsTheExpectedTableSays)
{
    const QString name = QString::fromLatin1(GetParam());
    const Expected expected = readExpected(name + QStringLiteral(".expected"));
    ASSERT_TRUE(expected.today.isValid());

    ItineraryFields fields;
    fillEveryField(fields);
    const bool found = parseResultPage(fields, decodedPage(fixture(name + QStringLiteral(".html"))),
                                       expected.today);

    // A page with a journey empties the receipt first, but for the serial
    // number and check code of the next sheet; one without (the service's
    // error page) leaves all of it, but for the used captcha.
    ItineraryFields untouched;
    fillEveryField(untouched);
    if (found)
        clearItinerary(untouched, SerialNumberOnClear::Keep);
    untouched.setText(QStringLiteral("edtCode"), QString());

    // The window tells the agent "提取失败！" when the page holds no journey.
    const QStringList messages = found ? QStringList() : QStringList{QStringLiteral("提取失败！")};
    EXPECT_EQ(messages, expected.messages);
    for (const FieldSpec &spec : itineraryFieldTable()) {
        const QString wanted = expected.fields.value(spec.name, untouched.text(spec.name));
        EXPECT_EQ(fields.text(spec.name), wanted) << spec.name.toStdString();
    }
    for (const QString &field : expected.fields.keys())
        EXPECT_TRUE(fields.hasField(field)) << field.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pages, ResultPageFixture,
                         ::testing::Values("one-segment", "four-segments-gbk", "short-row",
                                           "odd-markup", "no-journey", "empty"),
                         [](const auto &info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(parseResultPage, ReadsEachSpanByItsClassAsAWhole)
{
    const struct
    {
        const char *span;
        const char *field;
        const char *value;
    } cases[] = {
        {"<span>印刷序号：1234567890  3</span>", "edtSerNo", "1234567890 3"},
        {"<span>No.: 印刷序号 1234567890\t3</span>", "edtSerNo", "印刷序号 1234567890 3"},
        {"<span>印刷序号：4507315678&nbsp;&nbsp;5</span>", "edtSerNo", "4507315678 5"},
        {"<span>印刷序号：&nbsp;4507315678 &nbsp;5&nbsp;</span>", "edtSerNo", "4507315678 5"},
        {"<span class=''>xx印刷序号</span>", "edtSerNo", "号"},
        {"<span class=x>印刷序号：1234567890 3</span>", "edtSerNo", ""},
        {"<span class=fare>CNY</span>", "edtFare", ""},
        {"<span class=fare>CNY 1130.00</span>", "edtFare", "1130.00"},
        {"<span class=Fare>CNY 1130.00</span>", "edtFare", ""},
        {"<span class='fare extra'>CNY 1130.00</span>", "edtFare", ""},
        {"<div class=fare>CNY 1130.00</div>", "edtFare", ""},
        {"<span class=caac-development-fund>民航发展基金50.00</span>", "edtCAAC", "50.00"},
        {"<span class=ml27>zhang/san<br>mr</span>", "edtPassenger", "ZHANG/SAN\nMR"},
        {"<span class=visa>&nbsp;Q/NON-END&nbsp;</span>", "cboEndorsement",
         "\u00a0Q/NON-END\u00a0"},
        {"<span class=information>Keep <i>this</i> case</span>", "edtInformation",
         "Keep this case"},
        {"<span class=e-ticket-no>7812345678901</span><span class=e-ticket-no>999</span>",
         "edtTicketNo", "999"},
    };
    // On a page with a journey, as the service's answer has.
    const QString journey =
        QStringLiteral("<table class=journey-detail><tr><td></td></tr></table>");
    for (const auto &c : cases) {
        ItineraryFields fields;
        EXPECT_TRUE(parseResultPage(fields, u8s(c.span) + journey, QDate(2016, 8, 20))) << c.span;
        EXPECT_EQ(fields.text(QString::fromLatin1(c.field)), u8s(c.value)) << c.span;
    }
}

// The serial number and check code belong to the sheet in the printer: a
// page that gives neither leaves them; one that gives them replaces them,
// the check code following the serial number as when typed.
TEST(parseResultPage, KeepsTheSerialNumberAndCheckCodeUnlessThePageGivesThem)
{
    const struct
    {
        const char *spans;
        const char *serialNumber;
        const char *checkCode;
    } cases[] = {
        {"<span class=fare>CNY 1130.00</span>", "4440001000 3", "1000"},
        {"<span>印刷序号：6301123456  4</span>", "6301123456 4", "3456"},
        {"<span class=ck-info>7777</span>", "4440001000 3", "7777"},
        {"<span>印刷序号：6301123456  4</span><span class=ck-info>7777</span>", "6301123456 4",
         "7777"},
    };
    const QString journey =
        QStringLiteral("<table class=journey-detail><tr><td></td></tr></table>");
    for (const auto &c : cases) {
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("4440001000 3"));
        fields.setText(QStringLiteral("edtTicketNo"), QStringLiteral("7812345678901"));
        ASSERT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("1000"));
        EXPECT_TRUE(parseResultPage(fields, u8s(c.spans) + journey, QDate(2016, 8, 20))) << c.spans;
        EXPECT_EQ(fields.text(QStringLiteral("edtSerNo")), u8s(c.serialNumber)) << c.spans;
        EXPECT_EQ(fields.text(QStringLiteral("edtCk")), u8s(c.checkCode)) << c.spans;
        // The rest of the receipt is the page's.
        EXPECT_EQ(fields.text(QStringLiteral("edtTicketNo")), QString()) << c.spans;
    }
}

TEST(parseResultPage, APageBeyondTheLimitsChangesNothing)
{
    const QString pages[] = {
        QStringLiteral("<table class=journey-detail></table>") + QString(4 * 1024 * 1024, u' '),
        QStringLiteral("<table class=journey-detail ") + QStringLiteral("a ").repeated(1000) +
            QStringLiteral("></table>"),
    };
    for (const QString &page : pages) {
        ItineraryFields fields;
        fillEveryField(fields);
        ItineraryFields before;
        fillEveryField(before);
        EXPECT_THROW((void)parseResultPage(fields, page, QDate(2016, 8, 20)), KestranoError);
        for (const FieldSpec &spec : itineraryFieldTable())
            EXPECT_EQ(fields.text(spec.name), before.text(spec.name)) << spec.name.toStdString();
    }
}

} // namespace
