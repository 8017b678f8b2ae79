#include "app/MainWindow.h"
#include "AnsweredBoxes.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/SamplePnr.h"
#include "itinerary/FieldTable.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A window started in a folder of its own with the delivered lists.
class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest()
    {
        m_folder.copyDeliveredLists();
        m_window = std::make_unique<MainWindow>(m_folder.path());
    }

    template <typename W> W *control(const char *name)
    {
        W *found = m_window->findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(MainWindowTest, HasTheCaptionSizeAndEveryNamedControl)
{
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Kestrano"));
    EXPECT_EQ(m_window->size(), QSize(911, 620));
    for (const FieldSpec &spec : itineraryFieldTable()) {
        QWidget *widget = m_window->findChild<QWidget *>(spec.name);
        ASSERT_NE(widget, nullptr) << spec.name.toStdString();
        EXPECT_EQ(widget->accessibleDescription(), spec.name);
        EXPECT_EQ(widget->accessibleName(), spec.accessibleName());
    }
    EXPECT_EQ(control<QWidget>("edtSeat3")->accessibleName(), u8s("座位等级 CLASS 3"));
    EXPECT_FALSE(control<QWidget>("edtFlight1")->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(control<QWidget>("edtCode")->testAttribute(Qt::WA_InputMethodEnabled));

    const struct
    {
        const char *name;
        const char *caption;
        bool enabled;
    } buttons[] = {{"Button2", "提取信息", true},   {"Button3", "PNR信息转", true},
                   {"Button4", "清除", true},       {"Button8", "示例", true},
                   {"btnReport", "打印预览", true}, {"btnPrint", "直接打印", true},
                   {"Button6", "设置", true}};
    for (const auto &b : buttons) {
        auto *button = control<QPushButton>(b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), u8s(b.caption));
        EXPECT_EQ(button->accessibleName(), u8s(b.caption));
        EXPECT_EQ(button->isEnabled(), b.enabled) << b.name;
    }
    EXPECT_EQ(control<QCheckBox>("chkGuowai")->text(), u8s("打印国际"));
}

TEST_F(MainWindowTest, TypedLettersAreShownInUpperCaseWhereTheReceiptHoldsThem)
{
    m_window->show();
    QTest::keyClicks(control<QLineEdit>("edtFlight1"), QStringLiteral("mu5132"));
    EXPECT_EQ(control<QLineEdit>("edtFlight1")->text(), QStringLiteral("MU5132"));
    EXPECT_EQ(m_window->fields().text(QStringLiteral("edtFlight1")), QStringLiteral("MU5132"));

    QTest::keyClicks(control<QComboBox>("cboAir1")->lineEdit(), QStringLiteral("mu"));
    EXPECT_EQ(control<QComboBox>("cboAir1")->currentText(), QStringLiteral("MU"));

    QTest::keyClicks(control<QComboBox>("edtInformation")->lineEdit(), QStringLiteral("keep me"));
    EXPECT_EQ(m_window->fields().text(QStringLiteral("edtInformation")), QStringLiteral("keep me"));

    QTest::keyClicks(control<QLineEdit>("Edit2"), QStringLiteral("zhang"));
    EXPECT_EQ(m_window->fields().text(QStringLiteral("Edit2")), QStringLiteral("zhang"));

    // Typing an amount runs the total, as any other write would.
    QTest::keyClicks(control<QLineEdit>("edtFare"), QStringLiteral("1860.00"));
    EXPECT_EQ(control<QLineEdit>("edtTotal")->text(), QStringLiteral("1860.00"));
}

TEST_F(MainWindowTest, TheModelsWritesAppearInTheControls)
{
    ItineraryFields &fields = m_window->fields();
    fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890 3"));
    EXPECT_EQ(control<QLineEdit>("edtCk")->text(), QStringLiteral("7890"));
    fields.setPickList(QStringLiteral("cboIssueBy"), u8list({"甲", "乙"}));
    fields.setText(QStringLiteral("cboIssueBy"), u8s("丙"));
    auto *issuedBy = control<QComboBox>("cboIssueBy");
    EXPECT_EQ(issuedBy->count(), 2);
    EXPECT_EQ(issuedBy->currentText(), u8s("丙"));
    fields.setPassengerEntries(u8list({"张三", "李四"}));
    fields.setPassengerIndex(1);
    EXPECT_EQ(control<QComboBox>("cboPassenger")->currentText(), u8s("李四"));
}

TEST_F(MainWindowTest, TheInternationalSwitchShowsTheMarkAndEmptiesTheSurcharge)
{
    m_window->show();
    auto *mark = control<QLineEdit>("edtGuowai");
    EXPECT_FALSE(mark->isVisible());
    control<QCheckBox>("chkGuowai")->click();
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->text(), u8s("国际(I)"));
    EXPECT_EQ(control<QLineEdit>("edtYQ")->text(), QString());
    control<QCheckBox>("chkGuowai")->click();
    EXPECT_FALSE(mark->isVisible());
    EXPECT_EQ(control<QLineEdit>("edtYQ")->text(), QString());
}

