#include "app/SettingsDialog.h"
#include "AnsweredBoxes.h"
#include "Strings.h"
#include "TempFolder.h"
#include "common/FileEncoding.h"
#include "settings/DelimitedText.h"
#include "settings/PrivateConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class SettingsDialogTest : public ::testing::Test
{
protected:
    void open() { m_dialog = std::make_unique<SettingsDialog>(m_folder.path()); }

    template <typename W> W *control(const char *name)
    {
        W *found = m_dialog->findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(const char *button) { control<QPushButton>(button)->click(); }

    QString stored(const QString &key) { return PrivateConfig(false, m_folder.path()).getStr(key); }

    void store(const char *key, const QString &value)
    {
        PrivateConfig(true, m_folder.path()).setStr(QString::fromLatin1(key), value);
    }

    QStringList entries(const char *listName)
    {
        QStringList texts;
        auto *list = control<QListWidget>(listName);
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text());
        return texts;
    }

    void add(const char *entryName, const char *button, const char *text)
    {
        auto *entry = control<QLineEdit>(entryName);
        entry->setText(u8s(text));
        click(button);
    }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
    std::unique_ptr<SettingsDialog> m_dialog;
};

TEST_F(SettingsDialogTest, WithNoSettingsFileShowsTheDefaults)
{
    open();
    EXPECT_EQ(m_dialog->windowTitle(), u8s("设置"));
    EXPECT_EQ(m_dialog->size(), QSize(658, 487));
    EXPECT_EQ(control<QLineEdit>("edtHPos")->text(), QStringLiteral("0"));
    EXPECT_EQ(control<QLineEdit>("edtVPos")->text(), QStringLiteral("0"));
    EXPECT_EQ(control<QSlider>("trbHPos")->value(), 50);
    EXPECT_EQ(control<QSlider>("trbVPos")->value(), 50);
    EXPECT_EQ(control<QComboBox>("cboFontCnSize")->currentText(), QStringLiteral("18"));
    EXPECT_EQ(control<QComboBox>("cboFontEnSize")->currentText(), QStringLiteral("16"));
    EXPECT_EQ(control<QComboBox>("cboFontName")->currentText(), QStringLiteral("TEC"));
    EXPECT_EQ(control<QLabel>("edtFontColor")->text(), u8s("打印字体颜色示例"));
    // No colour stored: the grey that prints.
    EXPECT_EQ(control<QLabel>("edtFontColor")->palette().color(QPalette::WindowText),
              QColor(0x80, 0x80, 0x80));
    for (const char *list :
         {"lstMakeText", "lstCompany", "lstOfficeNo", "lstCompanyCode", "lstInformation"})
        EXPECT_TRUE(entries(list).isEmpty()) << list;
    EXPECT_FALSE(control<QCheckBox>("chkStorage")->isChecked());
    EXPECT_EQ(control<QCheckBox>("chkStorage")->toolTip(), u8s("软件会记忆上次的信息"));
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// The bar clamps, the box shows what is stored, and "确定" keeps it.
TEST_F(SettingsDialogTest, OffsetsShowAsStoredAndOkWritesTheBoxTexts)
{
    const struct
    {
        const char *stored;
        int bar;
        const char *shown;
    } cases[] = {{"80", 100, "80"}, {"120", 100, "120"}, {"-12", 38, "-12"}, {"-99", 0, "-99"},
                 {"abc", 50, "0"},  {"7", 57, "7"},      {"50", 100, "50"}};
    for (const auto &c : cases) {
        store("vpos", u8s(c.stored));
        open();
        EXPECT_EQ(control<QSlider>("trbVPos")->value(), c.bar) << c.stored;
        EXPECT_EQ(control<QLineEdit>("edtVPos")->text(), u8s(c.shown)) << c.stored;
        click("Button11");
        EXPECT_EQ(stored(QStringLiteral("vpos")), u8s(c.shown)) << c.stored;
        EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    }
}

TEST_F(SettingsDialogTest, ATypedOffsetIsWrittenAsTypedAndTheBarMovesItsBox)
{
    open();
    auto *box = control<QLineEdit>("edtHPos");
    box->clear();
    QTest::keyClicks(box, QStringLiteral("1x2-0"));
    EXPECT_EQ(box->text(), QStringLiteral("120"));
    EXPECT_EQ(control<QSlider>("trbHPos")->value(), 50);
    click("Button11");
    EXPECT_EQ(stored(QStringLiteral("hpos")), QStringLiteral("120"));
    open();
    EXPECT_EQ(control<QLineEdit>("edtHPos")->text(), QStringLiteral("120"));
    EXPECT_EQ(control<QSlider>("trbHPos")->value(), 100);
    click("Button11");
    EXPECT_EQ(stored(QStringLiteral("hpos")), QStringLiteral("120"));
    open();

    control<QSlider>("trbHPos")->setValue(20);
    EXPECT_EQ(control<QLineEdit>("edtHPos")->text(), QStringLiteral("-30"));
    control<QLineEdit>("edtVPos")->clear();
    QTest::keyClicks(control<QLineEdit>("edtVPos"), QStringLiteral("-7"));
    EXPECT_EQ(control<QLineEdit>("edtVPos")->text(), QStringLiteral("-7"));
}

TEST_F(SettingsDialogTest, AddTrimsRefusesBlanksAndCaseInsensitiveRepeatsAndKeepsTheEntryBox)
{
    open();
    add("edtMakeText", "Button2", "  NON-END  ");
    add("edtMakeText", "Button2", "non-end");
    add("edtMakeText", "Button2", "   ");
    add("edtMakeText", "Button2", "不得签转");
    EXPECT_EQ(entries("lstMakeText"), u8list({"NON-END", "不得签转"}));
    EXPECT_EQ(control<QLineEdit>("edtMakeText")->text(), u8s("不得签转"));
    EXPECT_TRUE(stored(QStringLiteral("MakeText")).isEmpty());
}

TEST_F(SettingsDialogTest, EveryDeleteButtonRemovesTheSelectedEntryOfItsList)
{
    open();
    const struct
    {
        const char *entry, *list, *add, *remove;
    } editors[] = {{"edtMakeText", "lstMakeText", "Button2", "Button3"},
                   {"edtCompany", "lstCompany", "Button4", "Button5"},
                   {"edtOfficeNo", "lstOfficeNo", "Button6", "Button7"},
                   {"edtCompanyCode", "lstCompanyCode", "Button8", "Button9"},
                   {"edtInformation", "lstInformation", "Button13", "Button14"}};
    for (const auto &e : editors) {
        add(e.entry, e.add, "A");
        add(e.entry, e.add, "B");
        click(e.remove); // nothing selected: nothing happens
        EXPECT_EQ(entries(e.list), u8list({"A", "B"})) << e.list;
        control<QListWidget>(e.list)->setCurrentRow(0);
        click(e.remove);
        EXPECT_EQ(entries(e.list), u8list({"B"})) << e.list;
    }
}

TEST_F(SettingsDialogTest, OkWritesEveryControlInTheFormTheMainWindowReads)
{
    open();
    add("edtMakeText", "Button2", "不得签转/改期退票收费");
    add("edtMakeText", "Button2", "NON END");
    add("edtCompany", "Button4", "北京某航空服务公司");
    add("edtInformation", "Button13", "a,b");
    control<QComboBox>("cboFontCnSize")->setEditText(QStringLiteral("12"));
    control<QComboBox>("cboFontEnSize")->setEditText(QStringLiteral("big"));
    control<QComboBox>("cboFontName")->setCurrentIndex(-1);
    control<QCheckBox>("chkStorage")->setChecked(true);
    m_dialog->setColorPicker([](const QColor &, QWidget *) { return QColor(0x11, 0x22, 0x33); });
    click("Button1");
    click("Button11");

    EXPECT_EQ(fromDelimitedText(stored(QStringLiteral("MakeText"))),
              u8list({"不得签转/改期退票收费", "NON END"}));
    EXPECT_EQ(stored(QStringLiteral("MakeText")), u8s("不得签转/改期退票收费,\"NON END\""));
    EXPECT_EQ(fromDelimitedText(stored(QStringLiteral("company"))), u8list({"北京某航空服务公司"}));
    EXPECT_EQ(fromDelimitedText(stored(QStringLiteral("information"))), u8list({"a,b"}));
    EXPECT_EQ(stored(QStringLiteral("OfficeNo")), QString());
    EXPECT_EQ(stored(QStringLiteral("fontcnsize")), QStringLiteral("12"));
    EXPECT_EQ(stored(QStringLiteral("fontensize")), QStringLiteral("big"));
    EXPECT_EQ(stored(QStringLiteral("fontname")), QString());
    EXPECT_EQ(stored(QStringLiteral("fontcolor")), QString::number(0x332211));
    EXPECT_EQ(stored(QStringLiteral("Storage")), QStringLiteral("1"));

    open(); // a size that is not a number shows the default
    EXPECT_EQ(control<QComboBox>("cboFontEnSize")->currentText(), QStringLiteral("16"));
    EXPECT_EQ(control<QLabel>("edtFontColor")->palette().color(QPalette::WindowText),
              QColor(0x11, 0x22, 0x33));
}

TEST_F(SettingsDialogTest, ACancelledColourChangesNothing)
{
    open();
    m_dialog->setColorPicker([](const QColor &, QWidget *) { return QColor(); });
    click("Button1");
    click("Button11");
    EXPECT_EQ(stored(QStringLiteral("fontcolor")), QStringLiteral("8421504"));
}

// An absent or empty colour is the grey that prints; black is stored as 0,
// shown black and kept black.
TEST_F(SettingsDialogTest, TheSampleShowsTheColourThatPrints)
{
    const struct
    {
        const char *stored;
        QColor shown;
        const char *written;
    } cases[] = {{"", QColor(0x80, 0x80, 0x80), "8421504"},
                 {"0", QColor(Qt::black), "0"},
                 {"255", QColor(Qt::red), "255"}};
    for (const auto &c : cases) {
        store("fontcolor", u8s(c.stored));
        open();
        EXPECT_EQ(control<QLabel>("edtFontColor")->palette().color(QPalette::WindowText), c.shown)
            << c.stored;
        click("Button11");
        EXPECT_EQ(stored(QStringLiteral("fontcolor")), u8s(c.written)) << c.stored;
    }
    open();
    m_dialog->setColorPicker([](const QColor &, QWidget *) { return QColor(Qt::black); });
    click("Button1");
    click("Button11");
    EXPECT_EQ(stored(QStringLiteral("fontcolor")), QStringLiteral("0"));
}

// "确定" replaces the file once with all twelve keys, or on a refusal not at all.
TEST_F(SettingsDialogTest, OkWritesAllKeysInOneReplacementOrNone)
{
    store("MakeText", QStringLiteral("KEPT"));
    open();
    control<QLineEdit>("edtVPos")->setText(QStringLiteral("5"));
    const QString path = m_folder.file(QStringLiteral("vantrel_cof.ini"));
    const QByteArray before = m_folder.read(QStringLiteral("vantrel_cof.ini"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
    click("Button11");
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().front().kind, MessageBox::Kind::Error);
    EXPECT_EQ(m_folder.read(QStringLiteral("vantrel_cof.ini")), before);

    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    click("Button11");
    const QString text = decodeFileText(m_folder.read(QStringLiteral("vantrel_cof.ini")));
    EXPECT_EQ(text.count(u'\n'), 1 + 12) << text.toStdString(); // the section line and twelve keys
    EXPECT_EQ(stored(QStringLiteral("vpos")), QStringLiteral("5"));
    EXPECT_EQ(stored(QStringLiteral("MakeText")), QStringLiteral("KEPT"));
}

TEST_F(SettingsDialogTest, CancelWritesNothing)
{
    open();
    add("edtMakeText", "Button2", "X");
    control<QCheckBox>("chkStorage")->setChecked(true);
    const QByteArray before = m_folder.read(QStringLiteral("vantrel_cof.ini"));
    click("Button12");
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_EQ(m_folder.read(QStringLiteral("vantrel_cof.ini")), before);
}

TEST_F(SettingsDialogTest, RestoreWritesThePrintDefaultsAndDropsUnsavedChanges)
{
    store("MakeText", QStringLiteral("KEPT"));
    store("vpos", QStringLiteral("9"));
    open();
    add("edtMakeText", "Button2", "UNSAVED");
    control<QCheckBox>("chkStorage")->setChecked(true);
    click("Button10");

    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().front().kind, MessageBox::Kind::Question);
    EXPECT_EQ(m_boxes.shown().front().caption, QString());
    EXPECT_EQ(m_boxes.shown().front().text, u8s("是否恢复默认设置？"));
    EXPECT_EQ(entries("lstMakeText"), u8list({"KEPT"}));
    EXPECT_FALSE(control<QCheckBox>("chkStorage")->isChecked());
    EXPECT_EQ(control<QLineEdit>("edtVPos")->text(), QStringLiteral("0"));
    EXPECT_EQ(control<QLabel>("edtFontColor")->palette().color(QPalette::WindowText),
              QColor(0x80, 0x80, 0x80));
    const struct
    {
        const char *key, *value;
    } defaults[] = {{"vpos", "0"},        {"hpos", "0"},       {"fontcnsize", "18"},
                    {"fontensize", "16"}, {"fontname", "TEC"}, {"fontcolor", "8421504"}};
    for (const auto &d : defaults)
        EXPECT_EQ(stored(u8s(d.key)), u8s(d.value)) << d.key;

    click("Button12"); // a later cancel does not undo the restore
    EXPECT_EQ(stored(QStringLiteral("vpos")), QStringLiteral("0"));
}

TEST_F(SettingsDialogTest, RestoreAnsweredWithCancelDoesNothing)
{
    store("vpos", QStringLiteral("9"));
    open();
    AnsweredBoxes cancel(false);
    click("Button10");
    EXPECT_EQ(stored(QStringLiteral("vpos")), QStringLiteral("9"));
    EXPECT_EQ(control<QLineEdit>("edtVPos")->text(), QStringLiteral("9"));
}

TEST_F(SettingsDialogTest, ARefusedWriteShowsTheErrorAndTheDialogStaysOpen)
{
    open();
    m_dialog->show();
    QFile::remove(m_folder.file(QStringLiteral("vantrel_cof.ini")));
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("vantrel_cof.ini")));
    click("Button11");
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().front().kind, MessageBox::Kind::Error);
    EXPECT_TRUE(m_dialog->isVisible());
}

} // namespace
