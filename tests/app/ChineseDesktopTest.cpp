#include "AnsweredBoxes.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/ApplicationSetup.h"
#include "app/DateBox.h"
#include "app/MainWindow.h"
#include "app/SettingsDialog.h"
#include "app/TerminalFont.h"
#include "common/FontStandIns.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Types text as key presses that carry it, also where no key of a Latin
// keyboard would (Chinese, full-width forms).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

// Qt's own texts in Chinese, whatever the system locale (the tests run in C).
TEST(ChineseDesktop, QtsOwnDialogsAndButtonsSpeakChinese)
{
    setUpApplication(*QCoreApplication::instance());
    EXPECT_TRUE(QApplication::applicationDisplayName() == QCoreApplication::applicationName());

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), u8s("确定"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), u8s("取消"));

    QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("?"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), u8s("确定"));

    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    EXPECT_EQ(colours.windowTitle(), u8s("选择颜色"));
    QStringList labels;
    for (const QLabel *label : colours.findChildren<QLabel *>())
        labels.append(label->text());
    EXPECT_TRUE(labels.join(u'|').contains(u8s("基本颜色"))) << labels.join(u'|').toStdString();

    DateBox date;
    date.showCalendar(); // built when first dropped down
    const QCalendarWidget *calendar = date.findChild<QCalendarWidget *>();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->locale().language(), QLocale::Chinese);
    EXPECT_EQ(calendar->locale().monthName(12), u8s("十二月"));
}

TEST(ChineseDesktop, CaptionsAreExactlyTheProgramsOwn)
{
    AnsweredBoxes boxes;
    TempFolder folder;
    folder.copyDeliveredLists();
    MainWindow window(folder.path());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kestrano"));
    SettingsDialog dialog(folder.path(), &window);
    EXPECT_EQ(dialog.windowTitle(), u8s("设置"));
    dialog.restoreDefaults();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().front().caption, QString());
    EXPECT_EQ(boxes.shown().front().text, u8s("是否恢复默认设置？"));
}

// Terminal columns line up: Latin characters of one width, Chinese
// characters exactly two of them, lines never wrapped.
TEST(ChineseDesktop, ThePnrBoxAndTheSampleUseTheMonospacedTerminalFont)
{
    AnsweredBoxes boxes;
    TempFolder folder;
    folder.copyDeliveredLists();
    MainWindow window(folder.path());
    auto *memo = window.findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    const QFontMetrics metrics(memo->font());
    const int column = metrics.horizontalAdvance(u'M');
    EXPECT_GT(column, 0);
    for (const QChar c : QStringLiteral("i.1 /W"))
        EXPECT_EQ(metrics.horizontalAdvance(c), column) << QString(c).toStdString();
    EXPECT_EQ(metrics.horizontalAdvance(u8s("张")), 2 * column);
    EXPECT_EQ(metrics.horizontalAdvance(u8s("1.张三 2.李四")), 13 * column);

    window.showSamplePnr();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().front().monospaced);
    EXPECT_EQ(boxes.shown().front().caption, QStringLiteral("Kestrano"));
}

TEST(ChineseDesktop, TheWindowNamesTheInstalledFamilyThatServesTheSongFace)
{
    // "宋体" is not installed here; the window asks for the font that serves
    // it by name, and that is the font that draws it.
    const QString song = installedFamily(QStringLiteral("宋体"));
    EXPECT_TRUE(QFontDatabase::hasFamily(song)) << song.toStdString();
    EXPECT_EQ(song.toLower(), QFont::substitutes(QStringLiteral("宋体")).value(0).toLower());
    EXPECT_EQ(installedFamily(song), song);
    EXPECT_EQ(installedFamily(QStringLiteral("No Such Family")), QStringLiteral("No Such Family"));

    AnsweredBoxes boxes;
    TempFolder folder;
    folder.copyDeliveredLists();
    MainWindow window(folder.path());
    EXPECT_EQ(window.font().family(), song);
    EXPECT_EQ(window.font().pointSize(), 9);
    EXPECT_EQ(QFontInfo(window.font()).family(), song);
}

class SettingsDialogOnAChineseDesktop : public ::testing::Test
{
protected:
    TempFolder m_folder;
    AnsweredBoxes m_boxes;
};

// Enter in an entry box adds the entry and leaves the dialog open.
TEST_F(SettingsDialogOnAChineseDesktop, EnterInAnEntryBoxAddsTheEntry)
{
    SettingsDialog dialog(m_folder.path());
    dialog.show();
    const struct
    {
        const char *entry;
        const char *list;
    } editors[] = {{"edtMakeText", "lstMakeText"},
                   {"edtCompany", "lstCompany"},
                   {"edtOfficeNo", "lstOfficeNo"},
                   {"edtCompanyCode", "lstCompanyCode"},
                   {"edtInformation", "lstInformation"}};
    for (const auto &e : editors) {
        auto *entry = dialog.findChild<QLineEdit *>(QString::fromLatin1(e.entry));
        auto *list = dialog.findChild<QListWidget *>(QString::fromLatin1(e.list));
        ASSERT_TRUE(entry && list) << e.entry;
        entry->setFocus();
        typeText(entry, u8s(" 不得签转 "));
        QTest::keyClick(entry, Qt::Key_Return);
        QTest::keyClick(entry, Qt::Key_Enter);
        ASSERT_EQ(list->count(), 1) << e.entry;
        EXPECT_EQ(list->item(0)->text(), u8s("不得签转"));
        EXPECT_TRUE(dialog.isVisible()) << e.entry;
    }
    EXPECT_EQ(dialog.result(), 0);
    // Nothing was written: only "确定" writes.
    EXPECT_FALSE(m_folder.read(QStringLiteral("vantrel_cof.ini")).contains("MakeText"));
}

TEST_F(SettingsDialogOnAChineseDesktop, TheFontListShowsEachFamilyOnceWithTheStandInsFirst)
{
    SettingsDialog dialog(m_folder.path());
    const auto *fonts = dialog.findChild<QComboBox *>(QStringLiteral("cboFontName"));
    ASSERT_NE(fonts, nullptr);
    QStringList shown;
    for (int i = 0; i < fonts->count(); ++i)
        shown.append(fonts->itemText(i));
    EXPECT_EQ(shown.mid(0, 5),
              u8list({"宋体", "SimSun", "Arial Narrow", "TEC", "Segoe MDL2 Assets"}));
    QStringList seen;
    for (const QString &family : shown) {
        EXPECT_FALSE(family.contains(u'[')) << family.toStdString();
        EXPECT_FALSE(seen.contains(family, Qt::CaseInsensitive)) << family.toStdString();
        seen.append(family);
    }
    // Every installed family is on offer by its name.
    for (QString family : QFontDatabase::families()) {
        family = family.section(QStringLiteral(" ["), 0, 0);
        EXPECT_TRUE(shown.contains(family)) << family.toStdString();
    }
    // The rest in alphabetical order.
    QStringList rest = shown.mid(5);
    QStringList sorted = rest;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(rest, sorted);
    EXPECT_EQ(fonts->currentText(), QStringLiteral("TEC"));
}

} // namespace
