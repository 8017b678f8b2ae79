#include "app/StockWindow.h"
#include "AnsweredBoxes.h"
#include "PrivateCups.h"
#include "TempFolder.h"
#include "app/JournalWindow.h"
#include "app/MainWindow.h"
#include "print/PrintJournal.h"
#include "settings/Settings.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Outcome = PrintJournal::Outcome;

// The main window over a journal of this desk's prints of one range: five
// printed, one voided, one number skipped.
class StockWindowTest : public ::testing::Test
{
protected:
    StockWindowTest()
    {
        m_folder.copyDeliveredLists();
        m_window = std::make_unique<MainWindow>(m_folder.path());
        ItineraryFields source;
        for (int n : {0, 1, 2, 3, 4, 6}) {
            source.setText(QStringLiteral("edtSerNo"), QStringLiteral("123450000%1 5").arg(n));
            source.setText(QStringLiteral("edtPassenger"), QStringLiteral("旅客%1").arg(n));
            PrintJournal &journal = m_window->printing().journal();
            const qint64 row = journal.begin(ReceiptRecord::of(source), QStringLiteral("PDF"));
            journal.finish(row, Outcome::Printed);
            if (n == 4)
                journal.voidRow(row, QStringLiteral("卡纸"));
        }
        m_window->show();
        m_window->findChild<QPushButton *>(QStringLiteral("btnJournal"))->click();
        QPushButton *stock =
            m_window->journalWindow()->findChild<QPushButton *>(QStringLiteral("btnStock"));
        EXPECT_TRUE(stock && stock->isVisible());
        if (stock)
            stock->click();
        m_stock = m_window->stockWindow();
    }

    template <typename T> T *child(const char *name) const
    {
        return m_stock->findChild<T *>(QString::fromLatin1(name));
    }

    void receive(const QString &first, const QString &last)
    {
        child<QLineEdit>("edtFirst")->setText(first);
        child<QLineEdit>("edtLast")->setText(last);
        child<QLineEdit>("edtReceivedBy")->setText(QStringLiteral("王芳"));
        child<QPushButton>("btnAddRange")->click();
    }

    QStringList rangeRow(int row) const
    {
        QStringList cells;
        for (int column = 0; column < m_stock->rangeTable()->columnCount(); ++column)
            cells.append(m_stock->rangeTable()->item(row, column)->text());
        return cells;
    }

    TempFolder m_folder;
    std::unique_ptr<MainWindow> m_window;
    StockWindow *m_stock = nullptr;
};

} // namespace

// A range received is listed with the state of its numbers, and opened
// number by number; one overlapping it is refused in a box.
TEST_F(StockWindowTest, ARangeReceivedIsListedWithItsNumbers)
{
    ASSERT_TRUE(m_stock);
    EXPECT_EQ(m_stock->windowTitle(), QStringLiteral("票证管理"));
    EXPECT_EQ(m_stock->rangeTable()->rowCount(), 0);
    receive(QStringLiteral("1234500000"), QStringLiteral("1234500099"));
    ASSERT_EQ(m_stock->rangeTable()->rowCount(), 1);
    EXPECT_EQ(rangeRow(0), (QStringList{QStringLiteral("1234500000"), QStringLiteral("1234500099"),
                                        QDate::currentDate().toString(Qt::ISODate),
                                        QStringLiteral("王芳"), QStringLiteral("100"),
                                        QStringLiteral("5"), QStringLiteral("1"),
                                        QStringLiteral("93"), QStringLiteral("1")}));

    child<QPushButton>("btnNumbers")->click();
    const QAbstractItemModel *numbers = m_stock->numberTable()->model();
    ASSERT_EQ(numbers->rowCount(), 8);
    const auto cell = [&](int row, int column) { return numbers->index(row, column).data().toString(); };
    EXPECT_EQ(cell(4, 1), QStringLiteral("已作废"));
    EXPECT_EQ(cell(5, 0), QStringLiteral("1234500005"));
    EXPECT_EQ(cell(5, 1), QStringLiteral("缺号"));
    EXPECT_EQ(cell(6, 4), QStringLiteral("旅客6"));
    EXPECT_EQ(cell(7, 0), QStringLiteral("1234500007–1234500099"));
    EXPECT_EQ(cell(7, 1), QStringLiteral("未用（93 张）"));

    AnsweredBoxes boxes;
    receive(QStringLiteral("1234500050"), QStringLiteral("1234500150"));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().front().text,
              QStringLiteral("这个号段与已领用的号段 1234500000–1234500099 重叠。"));
    EXPECT_EQ(m_stock->rangeTable()->rowCount(), 1);
    // What was typed stays for the agent to mend.
    EXPECT_EQ(child<QLineEdit>("edtFirst")->text(), QStringLiteral("1234500050"));
}

