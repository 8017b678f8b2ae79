#include "app/MessageBox.h"
#include "AnsweredBoxes.h"
#include "Strings.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <new>
#include <stdexcept>
#include <gtest/gtest.h>

namespace {

TEST(StandardErrorBox, AppendsAFullStopOfTheSentencesLanguage)
{
    const struct
    {
        const char *message;
        const char *shown;
    } cases[] = {{"Unable to write to /x/vantrel_cof.ini", "Unable to write to /x/vantrel_cof.ini."},
                 {"Done.", "Done."},
                 {"Failed!", "Failed!"},
                 {"code 42", "code 42."},
                 {"无法连接", "无法连接。"},
                 {"无法写入设置文件 /x/vantrel_cof.ini", "无法写入设置文件 /x/vantrel_cof.ini。"},
                 {"提取失败！", "提取失败！"},
                 {"已停止。", "已停止。"},
                 {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(MessageBox::withFullStop(u8s(c.message)), u8s(c.shown)) << c.message;
}

// A box shows its text as the characters it is: a desk name or a server's
// words with markup in them never render as headings or links.
TEST(MessageBoxes, ShowTheirTextAsPlainText)
{
    const QString hostile = u8s("印刷序列已在 <h1>柜台</h1><a href=\"http://x\">点这里</a> 打印");
    const struct
    {
        const char *kind;
        std::function<void()> show;
    } boxes[] = {
        {"message", [&] { MessageBox::showMessage(nullptr, hostile); }},
        {"error", [&] { MessageBox::showError(nullptr, hostile); }},
        {"yes/no question", [&] { MessageBox::askYesNo(nullptr, hostile); }},
    };
    for (const auto &box : boxes) {
        SCOPED_TRACE(box.kind);
        Qt::TextFormat format = Qt::RichText;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            format = dialog->textFormat();
            shown = dialog->text();
            dialog->reject();
        });
        box.show();
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_TRUE(shown.startsWith(hostile)) << shown.toStdString();
    }
}

// An action that runs out of memory, or fails in a way nobody foresaw, ends
// in an error box in Chinese: the program goes on with what the window shows.
TEST(MessageBoxes, AGuardedActionThatFailsEndsInAnErrorBox)
{
    AnsweredBoxes boxes;
    MessageBox::guarded(nullptr, [] { throw std::bad_alloc(); });
    MessageBox::guarded(nullptr, [] { throw std::runtime_error("vector::reserve"); });
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().at(0).kind, MessageBox::Kind::Error);
    EXPECT_EQ(boxes.shown().at(0).text, u8s("内存不足，操作没有完成。"));
    EXPECT_EQ(boxes.shown().at(1).text, u8s("操作没有完成：程序内部错误（vector::reserve）。"));
}

} // namespace
