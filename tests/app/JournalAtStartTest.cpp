#include "AnsweredBoxes.h"
#include "PrivateCups.h"
#include "TempFolder.h"
#include "app/JournalWindow.h"
#include "app/MainWindow.h"
#include "print/PrintJournal.h"

#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QTest>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QString handOverReason = QStringLiteral("程序在交出作业前结束");

// The print journal at start: the window shows first; the rows that an
// earlier run left "printing" are settled after its first paint, or sooner
// by whatever needs the journal first, and always before this run writes.
class JournalAtStartTest : public ::testing::Test
{
protected:
    JournalAtStartTest() { m_folder.copyDeliveredLists(); }

    // A row as a run leaves it that ended before the printer had its job.
    void leaveRowUnfinished(const QString &serialNumber) const
    {
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtSerNo"), serialNumber);
        PrintJournal(m_folder.path()).begin(ReceiptRecord::of(fields), QStringLiteral("PDF"));
    }

    static bool journalOpen() { return !QSqlDatabase::connectionNames().isEmpty(); }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
};

TEST_F(JournalAtStartTest, WithoutAJournalNothingIsOpenedOrCreated)
{
    MainWindow window(m_folder.path());
    QSignalSpy settled(&window.printing(), &PrintService::unfinishedJobsDone);
    window.show();
    ASSERT_TRUE(settled.wait(60000));
    EXPECT_FALSE(journalOpen());
    EXPECT_FALSE(m_folder.exists(PrintJournal::fileName()));
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

TEST_F(JournalAtStartTest, EarlierRowsAreSettledOnceTheWindowIsShown)
{
    leaveRowUnfinished(QStringLiteral("6660000100 3"));
    MainWindow window(m_folder.path());
    QSignalSpy settled(&window.printing(), &PrintService::unfinishedJobsDone);
    EXPECT_FALSE(journalOpen());

    window.show();
    ASSERT_TRUE(settled.wait(60000));
    const PrintJournal::Row row = window.printing().journal().row(1);
    EXPECT_EQ(row.outcome, PrintJournal::Outcome::Failed);
    EXPECT_EQ(row.reason, handOverReason);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// "打印记录" pressed before the window has painted: the window lists the rows
// while the earlier run's are being settled, not left behind.
TEST_F(JournalAtStartTest, TheJournalWindowOpenedFirstSettlesTheEarlierRows)
{
    leaveRowUnfinished(QStringLiteral("6660000100 3"));
    MainWindow window(m_folder.path());
    QSignalSpy settled(&window.printing(), &PrintService::unfinishedJobsDone);
    window.findChild<QPushButton *>(QStringLiteral("btnJournal"))->click();
    ASSERT_NE(window.journalWindow(), nullptr);

    ASSERT_TRUE(settled.count() > 0 || settled.wait(60000));
    EXPECT_EQ(window.printing().journal().row(1).outcome, PrintJournal::Outcome::Failed);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// A print pressed before the look-up has run: the earlier run's row is
// settled from what that run left, and this run's job, still waiting for the
// printer's answer, is never taken for one of an earlier run.
TEST_F(JournalAtStartTest, APrintBeforeTheFirstPaintKeepsItsOwnRowApart)
{
    SKIP_WITHOUT_PRINTER();
    leaveRowUnfinished(QStringLiteral("6660000100 3"));
    MainWindow window(m_folder.path());
    window.printing().setPrinterLookup([] { return QStringLiteral("PDF"); });
    window.fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("6660000101 4"));
    QSignalSpy settled(&window.printing(), &PrintService::unfinishedJobsDone);
    QSignalSpy ended(&window.printing(), &PrintService::jobEnded);

    window.findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
    // The window's own look-up, coming while the job runs, finds nothing
    // left to do.
    window.printing().completeUnfinishedRows();
    ASSERT_TRUE(ended.wait(120000));
    ASSERT_TRUE(settled.count() > 0 || settled.wait(60000));
    EXPECT_EQ(settled.count(), 1);

    PrintJournal &journal = window.printing().journal();
    const PrintJournal::Row earlier = journal.row(1);
    EXPECT_EQ(earlier.outcome, PrintJournal::Outcome::Failed);
    EXPECT_EQ(earlier.reason, handOverReason);
    const PrintJournal::Row printed = journal.row(2);
    EXPECT_EQ(printed.outcome, PrintJournal::Outcome::Printed) << printed.reason.toStdString();
    EXPECT_EQ(printed.record.serialNumber, QStringLiteral("6660000101 4"));
    EXPECT_EQ(printed.jobId, ended.front().front().value<PrintOutcome>().jobId);
    EXPECT_GT(printed.jobId, 0);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

} // namespace

namespace {

// A journal that is a link to a file anybody may read: the agent is told at
// start and at every print, no sheet goes out, and nothing reaches the file.
TEST_F(JournalAtStartTest, AJournalThatIsALinkRefusesEveryPrint)
{
    const TempFolder elsewhere;
    elsewhere.write(QStringLiteral("shared.db"), QByteArray());
    ASSERT_EQ(::symlink(QFile::encodeName(elsewhere.file(QStringLiteral("shared.db"))).constData(),
                        QFile::encodeName(m_folder.file(PrintJournal::fileName())).constData()),
              0);
    MainWindow window(m_folder.path());
    window.printing().setPrinterLookup([] { return QStringLiteral("PDF"); });
    window.fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("6660000101 4"));
    QSignalSpy settled(&window.printing(), &PrintService::unfinishedJobsDone);
    QSignalSpy ended(&window.printing(), &PrintService::jobEnded);
    window.show();
    QTRY_COMPARE_WITH_TIMEOUT(m_boxes.shown().size(), 1, 60000);

    window.findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
    ASSERT_EQ(m_boxes.shown().size(), 2);
    for (const MessageBox::Shown &box : m_boxes.shown()) {
        EXPECT_TRUE(box.text.contains(m_folder.file(PrintJournal::fileName())));
        EXPECT_TRUE(box.text.contains(QStringLiteral("它是一个链接")));
        EXPECT_TRUE(box.text.contains(QStringLiteral("在此之前不能打印")));
    }
    EXPECT_FALSE(ended.wait(500));
    EXPECT_EQ(window.fields().text(QStringLiteral("edtSerNo")), QStringLiteral("6660000101 4"));
    EXPECT_EQ(elsewhere.read(QStringLiteral("shared.db")), QByteArray());
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("shared.db")});
}

} // namespace
