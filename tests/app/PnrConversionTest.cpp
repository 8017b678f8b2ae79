#include "AnsweredBoxes.h"
#include "app/MainWindow.h"
#include "app/SamplePnr.h"
#include "Strings.h"
#include "TempFolder.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString fixture(const char *name)
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/pnr/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class PnrConversionTest : public ::testing::Test
{
protected:
    PnrConversionTest()
    {
        FFolder.copyDeliveredLists();
        FWindow = std::make_unique<TfrmMain>(FFolder.path());
        FWindow->show();
    }

    void convert(const QString &display)
    {
        FWindow->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->setPlainText(display);
        FWindow->findChild<QPushButton *>(QStringLiteral("Button3"))->click();
    }

    QString text(const char *name) { return FWindow->fields().text(QString::fromLatin1(name)); }
    QComboBox *chooser() { return FWindow->findChild<QComboBox *>(QStringLiteral("cboPassenger")); }

    TempFolder FFolder;
    AnsweredBoxes FBoxes;
    std::unique_ptr<TfrmMain> FWindow;
};

TEST_F(PnrConversionTest, TheSampleFillsTheReceiptAndThePnrBoxKeepsItsText)
{
    FWindow->fields().setText(QStringLiteral("edtTicketNo"), QStringLiteral("OLD"));
    convert(samplePnrText());
    EXPECT_TRUE(FBoxes.shown().isEmpty());
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
    EXPECT_EQ(FWindow->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText(),
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
    FWindow->fields().setText(QStringLiteral("edtId"), QStringLiteral("TYPED"));
    Q_EMIT chooser()->activated(chooser()->currentIndex());
    EXPECT_EQ(text("edtId"), u8s(passengers[0].id));
}

TEST_F(PnrConversionTest, ASecondDisplayReplacesTheChoosersEntries)
{
    convert(fixture("round_trip.pnr"));
    convert(samplePnrText());
    ASSERT_EQ(chooser()->count(), 2);
    EXPECT_EQ(chooser()->itemText(0), u8s("张三"));
    EXPECT_EQ(chooser()->itemText(1), u8s("李四"));
}

} // namespace
