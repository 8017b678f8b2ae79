#include "AnsweredBoxes.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "app/PnrTextBox.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

namespace {

// A display is a few kilobytes; a paste beyond a megabyte is refused with a
// message and the box keeps what it held. A display up to the limit pastes.
TEST(PnrPaste, ATextBeyondAMegabyteIsRefusedWithAMessage)
{
    TempFolder folder;
    folder.copyDeliveredLists();
    AnsweredBoxes boxes;
    MainWindow window(folder.path());
    auto *box = window.findChild<PnrTextBox *>(QStringLiteral("Memo1"));
    ASSERT_NE(box, nullptr);

    const struct
    {
        QString pasted;
        bool taken;
    } cases[] = {
        {QStringLiteral(" 1.ZHANG/SAN KQ7X2M\n"), true},
        {QString(PnrTextBox::maxPasteBytes, u'A'), true},
        {QString(PnrTextBox::maxPasteBytes + 1, u'A'), false},
        // Three bytes each in UTF-8: over the limit in bytes, not in characters.
        {QString(PnrTextBox::maxPasteBytes / 3 + 1, u'张'), false},
    };
    for (const auto &c : cases) {
        window.fields().setText(QStringLiteral("Memo1"), QStringLiteral("KEPT"));
        box->selectAll();
        QApplication::clipboard()->setText(c.pasted);
        const qsizetype shownBefore = boxes.shown().size();
        box->paste();
        const QString held = window.fields().text(QStringLiteral("Memo1"));
        if (c.taken) {
            EXPECT_EQ(held.size(), c.pasted.size());
            EXPECT_EQ(boxes.shown().size(), shownBefore);
        } else {
            EXPECT_EQ(held, QStringLiteral("KEPT"));
            ASSERT_EQ(boxes.shown().size(), shownBefore + 1);
            EXPECT_TRUE(boxes.shown().last().text.contains(QStringLiteral("1MB")));
        }
    }
}

} // namespace
