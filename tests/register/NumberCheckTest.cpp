#include "PrivateCups.h"
#include "RegisterDesk.h"

#include <gtest/gtest.h>

// Without a shared register, the desk's own journal is the register: a
// number it has printed or voided, and one outside every received range, is
// printed only when the agent says so.

namespace {

using Refusal = PrintService::Refusal;

QString refusal(Refusal why)
{
    return QString::number(int(why));
}

} // namespace

// The desk and time of a use come from another desk through the server:
// the question names them as one line of text, whatever they hold.
TEST(NumberCheck, TheQuestionNamesAnotherDeskAsPlainText)
{
    const NumberUse use{QStringLiteral("1234500050 5"), QStringLiteral("2026-12-01 09:00:00\x1b[2J"),
                        QStringLiteral("<h1>柜台</h1>\n\u202e\x1b]0;x\x07" "A") + QString(300, u'B'),
                        false};
    const QString question = Register::usedNumberQuestion(use);
    EXPECT_TRUE(question.startsWith(QStringLiteral(
        "印刷序列 1234500050 5 已于 2026-12-01 09:00:00 在 <h1>柜台</h1> A")))
        << question.toStdString();
    EXPECT_TRUE(question.endsWith(QStringLiteral("… 打印。仍要打印吗？"))) << question.toStdString();
    EXPECT_LT(question.size(), 120);
}

TEST(NumberCheck, ANumberThisDeskUsedIsPrintedOnlyOnTheAgentsWord)
{
    SKIP_WITHOUT_PRINTER();
    RegisterDesk desk(QString(), QStringLiteral("柜台A"));
    const QString serial = QStringLiteral("1234500050 5");
    desk.setSerialNumber(serial);
    ASSERT_TRUE(desk.m_service.printDirect());
    ASSERT_TRUE(desk.waitForEnds(1));
    ASSERT_EQ(desk.ended(0).result, PrintOutcome::Result::Printed);
    EXPECT_TRUE(desk.m_asked.isEmpty());
    const QString printedAt = desk.m_service.journal().row(1).time.toString(
        QStringLiteral("yyyy-MM-dd HH:mm:ss"));

    // The sheet went into the tray again, and the agent types its number back.
    desk.setSerialNumber(serial);
    EXPECT_FALSE(desk.m_service.printDirect());
    EXPECT_EQ(desk.m_asked, QStringList{QStringLiteral("印刷序列 %1 已于 %2 在 柜台A 打印。仍要打印吗？")
                                           .arg(serial, printedAt)});
    EXPECT_EQ(desk.refusals(), QStringList{refusal(Refusal::NumberDeclined)});
    EXPECT_FALSE(desk.m_service.busy());
    EXPECT_EQ(desk.m_service.journal().rowCount(), 1);
    EXPECT_EQ(desk.serialNumber(), serial);

    // Voided, it is asked about as voided; printed all the same, it goes.
    ASSERT_TRUE(desk.m_service.journal().voidRow(1, QStringLiteral("卡纸")));
    desk.m_printAgain = true;
    ASSERT_TRUE(desk.m_service.printDirect());
    EXPECT_TRUE(desk.m_asked.last().contains(QStringLiteral("在 柜台A 作废。")))
        << desk.m_asked.last().toStdString();
    ASSERT_TRUE(desk.waitForEnds(2));
    EXPECT_EQ(desk.ended(1).result, PrintOutcome::Result::Printed);
    EXPECT_EQ(desk.m_service.journal().rowCount(), 2);
    EXPECT_EQ(desk.serialNumber(), QStringLiteral("1234500051 6"));
}

