#include "app/JournalWindow.h"
#include "AnsweredBoxes.h"
#include "PrivateCups.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "print/JournalModel.h"
#include "print/PrintJournal.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Outcome = PrintJournal::Outcome;

// Key by key, also characters that no key of the keyboard bears.
void type(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The main window over a journal of four prints, oldest first.
class JournalWindowTest : public ::testing::Test
{
protected:
    JournalWindowTest()
    {
        m_folder.copyDeliveredLists();
        m_window = std::make_unique<MainWindow>(m_folder.path());
        const struct
        {
            const char *serial;
            const char *passenger;
            const char *ticket;
            const char *fare;
            Outcome outcome;
        } prints[] = {
            {"1000000001 1", "张三", "7812990457001", "1860.00", Outcome::Printed},
            {"1000000002 2", "李四", "7812990457002", "500.00", Outcome::Failed},
            {"1000000003 3", "=WANG/WU", "7812990457003", "1,240.00", Outcome::Printed},
            {"1000000004 4", "陈大文", "7812990457004", "90.00", Outcome::Printed},
        };
        ItineraryFields source;
        source.setText(QStringLiteral("edtFlight1"), QStringLiteral("MU5101"));
        source.setText(QStringLiteral("edtFlight2"), QStringLiteral("CA1501"));
        source.setText(QStringLiteral("edtFrom1"), QStringLiteral("上海虹桥"));
        for (const auto &print : prints) {
            source.setText(QStringLiteral("edtSerNo"), QString::fromUtf8(print.serial));
            source.setText(QStringLiteral("edtPassenger"), QString::fromUtf8(print.passenger));
            source.setText(QStringLiteral("edtTicketNo"), QString::fromUtf8(print.ticket));
            source.setText(QStringLiteral("edtFare"), QString::fromUtf8(print.fare));
            const qint64 row = journal().begin(ReceiptRecord::of(source), QStringLiteral("PDF"));
            journal().finish(row, print.outcome);
        }
        m_window->show();
        m_window->findChild<QPushButton *>(QStringLiteral("btnJournal"))->click();
        m_journal = m_window->journalWindow();
    }

    PrintJournal &journal() { return m_window->printing().journal(); }

    QStringList column(int column) const
    {
        QStringList values;
        for (int row = 0; row < m_journal->model()->rowCount(); ++row)
            values.append(m_journal->model()->index(row, column).data().toString());
        return values;
    }

    void select(int row) { m_journal->table()->selectRow(row); }
    void press(const char *name)
    {
        m_journal->findChild<QPushButton *>(QString::fromLatin1(name))->click();
    }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
    std::unique_ptr<MainWindow> m_window;
    JournalWindow *m_journal = nullptr;
};

TEST_F(JournalWindowTest, ShowsTheRowsNewestFirst)
{
    ASSERT_NE(m_journal, nullptr);
    EXPECT_TRUE(m_journal->isVisible());
    EXPECT_EQ(m_journal->windowTitle(), QStringLiteral("打印记录"));
    QStringList headers;
    for (int c = 0; c < m_journal->model()->columnCount(); ++c)
        headers.append(m_journal->model()->headerData(c, Qt::Horizontal).toString());
    EXPECT_EQ(headers, QStringList({QStringLiteral("印刷序列"), QStringLiteral("时间"),
                                    QStringLiteral("旅客姓名"), QStringLiteral("票号"),
                                    QStringLiteral("航班"), QStringLiteral("合计"),
                                    QStringLiteral("结果")}));
    EXPECT_EQ(column(JournalModel::SerialNumber),
              QStringList({QStringLiteral("1000000004 4"), QStringLiteral("1000000003 3"),
                           QStringLiteral("1000000002 2"), QStringLiteral("1000000001 1")}));
    EXPECT_EQ(column(JournalModel::Outcome),
              QStringList({QStringLiteral("已打印"), QStringLiteral("已打印"),
                           QStringLiteral("失败"), QStringLiteral("已打印")}));
    EXPECT_EQ(m_journal->model()->index(0, JournalModel::Flights).data().toString(),
              QStringLiteral("MU5101 CA1501"));
    EXPECT_EQ(m_journal->model()->index(3, JournalModel::Total).data().toString(),
              QStringLiteral("1860.00"));
}

// Typing filters at once by serial number, ticket number or name.
TEST_F(JournalWindowTest, SearchFiltersAsOneTypes)
{
    auto *search = m_journal->findChild<QLineEdit *>(QStringLiteral("edtSearch"));
    const struct
    {
        const char *typed;
        QStringList serials;
    } cases[] = {
        {"李四", {QStringLiteral("1000000002 2")}},
        {"457003", {QStringLiteral("1000000003 3")}},
        {"0000001", {QStringLiteral("1000000001 1")}},
        {"wang", {QStringLiteral("1000000003 3")}},
        {"陈", {QStringLiteral("1000000004 4")}},
        {"%", {}},
        {"",
         {QStringLiteral("1000000004 4"), QStringLiteral("1000000003 3"),
          QStringLiteral("1000000002 2"), QStringLiteral("1000000001 1")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        search->clear();
        type(search, QString::fromUtf8(c.typed));
        EXPECT_EQ(column(JournalModel::SerialNumber), c.serials);
    }
}

// A spoiled sheet: the printed row becomes void with its reason and stays.
TEST_F(JournalWindowTest, VoidMarksAPrintedRowAndKeepsIt)
{
    int asked = 0;
    m_journal->setReasonPrompt([&](QWidget *) -> std::optional<QString> {
        ++asked;
        return QStringLiteral("卡纸");
    });
    select(1); // 1000000003 3, printed
    press("btnVoid");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(m_journal->model()->index(1, JournalModel::Outcome).data().toString(),
              QStringLiteral("已作废"));
    const PrintJournal::Row row = journal().row(3);
    EXPECT_EQ(row.outcome, Outcome::Voided);
    EXPECT_EQ(row.voidReason, QStringLiteral("卡纸"));
    EXPECT_EQ(journal().rowCount(), 4);

    // A failed row, or one already void, is no sheet to spoil.
    for (int r : {1, 2}) {
        select(r);
        press("btnVoid");
    }
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(m_boxes.shown().size(), 2);
    EXPECT_EQ(m_boxes.shown().back().text, QStringLiteral("只能作废已打印的记录。"));
    EXPECT_EQ(journal().row(2).outcome, Outcome::Failed);

    // Declining the reason changes nothing.
    m_journal->setReasonPrompt([](QWidget *) { return std::optional<QString>(); });
    select(0);
    press("btnVoid");
    EXPECT_EQ(journal().row(4).outcome, Outcome::Printed);
}

// A row whose end the print system could not tell is settled by the agent,
// who has the stock in hand: printed, or not printed at all.
TEST_F(JournalWindowTest, SettleGivesAnUnconfirmedRowTheAgentsWord)
{
    ItineraryFields source;
    for (const char *serial : {"1000000005 5", "1000000006 6"}) {
        source.setText(QStringLiteral("edtSerNo"), QString::fromLatin1(serial));
        const qint64 row = journal().begin(ReceiptRecord::of(source), QStringLiteral("PDF"));
        journal().finish(row, Outcome::Unconfirmed, QStringLiteral("打印系统中有多个同名作业"));
    }
    m_journal->refresh();
    EXPECT_EQ(column(JournalModel::Outcome).mid(0, 2),
              QStringList({QStringLiteral("未确认"), QStringLiteral("未确认")}));

    QStringList asked;
    std::optional<bool> answer;
    m_journal->setSettlementPrompt([&](QWidget *, const QString &serial) {
        asked.append(serial);
        return answer;
    });
    const struct
    {
        int row;
        std::optional<bool> printed;
        Outcome outcome;
        const char *reason;
    } cases[] = {{0, std::nullopt, Outcome::Unconfirmed, "打印系统中有多个同名作业"},
                 {0, true, Outcome::Printed, "经人工确认已打印"},
                 {1, false, Outcome::Failed, "经人工确认未打印"}};
    for (const auto &c : cases) {
        answer = c.printed;
        select(c.row);
        press("btnSettle");
        const PrintJournal::Row row = journal().row(6 - c.row);
        EXPECT_EQ(row.outcome, c.outcome);
        EXPECT_EQ(row.reason, QString::fromUtf8(c.reason));
    }
    EXPECT_EQ(asked, QStringList({QStringLiteral("1000000006 6"), QStringLiteral("1000000006 6"),
                                  QStringLiteral("1000000005 5")}));
    EXPECT_EQ(column(JournalModel::Outcome).mid(0, 2),
              QStringList({QStringLiteral("已打印"), QStringLiteral("失败")}));

    // A row whose end is known is not the agent's to change.
    select(0);
    press("btnSettle");
    EXPECT_EQ(asked.size(), 3);
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().back().text, QStringLiteral("只有未确认的记录需要确认结果。"));
}

// The receipt comes back for a reprint on the next sheet: its values, with
// the serial number of the sheet in the tray.
TEST_F(JournalWindowTest, LoadPutsTheReceiptBackOnTheNextNumber)
{
    ItineraryFields &fields = m_window->fields();
    fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1000000005 5"));
    fields.setText(QStringLiteral("edtPassenger"), QStringLiteral("SOMEONE/ELSE"));
    select(3); // 1000000001 1
    press("btnLoad");
    EXPECT_EQ(fields.text(QStringLiteral("edtPassenger")), QStringLiteral("张三"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTicketNo")), QStringLiteral("7812990457001"));
    EXPECT_EQ(fields.text(QStringLiteral("edtFlight2")), QStringLiteral("CA1501"));
    EXPECT_EQ(fields.text(QStringLiteral("edtFrom1")), QStringLiteral("上海虹桥"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("1860.00"));
    EXPECT_EQ(fields.text(QStringLiteral("edtSerNo")), QStringLiteral("1000000005 5"));
    EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("0005"));
}

// The rows shown, as a spreadsheet reads them: UTF-8 with a byte order mark,
// quoted where needed, a formula-like name kept as text.
TEST_F(JournalWindowTest, ExportWritesTheShownRowsAsCsv)
{
    const QString path = m_folder.file(QStringLiteral("记录.csv"));
    m_journal->setPathPrompt([&](QWidget *) { return path; });
    type(m_journal->findChild<QLineEdit *>(QStringLiteral("edtSearch")), QStringLiteral("0000"));
    press("btnExport");
    EXPECT_TRUE(m_boxes.shown().isEmpty());

    const QByteArray bytes = m_folder.read(QStringLiteral("记录.csv"));
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("印刷序列,时间,旅客姓名,票号,航班,合计,结果"));
    const QStringList newest = lines[1].split(u',');
    ASSERT_EQ(newest.size(), 7);
    EXPECT_EQ(newest[0], QStringLiteral("1000000004 4"));
    EXPECT_EQ(newest[2], QStringLiteral("陈大文"));
    EXPECT_EQ(newest[3], QStringLiteral("7812990457004"));
    EXPECT_EQ(newest[4], QStringLiteral("MU5101 CA1501"));
    EXPECT_EQ(newest[6], QStringLiteral("已打印"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1000000003 3,")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral(",'=WANG/WU,")));

    // Only the rows the search shows.
    m_journal->findChild<QLineEdit *>(QStringLiteral("edtSearch"))->setText(QStringLiteral("李四"));
    press("btnExport");
    const QStringList one = QString::fromUtf8(m_folder.read(QStringLiteral("记录.csv")).mid(3))
                                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(one.size(), 2);
    EXPECT_TRUE(one[1].startsWith(QStringLiteral("1000000002 2,")));
}

// A print that ends while the window is open shows up in it.
TEST_F(JournalWindowTest, FollowsThePrints)
{
    SKIP_WITHOUT_PRINTER();
    m_window->printing().setPrinterLookup([] { return QStringLiteral("Paused"); });
    EXPECT_EQ(m_journal->model()->rowCount(), 4);
    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    m_window->findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
    ASSERT_TRUE(ended.wait(120000));
    EXPECT_EQ(m_journal->model()->rowCount(), 5);
    EXPECT_EQ(m_journal->model()->index(0, JournalModel::Outcome).data().toString(),
              QStringLiteral("失败"));
}

} // namespace
