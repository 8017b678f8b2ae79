#include "AnsweredBoxes.h"
#include "PrivateCups.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "app/PreviewWindow.h"
#include "print/PrintJournal.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

class PrintButtonsTest : public ::testing::Test
{
protected:
    PrintButtonsTest()
    {
        m_folder.copyDeliveredLists();
        m_window = std::make_unique<MainWindow>(m_folder.path());
        ItineraryFields &fields = m_window->fields();
        fields.setText(QStringLiteral("edtPassenger"), QStringLiteral("ZHANG/SAN"));
        fields.setText(QStringLiteral("edtFlight1"), QStringLiteral("MU5132"));
        fields.setText(QStringLiteral("edtFare"), QStringLiteral("1860.00"));
    }

    QPushButton *button(const char *name)
    {
        return m_window->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    void press(const char *name) { button(name)->click(); }

    QString text(const char *name) { return m_window->fields().text(QString::fromLatin1(name)); }
    QString status() { return m_window->findChild<QLabel *>(QStringLiteral("lblStatus"))->text(); }

    PrintJournal &journal() { return m_window->printing().journal(); }

    PreviewWindow *openPreview()
    {
        press("btnReport");
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<PreviewWindow *>(top); window && window->isVisible())
                return window;
        }
        return nullptr;
    }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
    std::unique_ptr<MainWindow> m_window;
};

// While the job runs the window stays usable, says so in its status line and
// takes no second print; the numbers move on when the sheet is out.
TEST_F(PrintButtonsTest, DirectPrintWaitsForTheSheetWhileTheWindowStaysUsable)
{
    SKIP_WITHOUT_PRINTER();
    m_window->show();
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440000999 6"));
    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    press("btnPrint");

    EXPECT_EQ(status(), QStringLiteral("正在打印…"));
    EXPECT_FALSE(button("btnPrint")->isEnabled());
    EXPECT_FALSE(button("btnPrintAll")->isEnabled());
    EXPECT_TRUE(m_window->isEnabled());
    EXPECT_EQ(text("edtSerNo"), QStringLiteral("4440000999 6"));
    m_window->fields().setText(QStringLiteral("edtFare"), QStringLiteral("100"));
    EXPECT_EQ(text("edtTotal"), QStringLiteral("100.00"));

    ASSERT_TRUE(ended.wait(120000));
    const auto outcome = ended.front().front().value<PrintOutcome>();
    EXPECT_EQ(outcome.result, PrintOutcome::Result::Printed) << outcome.reason.toStdString();
    EXPECT_TRUE(m_boxes.shown().isEmpty());
    EXPECT_EQ(pagesOf(documentOf(outcome.jobId)), 1);
    EXPECT_TRUE(textOf(documentOf(outcome.jobId)).contains(QStringLiteral("4440000999")));
    EXPECT_EQ(text("edtSerNo"), QStringLiteral("4440001000 0"));
    EXPECT_EQ(text("edtCk"), QStringLiteral("1000"));
    EXPECT_TRUE(status().isEmpty());
    EXPECT_TRUE(button("btnPrint")->isEnabled());
    EXPECT_EQ(journal().row(journal().rowCount()).outcome, PrintJournal::Outcome::Printed);
}

TEST_F(PrintButtonsTest, WithoutADefaultPrinterAMessageSaysSo)
{
    m_window->printing().setPrinterLookup([] { return QString(); });
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440000999 6"));
    press("btnPrint");
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().front().text, QStringLiteral("没有默认打印机，无法打印。"));
    EXPECT_EQ(text("edtSerNo"), QStringLiteral("4440000999 6"));
    EXPECT_EQ(text("edtCk"), QStringLiteral("0999"));
    EXPECT_TRUE(status().isEmpty());
    EXPECT_EQ(journal().rowCount(), 0);
}

TEST_F(PrintButtonsTest, PreviewOpensItsOwnWindowAndLeavesTheMainWindowUsable)
{
    m_window->printing().setPrinterLookup([] { return QString(); });
    m_window->show();
    press("btnReport");
    PreviewWindow *preview = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<PreviewWindow *>(top); window && window->isVisible())
            preview = window;
    }
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("预览"));
    EXPECT_FALSE(preview->isModal());
    EXPECT_TRUE(m_window->isEnabled());
    m_window->fields().setText(QStringLiteral("edtFare"), QStringLiteral("100"));
    EXPECT_EQ(text("edtTotal"), QStringLiteral("100.00"));
}

