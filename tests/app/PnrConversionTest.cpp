#include "AnsweredBoxes.h"
#include "DisplayItems.h"
#include "PrivateCups.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "app/SamplePnr.h"
#include "print/PrintJournal.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString fixture(const char *name)
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/pnr/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString fixtureWithout(const char *name, const QList<int> &items)
{
    return displayWithout(fixture(name), items);
}

// The round trip of two passengers with neither their tickets (items 9 to
// 12) nor the fare (item 15 and its continuation).
QString roundTripWithoutTicketsAndFare()
{
    return fixtureWithout("round_trip.pnr", {9, 10, 11, 12, 15});
}

class PnrConversionTest : public ::testing::Test
{
protected:
    PnrConversionTest()
    {
        m_folder.copyDeliveredLists();
        m_window = std::make_unique<MainWindow>(m_folder.path());
        m_window->show();
    }

    void convert(const QString &display)
    {
        m_window->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->setPlainText(display);
        m_window->findChild<QPushButton *>(QStringLiteral("Button3"))->click();
    }

    QString text(const char *name) { return m_window->fields().text(QString::fromLatin1(name)); }
    QComboBox *chooser()
    {
        return m_window->findChild<QComboBox *>(QStringLiteral("cboPassenger"));
    }
    QLabel *status() { return m_window->findChild<QLabel *>(QStringLiteral("lblStatus")); }
    QLineEdit *edit(const char *name)
    {
        return m_window->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    bool marked(const char *name)
    {
        return m_window->fields().isMarkedMissing(QString::fromLatin1(name));
    }
    // What a screen reader is told of the field besides its name.
    QString description(const char *name)
    {
        QAccessibleInterface *field = QAccessible::queryAccessibleInterface(edit(name));
        return field ? field->text(QAccessible::Description) : QString();
    }
    QColor background(const char *name) { return edit(name)->palette().color(QPalette::Base); }
    // The whole text of the status line is on screen, none of it cut off.
    bool statusReadable()
    {
        return status()->heightForWidth(status()->contentsRect().width()) <=
               status()->contentsRect().height();
    }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(PnrConversionTest, TheSampleFillsTheReceiptAndThePnrBoxKeepsItsText)
{
    m_window->fields().setText(QStringLiteral("edtTicketNo"), QStringLiteral("OLD"));
    convert(samplePnrText());
    EXPECT_TRUE(m_boxes.shown().isEmpty());
    EXPECT_EQ(text("edtFlight1"), QStringLiteral("MU5132"));
    EXPECT_EQ(text("cboAir1"), u8s("东航"));
    EXPECT_EQ(text("edtFrom1"), u8s("北京首都"));
    EXPECT_EQ(text("edtFrom2"), u8s("杭州"));
    EXPECT_EQ(text("edtBasts1"), QStringLiteral("Y"));
    EXPECT_EQ(text("edtTotal"), QStringLiteral("1910.00"));
    EXPECT_EQ(text("edtPnr"), QStringLiteral("XXXXXX"));
    EXPECT_EQ(text("edtPassenger"), u8s("张三"));
    EXPECT_EQ(text("edtTicketNo"), QString()); // emptied first
    EXPECT_EQ(chooser()->count(), 2);
    EXPECT_EQ(chooser()->currentText(), u8s("张三"));
    EXPECT_EQ(m_window->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText(),
              samplePnrText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

TEST_F(PnrConversionTest, ChoosingEachPassengerShowsTheirNameIdAndTicket)
{
    convert(fixture("round_trip.pnr"));
    ASSERT_EQ(chooser()->count(), 2);
    const struct
    {
        const char *name, *id, *ticket;
    } passengers[] = {{"李明", "110101198501012345", "7843217765011"},
                      {"赵晓燕", "370102199207153322", "7843217765012"}};
    EXPECT_EQ(text("edtPassenger"), u8s(passengers[0].name));
    for (int i : {0, 1, 0}) {
        if (chooser()->currentIndex() != i)
            QTest::keyClick(chooser(), i > chooser()->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
        EXPECT_EQ(chooser()->currentText(), u8s(passengers[i].name));
        EXPECT_EQ(text("edtPassenger"), u8s(passengers[i].name));
        EXPECT_EQ(text("edtId"), u8s(passengers[i].id));
        EXPECT_EQ(text("edtTicketNo"), u8s(passengers[i].ticket));
    }
    // Choosing the entry already shown puts it in again over typed text.
    m_window->fields().setText(QStringLiteral("edtId"), QStringLiteral("TYPED"));
    Q_EMIT chooser()->activated(chooser()->currentIndex());
    EXPECT_EQ(text("edtId"), u8s(passengers[0].id));
}

// A group of twelve, headed by its item 0: the chooser lists the twelve
// names, not the header, and each shows their own document and ticket.
TEST_F(PnrConversionTest, ChoosingEachPassengerOfAGroupShowsTheirOwnNameIdAndTicket)
{
    convert(fixture("group.pnr"));
    const char *const names[] = {"陈建华", "陈丽", "邓超", "范文", "高峰", "郭敏",
                                 "韩雪",   "何平", "胡军", "黄蓉", "江涛", "孔明"};
    const char *const ids[] = {"110101198001050001", "110101198002110002", "110101198003170003",
                               "110101198004230004", "110101198005290005", "110101198006040006",
                               "110101198007100007", "110101198008160008", "110101198009220009",
                               "110101198010280010", "110101198011030011", "110101198012090012"};
    ASSERT_EQ(chooser()->count(), 12);
    EXPECT_EQ(text("edtPnr"), QStringLiteral("KQ7X2M"));
    EXPECT_EQ(text("cboEndorsement"), u8s("不得签转/不得退票"));
    const auto expectShown = [&](int i) {
        const QString ticket = QStringLiteral("99923607001%1").arg(i + 1, 2, 10, QChar(u'0'));
        EXPECT_EQ(chooser()->currentText(), u8s(names[i]));
        EXPECT_EQ(text("edtPassenger"), u8s(names[i]));
        EXPECT_EQ(text("edtId"), QString::fromLatin1(ids[i]));
        EXPECT_EQ(text("edtTicketNo"), ticket);
    };
    expectShown(0);
    for (int i = 1; i < 12; ++i) {
        QTest::keyClick(chooser(), Qt::Key_Down);
        expectShown(i);
    }
    // Back up the list, and a jump to the first name.
    for (int i = 10; i >= 6; --i) {
        QTest::keyClick(chooser(), Qt::Key_Up);
        expectShown(i);
    }
    QTest::keyClick(chooser(), Qt::Key_Home);
    expectShown(0);
}

TEST_F(PnrConversionTest, ASecondDisplayReplacesTheChoosersEntries)
{
    convert(fixture("round_trip.pnr"));
    convert(samplePnrText());
    ASSERT_EQ(chooser()->count(), 2);
    EXPECT_EQ(chooser()->itemText(0), u8s("张三"));
    EXPECT_EQ(chooser()->itemText(1), u8s("李四"));
}

// A display without the tickets and the fare: the status line says what
// was read and what was not found, the fields left empty are marked on
// screen and for a screen reader, and each mark goes as its field is typed
// into. The serial number of the sheet in the printer stays.
TEST_F(PnrConversionTest, WhatTheDisplayLacksIsReportedAndMarkedUntilTyped)
{
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440009100 4"));
    m_window->fields().setText(QStringLiteral("edtTicketNo"), QStringLiteral("OLD"));
    const QColor unmarked = background("edtTicketNo");
    convert(roundTripWithoutTicketsAndFare());

    EXPECT_TRUE(m_boxes.shown().isEmpty());
    EXPECT_EQ(text("edtPassenger"), u8s("李明"));
    EXPECT_EQ(text("edtFlight2"), QStringLiteral("CZ3117"));
    EXPECT_EQ(status()->text(), u8s("已转换：2 位旅客，2 个航段；未找到：票号、票价、合计"));
    EXPECT_EQ(status()->toolTip(), status()->text());
    EXPECT_TRUE(statusReadable());
    EXPECT_EQ(text("edtSerNo"), QStringLiteral("4440009100 4"));
    EXPECT_EQ(text("edtCk"), QStringLiteral("9100"));

    const struct
    {
        const char *name;
        bool marked;
    } fields[] = {{"edtTicketNo", true}, {"edtFare", true}, {"edtTotal", true},
                  {"edtPassenger", false}, {"edtId", false}, {"edtFlight1", false},
                  {"edtSerNo", false}};
    for (const auto &field : fields) {
        SCOPED_TRACE(field.name);
        EXPECT_EQ(marked(field.name), field.marked);
        const QString name = QString::fromLatin1(field.name);
        EXPECT_EQ(description(field.name), field.marked ? name + u8s("（未找到，请填写）") : name);
        EXPECT_EQ(background(field.name) != unmarked, field.marked);
    }

    edit("edtTicketNo")->setFocus();
    QTest::keyClicks(edit("edtTicketNo"), QStringLiteral("7843217765011"));
    EXPECT_EQ(text("edtTicketNo"), QStringLiteral("7843217765011"));
    EXPECT_FALSE(marked("edtTicketNo"));
    EXPECT_EQ(description("edtTicketNo"), QStringLiteral("edtTicketNo"));
    EXPECT_EQ(background("edtTicketNo"), unmarked);
    EXPECT_TRUE(marked("edtFare"));
    EXPECT_EQ(description("edtFare"), u8s("edtFare（未找到，请填写）"));
    EXPECT_NE(background("edtFare"), unmarked);
    // The total keeps its red figures while marked.
    EXPECT_EQ(edit("edtTotal")->palette().color(QPalette::Text), QColor(Qt::red));
}

// A text that holds no booking at all: the report names every value, and
// the status line shows all of it.
TEST_F(PnrConversionTest, ALongReportIsShownWhole)
{
    convert(QStringLiteral("NO BOOKING HERE"));
    const QString report =
        u8s("已转换：0 位旅客，0 个航段；未找到：姓名、证件号码、票号、航班、票价、合计");
    EXPECT_EQ(status()->text().remove(u'\n'), report);
    EXPECT_EQ(status()->toolTip(), report);
    EXPECT_TRUE(statusReadable());
    for (const char *name : {"edtPassenger", "edtId", "edtTicketNo", "edtFlight1", "edtFare",
                             "edtTotal"})
        EXPECT_TRUE(marked(name)) << name;
}

// Another passenger may lack what the first had: choosing them marks and
// reports their receipt anew, and choosing back takes the marks away.
TEST_F(PnrConversionTest, ChoosingAnotherPassengerReportsTheirReceipt)
{
    // The second passenger's tickets are not in the display.
    convert(fixtureWithout("round_trip.pnr", {11, 12}));
    const QString read = u8s("已转换：2 位旅客，2 个航段");
    EXPECT_EQ(status()->text(), read);
    EXPECT_FALSE(marked("edtTicketNo"));

    const struct
    {
        int index;
        bool ticketMissing;
    } choices[] = {{1, true}, {0, false}, {1, true}};
    for (const auto &choice : choices) {
        SCOPED_TRACE(choice.index);
        chooser()->setCurrentIndex(choice.index);
        Q_EMIT chooser()->activated(choice.index);
        EXPECT_EQ(text("edtPassenger"), choice.index == 0 ? u8s("李明") : u8s("赵晓燕"));
        EXPECT_EQ(marked("edtTicketNo"), choice.ticketMissing);
        EXPECT_EQ(status()->text(), choice.ticketMissing ? read + u8s("；未找到：票号") : read);
        EXPECT_FALSE(marked("edtId"));
    }
}

// The serial number typed before the conversion is that of the sheet in the
// printer: it prints, and moves on once the sheet is out. The report stays
// in the status line beside "正在打印…".
TEST_F(PnrConversionTest, TheSerialNumberTypedBeforeAConversionPrintsAndMovesOn)
{
    SKIP_WITHOUT_PRINTER();
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440009100 4"));
    convert(roundTripWithoutTicketsAndFare());
    ASSERT_EQ(text("edtSerNo"), QStringLiteral("4440009100 4"));
    const QString report = status()->text();
    ASSERT_TRUE(report.startsWith(u8s("已转换：")));

    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    m_window->findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
    EXPECT_EQ(status()->text(), u8s("正在打印…\n") + report);
    EXPECT_TRUE(statusReadable());
    ASSERT_TRUE(ended.wait(120000));
    const auto outcome = ended.front().front().value<PrintOutcome>();
    ASSERT_EQ(outcome.result, PrintOutcome::Result::Printed) << outcome.reason.toStdString();
    EXPECT_TRUE(m_boxes.shown().isEmpty());
    EXPECT_TRUE(textOf(documentOf(outcome.jobId)).contains(QStringLiteral("4440009100")));
    EXPECT_EQ(m_window->printing().journal().row(1).record.serialNumber,
              QStringLiteral("4440009100 4"));
    EXPECT_TRUE(text("edtSerNo").startsWith(QStringLiteral("4440009101 "))) << text("edtSerNo").toStdString();
    EXPECT_EQ(text("edtCk"), QStringLiteral("9101"));
    EXPECT_EQ(status()->text(), report);
}

// A father with his daughter (a child's fare) and his baby on his lap (an
// infant's fare): three receipts, each with its own name, ticket and money,
// on screen and on paper.

struct FamilyMember
{
    const char *name;
    const char *ticket;
    const char *fare;
    const char *airportTax;
    const char *total;
};

// As the chooser lists them: the infant right after the adult who carries it.
const FamilyMember family[] = {
    {"周建平", "9992361300781", "1250.00", "50.00", "1300.00"},
    {"周小宝INF", "9992361300783", "130.00", "EXEMPT", "130.00"},
    {"周小雨CHD", "9992361300782", "630.00", "EXEMPT", "630.00"},
};

TEST_F(PnrConversionTest, EachChosenFamilyMemberShowsTheirOwnNameTicketAndMoney)
{
    convert(fixture("family_child_infant.pnr"));
    ASSERT_EQ(chooser()->count(), 3);
    for (int i : {0, 1, 2, 1, 0}) {
        SCOPED_TRACE(i);
        while (chooser()->currentIndex() != i)
            QTest::keyClick(chooser(), i > chooser()->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
        EXPECT_EQ(chooser()->currentText(), u8s(family[i].name));
        EXPECT_EQ(text("edtPassenger"), u8s(family[i].name));
        EXPECT_EQ(text("edtTicketNo"), u8s(family[i].ticket));
        EXPECT_EQ(text("edtFare"), u8s(family[i].fare));
        EXPECT_EQ(text("edtCAAC"), u8s(family[i].airportTax));
        EXPECT_EQ(text("edtYQ"), QStringLiteral("EXEMPT"));
        EXPECT_EQ(text("edtTotal"), u8s(family[i].total));
    }
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// "全部打印" puts three sheets to the printer, each with its member's total.
TEST_F(PnrConversionTest, PrintAllPrintsEachFamilyMembersOwnMoney)
{
    SKIP_WITHOUT_PRINTER();
    convert(fixture("family_child_infant.pnr"));
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440009000 5"));
    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    m_window->findChild<QPushButton *>(QStringLiteral("btnPrintAll"))->click();
    while (ended.size() < 3 && ended.wait(120000)) {
    }
    ASSERT_EQ(ended.size(), 3);
    EXPECT_TRUE(m_boxes.shown().isEmpty());

    QStringList totals;
    int pages = 0;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto outcome = ended.at(i).front().value<PrintOutcome>();
        ASSERT_EQ(outcome.result, PrintOutcome::Result::Printed);
        const QString document = documentOf(outcome.jobId);
        pages += pagesOf(document);
        const QString printed = textOf(document);
        EXPECT_TRUE(printed.contains(u8s(family[i].ticket))) << printed.toStdString();
        EXPECT_TRUE(printed.contains(u8s(family[i].total))) << printed.toStdString();
        const PrintJournal::Row row = m_window->printing().journal().row(i + 1);
        EXPECT_EQ(row.record.passenger, u8s(family[i].name));
        EXPECT_EQ(row.record.total, u8s(family[i].total));
        totals.append(row.record.total);
    }
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(totals, u8list({family[0].total, family[1].total, family[2].total}));
}

} // namespace
