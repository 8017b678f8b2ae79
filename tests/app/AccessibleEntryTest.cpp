#include "AnsweredBoxes.h"
#include "PrintTestSupport.h"
#include "PrivateCups.h"
#include "TempFolder.h"
#include "app/MainWindow.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

// A screen reader or an automation tool sets a field's text through the
// field's accessible interface, which types nothing: the value still reaches
// the receipt once, runs its rules, and prints.

namespace {

class AccessibleEntryTest : public ::testing::Test
{
protected:
    AccessibleEntryTest()
    {
        m_folder.copyDeliveredLists();
        m_window = std::make_unique<MainWindow>(m_folder.path());
    }

    QAccessibleInterface *accessible(QWidget *widget)
    {
        QAccessibleInterface *found = QAccessible::queryAccessibleInterface(widget);
        EXPECT_NE(found, nullptr);
        return found;
    }

    QLineEdit *edit(const char *name)
    {
        QWidget *widget = m_window->findChild<QWidget *>(QString::fromLatin1(name));
        if (auto *box = qobject_cast<QComboBox *>(widget))
            return box->lineEdit();
        return qobject_cast<QLineEdit *>(widget);
    }

    // How often the model took a new text for that field.
    int writes(const QSignalSpy &spy, const char *name)
    {
        int count = 0;
        for (const QList<QVariant> &change : spy) {
            if (change.at(0).toString() == QLatin1String(name))
                ++count;
        }
        return count;
    }

    QString text(const char *name) { return m_window->fields().text(QString::fromLatin1(name)); }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(AccessibleEntryTest, SetTextReachesTheModelOnceAndRunsItsRules)
{
    QSignalSpy changes(&m_window->fields(), &ItineraryFields::textChanged);

    // "set text" of the value, as screen readers offer it.
    accessible(edit("edtSeat2"))->setText(QAccessible::Value, QStringLiteral("f"));
    EXPECT_EQ(text("edtSeat2"), QStringLiteral("F"));
    EXPECT_EQ(edit("edtSeat2")->text(), QStringLiteral("F"));
    EXPECT_EQ(text("edtBasts2"), QStringLiteral("F")); // the fare basis follows the class
    EXPECT_EQ(writes(changes, "edtSeat2"), 1);

    // The editable-text interface: replace and insert.
    QAccessibleInterface *fare = accessible(edit("edtFare"));
    ASSERT_NE(fare->editableTextInterface(), nullptr);
    fare->editableTextInterface()->replaceText(0, 0, QStringLiteral("1860.00"));
    EXPECT_EQ(text("edtFare"), QStringLiteral("1860.00"));
    EXPECT_EQ(text("edtTotal"), QStringLiteral("1860.00"));
    fare->editableTextInterface()->insertText(0, QStringLiteral("1"));
    EXPECT_EQ(text("edtFare"), QStringLiteral("11860.00"));
    EXPECT_EQ(writes(changes, "edtFare"), 2);

    // A pick-list field's text box as well.
    accessible(edit("cboAir2"))->setText(QAccessible::Value, QStringLiteral("东航"));
    EXPECT_EQ(text("cboAir2"), QStringLiteral("东航"));
    EXPECT_EQ(writes(changes, "cboAir2"), 1);

    // What the model writes comes back to the box without being written again.
    m_window->fields().setText(QStringLiteral("edtSeat2"), QStringLiteral("Y"));
    EXPECT_EQ(edit("edtSeat2")->text(), QStringLiteral("Y"));
    EXPECT_EQ(writes(changes, "edtSeat2"), 2);
}

TEST_F(AccessibleEntryTest, TheValueSetPrints)
{
    SKIP_WITHOUT_PRINTER();
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("6660000321 2"));
    accessible(edit("edtFlight1"))->setText(QAccessible::Value, QStringLiteral("hu7181"));
    ASSERT_EQ(text("edtFlight1"), QStringLiteral("HU7181"));

    QSignalSpy ended(&m_window->printing(), &PrintService::jobEnded);
    m_window->findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
    ASSERT_TRUE(ended.wait(120000));
    EXPECT_TRUE(m_boxes.shown().isEmpty());
    const auto outcome = ended.front().front().value<PrintOutcome>();
    ASSERT_EQ(outcome.result, PrintOutcome::Result::Printed) << outcome.reason.toStdString();
    const QString page = textOf(documentOf(outcome.jobId));
    EXPECT_TRUE(page.contains(QStringLiteral("6660000321"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("HU7181"))) << page.toStdString();
}

} // namespace
