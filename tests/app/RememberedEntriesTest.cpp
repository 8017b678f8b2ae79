#include "AnsweredBoxes.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "common/FileEncoding.h"
#include "settings/PrivateConfig.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QString upperCasedUnless(const char *name, const char *text)
{
    const QString keepsCase[] = {QStringLiteral("Edit1"), QStringLiteral("Edit2"),
                                 QStringLiteral("edtCode"), QStringLiteral("edtInformation")};
    const QString value = u8s(text);
    return std::find(std::begin(keepsCase), std::end(keepsCase), u8s(name)) != std::end(keepsCase)
               ? value
               : value.toUpper();
}

class RememberedEntriesTest : public ::testing::Test
{
protected:
    RememberedEntriesTest() { m_folder.copyDeliveredLists(); }

    void setStorage(bool on)
    {
        PrivateConfig(true, m_folder.path()).setBool(QStringLiteral("Storage"), on);
    }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
};

TEST_F(RememberedEntriesTest, ClosingWritesEveryFieldEvenWithStorageOff)
{
    setStorage(false);
    {
        MainWindow window(m_folder.path());
        window.fields().setText(QStringLiteral("edtPassenger"), u8s("张三"));
        window.fields().setInternational(true);
    }
    const QString text = decodeFileText(m_folder.read(QStringLiteral("vantrel_cof.ini")));
    const QStringList keyLines = text.split(u'\n').filter(QStringLiteral("="));
    EXPECT_EQ(keyLines.size(), 78 + 1); // the fields and "Storage"
    EXPECT_TRUE(keyLines.contains(u8s("edtPassenger=张三")));
    EXPECT_TRUE(keyLines.contains(QStringLiteral("chkGuowai=1")));
    EXPECT_TRUE(keyLines.contains(QStringLiteral("edtFarePer=CNY")));
}

TEST_F(RememberedEntriesTest, AReceiptComesBackAsItWasClosedWithTodayAsDateOfIssue)
{
    setStorage(true);
    const struct
    {
        const char *name;
        const char *text;
    } typed[] = {{"Edit1", "7819631900123"},
                 {"Edit2", "zhang"},
                 {"edtCode", "ab12"},
                 {"edtSerNo", "1234567890 3"},
                 {"edtCk", "5555"},
                 {"edtPassenger", "张三"},
                 {"edtSeat1", "Y"},
                 {"edtBasts1", "YOW"},
                 {"edtFare", "1860.00"},
                 {"edtCAAC", "50.00"},
                 {"edtTotal", "9999.00"},
                 {"cboAgentCode1", "BJS123"},
                 {"edtDateOfInsue", "2001-02-03"},
                 {"edtInformation", "lower case"}};
    {
        MainWindow window(m_folder.path());
        for (const auto &t : typed)
            window.fields().setText(u8s(t.name), u8s(t.text));
    }
    MainWindow window(m_folder.path());
    for (const auto &t : typed) {
        const QString expected = QString::fromLatin1(t.name) == QLatin1String("edtDateOfInsue")
                                     ? QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
                                     : upperCasedUnless(t.name, t.text);
        EXPECT_EQ(window.fields().text(u8s(t.name)), expected) << t.name;
    }
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

// The switch comes last and shows its mark, but a fuel surcharge typed after
// it was turned on comes back, and so does the total kept with it.
TEST_F(RememberedEntriesTest, TheSwitchComesBackWithTheStoredSurchargeAndTotal)
{
    setStorage(true);
    {
        MainWindow window(m_folder.path());
        window.fields().setInternational(true);
        window.fields().setText(QStringLiteral("edtFare"), QStringLiteral("1860.00"));
        window.fields().setText(QStringLiteral("edtYQ"), QStringLiteral("500.00"));
        EXPECT_EQ(window.fields().text(QStringLiteral("edtTotal")), QStringLiteral("2360.00"));
    }
    AnsweredBoxes boxes;
    MainWindow window(m_folder.path());
    EXPECT_TRUE(window.fields().international());
    EXPECT_TRUE(window.findChild<QCheckBox *>(QStringLiteral("chkGuowai"))->isChecked());
    EXPECT_FALSE(window.findChild<QWidget *>(QStringLiteral("edtGuowai"))->isHidden());
    EXPECT_EQ(window.fields().text(QStringLiteral("edtYQ")), QStringLiteral("500.00"));
    EXPECT_EQ(window.fields().text(QStringLiteral("edtTotal")), QStringLiteral("2360.00"));

    // Switched by hand, the rule holds as ever.
    QCheckBox *international = window.findChild<QCheckBox *>(QStringLiteral("chkGuowai"));
    international->click();
    international->click();
    EXPECT_EQ(window.fields().text(QStringLiteral("edtYQ")), QString());
    EXPECT_EQ(window.fields().text(QStringLiteral("edtTotal")), QStringLiteral("1860.00"));
}

TEST_F(RememberedEntriesTest, ARefusedSaveShowsTheErrorAndTheWindowStillCloses)
{
    auto window = std::make_unique<MainWindow>(m_folder.path());
    // The settings file turns into a folder: no write can replace it.
    QFile::remove(m_folder.file(QStringLiteral("vantrel_cof.ini")));
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("vantrel_cof.ini")));
    window.reset();
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().front().kind, MessageBox::Kind::Error);
    EXPECT_EQ(m_boxes.shown().front().text, QStringLiteral("无法写入设置文件 ") +
                                                m_folder.file(QStringLiteral("vantrel_cof.ini")) +
                                                QStringLiteral("：它不是普通文件。"));
}

} // namespace

#ifdef Q_OS_UNIX
#include "FileSizeLimit.h"

namespace {

TEST_F(RememberedEntriesTest, AFullDiskAtCloseShowsTheErrorAndKeepsTheLastFile)
{
    setStorage(true);
    {
        MainWindow window(m_folder.path());
        window.fields().setText(QStringLiteral("edtPassenger"), u8s("张三"));
    }
    const QByteArray saved = m_folder.read(QStringLiteral("vantrel_cof.ini"));
    {
        auto window = std::make_unique<MainWindow>(m_folder.path());
        window->fields().setText(QStringLiteral("edtInformation"), QString(3000, u'X'));
        const FileSizeLimit diskFull(saved.size() + 100);
        window.reset();
    }
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().front().kind, MessageBox::Kind::Error);
    EXPECT_TRUE(m_boxes.shown().front().text.startsWith(QStringLiteral("无法写入设置文件 ")));
    EXPECT_EQ(m_folder.read(QStringLiteral("vantrel_cof.ini")), saved);
}

} // namespace
#endif
