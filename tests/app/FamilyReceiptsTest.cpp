#include "AnsweredBoxes.h"
#include "PrivateCups.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "print/PrintJournal.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// A father with his daughter (a child's fare) and his baby on his lap (an
// infant's fare): three receipts, each with its own name, ticket and money,
// on screen and on paper.

namespace {

struct TFamilyMember
{
    const char *name;
    const char *ticket;
    const char *fare;
    const char *airportTax;
    const char *total;
};

// As the chooser lists them: the infant right after the adult who carries it.
const TFamilyMember family[] = {
    {"周建平", "9992361300781", "1250.00", "50.00", "1300.00"},
    {"周小宝INF", "9992361300783", "130.00", "EXEMPT", "130.00"},
    {"周小雨CHD", "9992361300782", "630.00", "EXEMPT", "630.00"},
};

class FamilyReceiptsTest : public ::testing::Test
{
protected:
    FamilyReceiptsTest()
    {
        FFolder.copyDeliveredLists();
        FWindow = std::make_unique<TfrmMain>(FFolder.path());
        FWindow->show();
        QFile display(QStringLiteral(KESTRANO_FIXTURES "/pnr/family_child_infant.pnr"));
        if (display.open(QIODevice::ReadOnly))
            FWindow->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))
                ->setPlainText(QString::fromUtf8(display.readAll()));
        FWindow->findChild<QPushButton *>(QStringLiteral("Button3"))->click();
    }

    QString text(const char *name) { return FWindow->fields().text(QString::fromLatin1(name)); }
    QComboBox *chooser() { return FWindow->findChild<QComboBox *>(QStringLiteral("cboPassenger")); }

    TempFolder FFolder;
    AnsweredBoxes FBoxes;
    std::unique_ptr<TfrmMain> FWindow;
};

TEST_F(FamilyReceiptsTest, EachChosenMemberShowsTheirOwnNameTicketAndMoney)
{
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
    EXPECT_TRUE(FBoxes.shown().isEmpty());
}

// "全部打印" puts three sheets to the printer, each with its member's total.
TEST_F(FamilyReceiptsTest, PrintAllPrintsEachMembersOwnMoney)
{
    SKIP_WITHOUT_PRINTER();
    FWindow->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440009000 5"));
    QSignalSpy ended(&FWindow->printing(), &TReportPrinting::jobEnded);
    FWindow->findChild<QPushButton *>(QStringLiteral("btnPrintAll"))->click();
    while (ended.size() < 3 && ended.wait(120000)) {
    }
    ASSERT_EQ(ended.size(), 3);
    EXPECT_TRUE(FBoxes.shown().isEmpty());

    QStringList totals;
    int pages = 0;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto outcome = ended.at(i).front().value<TPrintOutcome>();
        ASSERT_EQ(outcome.result, TPrintOutcome::Result::Printed);
        const QString document = documentOf(outcome.jobId);
        pages += pagesOf(document);
        const QString printed = textOf(document);
        EXPECT_TRUE(printed.contains(u8s(family[i].ticket))) << printed.toStdString();
        EXPECT_TRUE(printed.contains(u8s(family[i].total))) << printed.toStdString();
        const TPrintJournal::Row row = FWindow->printing().journal().row(i + 1);
        EXPECT_EQ(row.record.passenger, u8s(family[i].name));
        EXPECT_EQ(row.record.total, u8s(family[i].total));
        totals.append(row.record.total);
    }
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(totals, u8list({family[0].total, family[1].total, family[2].total}));
}

} // namespace