TEST_F(MainWindowTest, SampleShowsTheFifteenLinesAndLeavesThePnrBox)
{
    control<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("RT ABC123"));
    control<QPushButton>("Button8")->click();
    ASSERT_EQ(m_boxes.shown().size(), 1);
    const MessageBox::Shown &box = m_boxes.shown().front();
    EXPECT_EQ(box.kind, MessageBox::Kind::Plain);
    EXPECT_EQ(box.caption, QStringLiteral("Kestrano"));
    const QStringList lines = box.text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines.last(), QString());
    EXPECT_EQ(lines[0], QStringLiteral("RTXXXXXX "));
    EXPECT_EQ(lines[3],
              QStringLiteral("3.  MU5132 Y   WE26AUG  PEKHGH RR2   1055 1315          E T2-- "));
    EXPECT_EQ(lines[9], QStringLiteral(">pn"));
    EXPECT_EQ(lines[12], QStringLiteral("  ACNY1910.00  "));
    EXPECT_EQ(lines[14], QStringLiteral("12.BJSXXX "));
    EXPECT_EQ(m_window->fields().text(QStringLiteral("Memo1")), QStringLiteral("RT ABC123"));
}

TEST_F(MainWindowTest, ClearEmptiesOnlyThePnrBox)
{
    ItineraryFields &fields = m_window->fields();
    control<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("RT ABC123"));
    fields.setText(QStringLiteral("edtPassenger"), u8s("张三"));
    fields.setPassengerEntries(u8list({"张三"}));
    control<QPushButton>("Button4")->click();
    EXPECT_EQ(control<QPlainTextEdit>("Memo1")->toPlainText(), QString());
    EXPECT_EQ(fields.text(QStringLiteral("Memo1")), QString());
    EXPECT_EQ(fields.text(QStringLiteral("edtPassenger")), u8s("张三"));
    EXPECT_EQ(fields.passengerEntries(), u8list({"张三"}));
}

TEST_F(MainWindowTest, TabWalksTheReceiptInReadingOrder)
{
    QStringList walked;
    QWidget *widget = control<QWidget>("edtSerNo");
    for (int i = 0; i < 4 + 4 * 12 + 1 + 10 + 3; ++i) {
        walked.append(widget->objectName());
        widget = widget->nextInFocusChain();
        // Compound controls (an editable drop-down's line edit) are one stop.
        while (widget->objectName().isEmpty() || widget->focusPolicy() == Qt::NoFocus)
            widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(
        walked.mid(0, 17),
        u8list({"edtSerNo", "edtPassenger", "edtId", "cboEndorsement", "edtPnr", "edtT1",
                "edtFrom1", "edtFromCode1", "cboAir1", "edtFlight1", "edtSeat1", "edtDate1",
                "edtTime1", "edtBasts1", "edtNotValidBefore1", "edtNotValidAfter1", "edtAllow1"}));
    EXPECT_EQ(walked.mid(53, 13), u8list({"edtFrom5", "edtFarePer", "edtFare", "edtCAACPer",
                                          "edtCAAC", "edtYQPer", "edtYQ", "edtTaxPer", "edtTax",
                                          "edtTotalPer", "edtTotal", "edtTicketNo", "edtCk"}));
}

} // namespace

TEST_F(MainWindowTest, TheDateOfIssueDropsDownACalendarThatPicksTodayOrEmptiesTheBox)
{
    m_window->show();
    auto *box = control<QLineEdit>("edtDateOfInsue");
    QAction *dropDown = nullptr;
    for (QAction *action : box->actions()) {
        if (action->toolTip() == u8s("日历"))
            dropDown = action;
    }
    ASSERT_NE(dropDown, nullptr);
    ItineraryFields &fields = m_window->fields();
    fields.setText(QStringLiteral("edtDateOfInsue"), QStringLiteral("2024-02-29"));

    auto pressInCalendar = [&](const QString &caption) {
        dropDown->trigger();
        auto *calendar = box->findChild<QCalendarWidget *>();
        ASSERT_NE(calendar, nullptr);
        EXPECT_TRUE(calendar->isVisible());
        EXPECT_EQ(calendar->selectedDate(), QDate(2024, 2, 29));
        for (QPushButton *button : box->findChildren<QPushButton *>()) {
            if (button->text() == caption)
                button->click();
        }
        EXPECT_FALSE(calendar->isVisible());
    };
    pressInCalendar(u8s("今天"));
    EXPECT_EQ(fields.text(QStringLiteral("edtDateOfInsue")),
              QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    fields.setText(QStringLiteral("edtDateOfInsue"), QStringLiteral("2024-02-29"));
    pressInCalendar(u8s("清空"));
    EXPECT_EQ(fields.text(QStringLiteral("edtDateOfInsue")), QString());
    EXPECT_EQ(box->text(), QString());
}