// The reconciliation of the selected range goes to a CSV file and, on plain
// A4 paper, to the printer; no serial number moves for it.
TEST_F(StockWindowTest, TheReconciliationIsExportedAndPrinted)
{
    SKIP_WITHOUT_PRINTER();
    ASSERT_TRUE(m_stock);
    receive(QStringLiteral("1234500000"), QStringLiteral("1234500099"));
    const QString csv = m_folder.file(QStringLiteral("核销表.csv"));
    m_stock->setPathPrompt([&](QWidget *) { return csv; });
    child<QPushButton>("btnExportAccount")->click();
    const QString text = QString::fromUtf8(m_folder.read(QStringLiteral("核销表.csv")));
    EXPECT_TRUE(text.contains(QStringLiteral("核销表,号段 1234500000–1234500099\r\n已打印,5\r\n已作废,1\r\n缺号,1\r\n未用,93\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("1234500005,缺号\r\n")));

    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("1234500007 5"));
    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    child<QPushButton>("btnPrintAccount")->click();
    ASSERT_TRUE(ended.wait(120000));
    const PrintOutcome outcome = ended.front().front().value<PrintOutcome>();
    ASSERT_EQ(outcome.result, PrintOutcome::Result::Printed) << outcome.reason.toStdString();
    const QString page = textOf(documentOf(outcome.jobId));
    for (const char *expected : {"行程单核销表", "号段 1234500000–1234500099", "已打印 5 张",
                                 "已作废 1 张", "缺号 1 张", "未用 93 张", "1234500005", "旅客6",
                                 "卡纸"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(pagesOf(documentOf(outcome.jobId)), 1);
    EXPECT_EQ(m_window->fields().text(QStringLiteral("edtSerNo")), QStringLiteral("1234500007 5"));
    EXPECT_EQ(m_window->printing().journal().rowCount(), 6);

    // A period: what was printed today.
    child<QRadioButton>("rdoPeriod")->setChecked(true);
    EXPECT_EQ(m_stock->reconciliation().printed.size(), 5u);
}

// The window asks before a used number goes to paper, "否" the default.
TEST(MainWindowRegister, AUsedNumberIsAskedAboutInAYesNoBox)
{
    SKIP_WITHOUT_PRINTER();
    TempFolder folder;
    folder.copyDeliveredLists();
    MainWindow window(folder.path());
    PrintJournal &journal = window.printing().journal();
    ItineraryFields source;
    source.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234500001 5"));
    journal.finish(journal.begin(ReceiptRecord::of(source), QStringLiteral("PDF")),
                   Outcome::Printed);
    const QString printedAt = journal.row(1).time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));

    window.fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("1234500001 5"));
    AnsweredBoxes boxes(false);
    window.printDirect();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().front().kind, MessageBox::Kind::YesNo);
    EXPECT_EQ(boxes.shown().front().text,
              QStringLiteral("印刷序列 1234500001 5 已于 %1 在 %2 打印。仍要打印吗？")
                  .arg(printedAt, Settings::defaultDesk()));
    EXPECT_FALSE(window.printing().busy());
    EXPECT_EQ(journal.rowCount(), 1);
}

// With a register the desk cannot reach, the window says so in its status
// line, with the reason as its tip, and stays usable.
TEST(MainWindowRegister, AnUnreachableServerIsShownInTheStatusLine)
{
    TempFolder folder;
    folder.copyDeliveredLists();
    folder.write(QStringLiteral("vantrel_cof.ini"),
                 "[COF]\r\nregister=postgresql://postgres@127.0.0.1:1/kestrano\r\n");
    MainWindow window(folder.path());
    window.show();
    const QLabel *status = window.findChild<QLabel *>(QStringLiteral("lblStatus"));
    ASSERT_TRUE(status);
    // What a server or another desk wrote never renders as markup there.
    EXPECT_EQ(status->textFormat(), Qt::PlainText);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return status->text() == QStringLiteral("登记服务器不可用，0 条待上传"); }, 20000))
        << status->text().toStdString();
    EXPECT_TRUE(status->toolTip().startsWith(QStringLiteral("无法连接登记服务器 127.0.0.1:1/kestrano：")))
        << status->toolTip().toStdString();
}