// Once ranges are received, a number outside all of them is asked about
// once for each stretch between them; with no range at all, never.
TEST(NumberCheck, ANumberOutsideTheReceivedStockIsAskedAboutOncePerStretch)
{
    SKIP_WITHOUT_PRINTER();
    RegisterDesk desk(QString(), QStringLiteral("柜台A"));
    desk.setSerialNumber(QStringLiteral("5550000000 1"));
    ASSERT_TRUE(desk.m_service.printDirect());
    ASSERT_TRUE(desk.waitForEnds(1));
    EXPECT_TRUE(desk.m_asked.isEmpty());

    desk.m_register->store().addRange(
        {1234500000, 1234500099, QStringLiteral("2026-12-01"), QStringLiteral("王芳")},
        QStringLiteral("柜台A"));
    desk.m_register->store().addRange(
        {1234500200, 1234500299, QStringLiteral("2026-12-01"), QStringLiteral("王芳")},
        QStringLiteral("柜台A"));
    desk.m_register->rangesChanged();

    const struct
    {
        const char *serial;
        bool asked;
        bool printed;
    } steps[] = {
        {"1234500150 3", true, false},  // between the ranges: declined
        {"1234500150 3", true, true},   // asked again, accepted
        {"1234500151 4", false, true},  // the same stretch: not again
        {"1234500050 0", false, true},  // in a range
        {"1234500300 1", true, true},   // above the last range: a stretch of its own
        {"1234400000 2", true, true},   // below the first
    };
    qsizetype ends = 1;
    for (const auto &step : steps) {
        SCOPED_TRACE(step.serial);
        desk.m_printOutside = step.printed;
        desk.setSerialNumber(QString::fromLatin1(step.serial));
        const qsizetype askedBefore = desk.m_asked.size();
        EXPECT_EQ(desk.m_service.printDirect(), step.printed);
        EXPECT_EQ(desk.m_asked.size() - askedBefore, step.asked ? 1 : 0);
        if (step.asked) {
            EXPECT_TRUE(desk.m_asked.last().startsWith(
                QStringLiteral("印刷序列 %1 不在任何已领用的号段内").arg(QString::fromLatin1(step.serial))));
        }
        if (step.printed) {
            ASSERT_TRUE(desk.waitForEnds(++ends));
        }
    }
    EXPECT_EQ(desk.m_service.journal().rowCount(), ends);
}

// Once ranges are received, a receipt without a serial number is a sheet
// that no reconciliation accounts for: it goes only on the agent's word,
// asked once for a whole "全部打印"; with no range at all, it goes unasked.
TEST(NumberCheck, AReceiptWithoutASerialNumberIsAskedAboutOnceRangesAreReceived)
{
    SKIP_WITHOUT_PRINTER();
    RegisterDesk desk(QString(), QStringLiteral("柜台A"));
    desk.m_fields.setText(QStringLiteral("edtPassenger"), QStringLiteral("ZHANG/SAN"));
    ASSERT_TRUE(desk.m_service.printDirect());
    ASSERT_TRUE(desk.waitForEnds(1));
    EXPECT_TRUE(desk.m_asked.isEmpty());

    desk.m_register->store().addRange(
        {1234500000, 1234500099, QStringLiteral("2026-12-01"), QStringLiteral("王芳")},
        QStringLiteral("柜台A"));
    desk.m_register->rangesChanged();
    const QString question = QStringLiteral("印刷序列为空，仍要打印吗？");

    // A blank box is no number either.
    desk.setSerialNumber(QStringLiteral("  "));
    EXPECT_FALSE(desk.m_service.printDirect());
    EXPECT_EQ(desk.m_asked, QStringList{question});
    EXPECT_EQ(desk.refusals(), QStringList{refusal(Refusal::NumberDeclined)});
    EXPECT_FALSE(desk.m_service.busy());
    EXPECT_EQ(desk.m_service.journal().rowCount(), 1);

    desk.m_printWithoutNumber = true;
    ASSERT_TRUE(desk.m_service.printDirect());
    ASSERT_TRUE(desk.waitForEnds(2));
    EXPECT_EQ(desk.ended(1).result, PrintOutcome::Result::Printed);
    EXPECT_EQ(desk.m_asked.size(), 2);

    const QStringList names = {QStringLiteral("陈大文"), QStringLiteral("陈小文")};
    ASSERT_TRUE(desk.m_service.printAll(
        {[&names] { return names; },
         [&desk, &names](int index) {
             desk.m_fields.setText(QStringLiteral("edtPassenger"), names.at(index));
         }}));
    ASSERT_TRUE(desk.waitForEnds(4));
    EXPECT_EQ(desk.ended(3).result, PrintOutcome::Result::Printed);
    EXPECT_EQ(desk.m_asked.size(), 3);
    EXPECT_EQ(desk.m_service.journal().rowCount(), 4);
    EXPECT_EQ(desk.m_service.journal().row(4).record.passenger, names.at(1));
}
