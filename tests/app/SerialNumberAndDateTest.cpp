#include "AnsweredBoxes.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/DateBox.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Types text as key presses that carry it, also where no key of a Latin
// keyboard would (full-width digits, the ideographic space).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

class ReceiptWindowTest : public ::testing::Test
{
protected:
    ReceiptWindowTest()
    {
        m_folder.copyDeliveredLists();
        m_window = std::make_unique<MainWindow>(m_folder.path());
        // No printer: a print that goes ahead is seen by its printer lookup.
        m_window->printing().setPrinterLookup([this] {
            ++m_printsAttempted;
            return QString();
        });
        m_window->show();
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    QLineEdit *edit(const char *name)
    {
        return m_window->findChild<QLineEdit *>(QString::fromLatin1(name));
    }

    QString text(const char *name) { return m_window->fields().text(QString::fromLatin1(name)); }

    static bool isRed(const QLineEdit *box)
    {
        return box->palette().color(QPalette::Text) == QColor(Qt::red);
    }

    TempFolder m_folder;
    std::unique_ptr<AnsweredBoxes> m_boxes = std::make_unique<AnsweredBoxes>();
    std::unique_ptr<MainWindow> m_window;
    int m_printsAttempted = 0;
};

// Typed into the box: what is clearly the same number is made plain as it is
// typed; what the advance still cannot read shows in red.
TEST_F(ReceiptWindowTest, SerialNumberIsNormalisedAsTypedAndRedWhileMalformed)
{
    const struct
    {
        const char *typed;
        const char *shown;
        bool red;
    } cases[] = {
        {"1234567890 3", "1234567890 3", false},
        {"1234567890  3", "1234567890 3", false},
        {"1234567890\u30003", "1234567890 3", false},
        {"１２３４５６７８９０　３", "1234567890 3", false},
        {"12345678903", "12345678903", true},
        {"1234567890 31", "1234567890 31", true},
        {"12345", "12345", true},
        {"", "", false},
    };
    QLineEdit *serial = edit("edtSerNo");
    ASSERT_NE(serial, nullptr);
    const QColor normal = serial->palette().color(QPalette::Text);
    EXPECT_NE(normal, QColor(Qt::red));
    for (const auto &c : cases) {
        serial->selectAll();
        QTest::keyClick(serial, Qt::Key_Delete);
        typeText(serial, u8s(c.typed));
        EXPECT_EQ(serial->text(), u8s(c.shown)) << c.typed;
        EXPECT_EQ(text("edtSerNo"), u8s(c.shown)) << c.typed;
        EXPECT_EQ(isRed(serial), c.red) << c.typed;
    }
    // Written by code (the advance, the extraction): the same colours.
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("123"));
    EXPECT_TRUE(isRed(serial));
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890 3"));
    EXPECT_FALSE(isRed(serial));
    EXPECT_EQ(serial->palette().color(QPalette::Text), normal);
}

// "直接打印" asks before printing a serial number that will not advance.
TEST_F(ReceiptWindowTest, DirectPrintAsksBeforePrintingAMalformedSerialNumber)
{
    const struct
    {
        const char *serial;
        bool answer;
        bool asked;
        bool printed;
    } cases[] = {
        {"12345678903", false, true, false},   {"12345678903", true, true, true},
        {"1234567890 31", false, true, false}, {"12345", true, true, true},
        {"1234567890 3", false, false, true},  {"", false, false, true},
    };
    for (const auto &c : cases) {
        m_boxes.reset();
        AnsweredBoxes boxes(c.answer);
        m_printsAttempted = 0;
        m_window->fields().setText(QStringLiteral("edtSerNo"), QString::fromLatin1(c.serial));
        m_window->findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
        // Without a printer a print that goes ahead ends in the box that
        // says so; the question comes before it.
        const auto questions =
            std::count_if(boxes.shown().begin(), boxes.shown().end(),
                          [](const auto &box) { return box.kind == MessageBox::Kind::Question; });
        ASSERT_EQ(questions, c.asked ? 1 : 0) << c.serial;
        if (c.asked) {
            EXPECT_EQ(boxes.shown().front().kind, MessageBox::Kind::Question);
            EXPECT_EQ(boxes.shown().front().caption, QStringLiteral("Kestrano"));
            EXPECT_EQ(boxes.shown().front().text,
                      u8s("印刷序列格式不对，打印后不会自动加一。继续打印？"));
        }
        EXPECT_EQ(m_printsAttempted > 0, c.printed) << c.serial;
        EXPECT_EQ(text("edtSerNo"), QString::fromLatin1(c.serial));
    }
}

// The date box takes only real dates "yyyy-MM-dd"; what is left unfinished
// or impossible goes back to the last date when the box loses the focus.
TEST_F(ReceiptWindowTest, TheDateBoxAcceptsOnlyRealDates)
{
    const struct
    {
        const char *typed;
        const char *held;
    } cases[] = {
        {"2026-12-24", "2026-12-24"},
        {"tomorrow", "2026-01-01"},   // no letter is taken
        {"2026-02-30", "2026-01-01"}, // no such day
        {"2026-13-01", "2026-01-01"},
        {"2026-12", "2026-01-01"},
        {"2026/12/24", "2026-01-01"},
        {"2028-02-29", "2028-02-29"},
        {"", ""},
    };
    auto *date = qobject_cast<DateBox *>(edit("edtDateOfInsue"));
    ASSERT_NE(date, nullptr);
    QLineEdit *other = edit("edtPassenger");
    for (const auto &c : cases) {
        m_window->fields().setText(QStringLiteral("edtDateOfInsue"), QStringLiteral("2026-01-01"));
        date->setFocus();
        date->selectAll();
        // Typed over the date shown; nothing typed: the date deleted.
        if (*c.typed)
            QTest::keyClicks(date, QString::fromLatin1(c.typed));
        else
            QTest::keyClick(date, Qt::Key_Delete);
        other->setFocus();
        EXPECT_EQ(text("edtDateOfInsue"), QString::fromLatin1(c.held)) << c.typed;
        EXPECT_EQ(date->text(), QString::fromLatin1(c.held)) << c.typed;
    }
}

// A window left open over midnight: the date of issue that nobody changed
// is today's again before the preview and the print.
TEST_F(ReceiptWindowTest, TheUntouchedDateOfIssueFollowsTheCalendarDay)
{
    EXPECT_EQ(text("edtDateOfInsue"), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    QDate today(2031, 5, 6);
    m_window->issueDate().setClock([&today] { return today; });
    m_window->findChild<QPushButton *>(QStringLiteral("btnReport"))->click();
    EXPECT_EQ(text("edtDateOfInsue"), QStringLiteral("2031-05-06"));
    today = today.addDays(1);
    m_window->findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
    EXPECT_EQ(text("edtDateOfInsue"), QStringLiteral("2031-05-07"));

    // Once the agent has typed a date, it stays.
    QLineEdit *date = edit("edtDateOfInsue");
    date->setFocus();
    date->selectAll();
    QTest::keyClick(date, Qt::Key_Delete);
    QTest::keyClicks(date, QStringLiteral("2031-05-01"));
    today = today.addDays(1);
    m_window->findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
    EXPECT_EQ(text("edtDateOfInsue"), QStringLiteral("2031-05-01"));
}

} // namespace