// "全部打印": one receipt per passenger, in the chooser's order, each on the
// next serial number and each sent after the one before has printed.
TEST_F(PrintButtonsTest, PrintAllGivesEachPassengerTheNextSheet)
{
    SKIP_WITHOUT_PRINTER();
    m_window->passengers().setEntries(
        {{QStringLiteral("陈大文"),
          {QStringLiteral("310101197506062211"), QStringLiteral("7812990457001")}},
         {QStringLiteral("陈小文"),
          {QStringLiteral("310101200309090012"), QStringLiteral("7812990457002")}},
         {QStringLiteral("PETERSEN/ANNA MS"),
          {QStringLiteral("208816537"), QStringLiteral("7812990457004")}}});
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440007000 1"));
    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    press("btnPrintAll");
    while (ended.size() < 3 && ended.wait(120000)) {
    }
    ASSERT_EQ(ended.size(), 3);
    EXPECT_TRUE(m_boxes.shown().isEmpty());

    const struct
    {
        const char *serial;
        const char *passenger;
        const char *ticket;
    } expected[] = {{"4440007000 1", "陈大文", "7812990457001"},
                    {"4440007001 2", "陈小文", "7812990457002"},
                    {"4440007002 3", "PETERSEN/ANNA MS", "7812990457004"}};
    int pages = 0;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto outcome = ended.at(i).front().value<PrintOutcome>();
        EXPECT_EQ(outcome.result, PrintOutcome::Result::Printed);
        pages += pagesOf(documentOf(outcome.jobId));
        const QString printed = textOf(documentOf(outcome.jobId));
        EXPECT_TRUE(printed.contains(QString::fromUtf8(expected[i].serial)));
        EXPECT_TRUE(printed.contains(QString::fromUtf8(expected[i].ticket)));
        const PrintJournal::Row row = journal().row(i + 1);
        EXPECT_EQ(row.jobId, outcome.jobId);
        EXPECT_EQ(row.outcome, PrintJournal::Outcome::Printed);
        EXPECT_EQ(row.record.serialNumber, QString::fromUtf8(expected[i].serial));
        EXPECT_EQ(row.record.passenger, QString::fromUtf8(expected[i].passenger));
        EXPECT_EQ(row.record.ticketNumber, QString::fromUtf8(expected[i].ticket));
    }
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(text("edtSerNo"), QStringLiteral("4440007003 4"));
}

// The series stops at the first sheet that does not print and says who is
// left without a receipt.
TEST_F(PrintButtonsTest, PrintAllStopsAtTheFirstFailure)
{
    SKIP_WITHOUT_PRINTER();
    m_window->printing().setPrinterLookup([] { return QStringLiteral("Broken"); });
    m_window->passengers().setEntries(
        {{QStringLiteral("陈大文"), {}}, {QStringLiteral("陈小文"), {}}});
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440008000 1"));
    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    press("btnPrintAll");
    ASSERT_TRUE(ended.wait(120000));
    // The failed job's end is handled in full before the wait returns: no
    // second job was sent.
    EXPECT_FALSE(m_window->printing().busy());
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_TRUE(m_boxes.shown().front().text.startsWith(QStringLiteral("打印失败：Broken：")));
    EXPECT_TRUE(
        m_boxes.shown().front().text.contains(QStringLiteral("未打印的旅客：陈大文、陈小文")))
        << m_boxes.shown().front().text.toStdString();
    EXPECT_EQ(text("edtSerNo"), QStringLiteral("4440008000 1"));
    EXPECT_EQ(journal().rowCount(), 1);
}

// Once stock ranges are recorded, a receipt without a serial number is a
// sheet no reconciliation accounts for: every way to paper asks first, "否"
// the default, and "全部打印" asks once for the whole series. Without ranges
// it prints unasked, as it always has.
TEST_F(PrintButtonsTest, AnEmptySerialNumberIsAskedAboutOnceStockIsRecorded)
{
    SKIP_WITHOUT_PRINTER();
    m_window->show();
    ASSERT_TRUE(text("edtSerNo").isEmpty());
    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    press("btnPrint");
    ASSERT_TRUE(ended.wait(120000));
    EXPECT_TRUE(m_boxes.shown().isEmpty());
    ASSERT_EQ(journal().rowCount(), 1);

    m_window->numberRegister().store().addRange(
        {1234500000, 1234500099, QStringLiteral("2026-12-01"), QStringLiteral("王芳")},
        QStringLiteral("柜台A"));
    m_window->numberRegister().rangesChanged();
    m_window->passengers().setEntries(
        {{QStringLiteral("陈大文"),
          {QStringLiteral("310101197506062211"), QStringLiteral("7812990457001")}},
         {QStringLiteral("陈小文"),
          {QStringLiteral("310101200309090012"), QStringLiteral("7812990457002")}}});
    PreviewWindow *preview = openPreview();
    ASSERT_NE(preview, nullptr);
    QToolButton *previewPrint = preview->findChild<QToolButton *>(QStringLiteral("Print"));
    ASSERT_NE(previewPrint, nullptr);

    const struct
    {
        const char *way;
        std::function<void()> print;
        int sheets;
    } ways[] = {
        {"直接打印", [this] { press("btnPrint"); }, 1},
        {"全部打印", [this] { press("btnPrintAll"); }, 2},
        {"预览的打印", [previewPrint] { previewPrint->click(); }, 1},
    };
    bool answer = false;
    QList<MessageBox::Shown> asked;
    MessageBox::setResponder([&](const MessageBox::Shown &box) {
        asked.append(box);
        return answer;
    });
    qsizetype rows = journal().rowCount();
    for (const auto &way : ways) {
        for (const bool yes : {false, true}) {
            SCOPED_TRACE(std::string(way.way) + (yes ? " 是" : " 否"));
            asked.clear();
            answer = yes;
            ended.clear();
            way.print();
            ASSERT_EQ(asked.size(), 1);
            EXPECT_EQ(asked.front().kind, MessageBox::Kind::YesNo);
            EXPECT_EQ(asked.front().text, QStringLiteral("印刷序列为空，仍要打印吗？"));
            if (yes) {
                while (ended.size() < way.sheets && ended.wait(120000)) {
                }
                ASSERT_EQ(ended.size(), way.sheets);
                for (const QList<QVariant> &end : ended)
                    EXPECT_EQ(end.front().value<PrintOutcome>().result,
                              PrintOutcome::Result::Printed);
                rows += way.sheets;
            }
            EXPECT_FALSE(m_window->printing().busy());
            EXPECT_EQ(journal().rowCount(), rows);
            // The one question was all: no message, no second question.
            EXPECT_EQ(asked.size(), 1);
            EXPECT_TRUE(text("edtSerNo").isEmpty());
        }
    }
}

} // namespace
