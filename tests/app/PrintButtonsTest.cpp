#include "AnsweredBoxes.h"
#include "app/MainWindow.h"
#include "app/PreviewWindow.h"
#include "PrivateCups.h"
#include "TempFolder.h"

#include <QApplication>
#include <QFile>
#include <QPrinterInfo>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class PrintButtonsTest : public ::testing::Test
{
protected:
    PrintButtonsTest()
    {
        FFolder.copyDeliveredLists();
        FWindow = std::make_unique<TfrmMain>(FFolder.path());
        TItineraryFields &fields = FWindow->fields();
        fields.setText(QStringLiteral("edtPassenger"), QStringLiteral("ZHANG/SAN"));
        fields.setText(QStringLiteral("edtFlight1"), QStringLiteral("MU5132"));
        fields.setText(QStringLiteral("edtFare"), QStringLiteral("1860.00"));
    }

    void press(const char *button)
    {
        FWindow->findChild<QPushButton *>(QString::fromLatin1(button))->click();
    }

    QString text(const char *name) { return FWindow->fields().text(QString::fromLatin1(name)); }

    TempFolder FFolder;
    AnsweredBoxes FBoxes;
    std::unique_ptr<TfrmMain> FWindow;
};

TEST_F(PrintButtonsTest, DirectPrintSendsOnePageToTheDefaultPrinterAndAdvances)
{
    SKIP_WITHOUT_PRINTER();
    FWindow->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440000999 6"));
    const std::vector<Job> before = queuedJobs();
    press("btnPrint");
    EXPECT_TRUE(FBoxes.shown().isEmpty());
    const std::vector<Job> printed = jobsShowing(QStringLiteral("4440000999"), before);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(pagesOf(printed.front()), 1);
    EXPECT_EQ(text("edtSerNo"), QStringLiteral("4440001000 0"));
    EXPECT_EQ(text("edtCk"), QStringLiteral("1000"));
}

TEST_F(PrintButtonsTest, WithoutADefaultPrinterDirectPrintDoesNothing)
{
    FWindow->printing().setPrinterLookup([] { return QPrinterInfo(); });
    FWindow->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440000999 6"));
    press("btnPrint");
    EXPECT_TRUE(FBoxes.shown().isEmpty());
    EXPECT_EQ(text("edtSerNo"), QStringLiteral("4440000999 6"));
    EXPECT_EQ(text("edtCk"), QStringLiteral("0999"));
}

TEST_F(PrintButtonsTest, PreviewOpensItsOwnWindowAndLeavesTheMainWindowUsable)
{
    FWindow->printing().setPrinterLookup([] { return QPrinterInfo(); });
    FWindow->show();
    press("btnReport");
    TPreviewWindow *preview = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<TPreviewWindow *>(top); window && window->isVisible())
            preview = window;
    }
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("预览"));
    EXPECT_FALSE(preview->isModal());
    EXPECT_TRUE(FWindow->isEnabled());
    FWindow->fields().setText(QStringLiteral("edtFare"), QStringLiteral("100"));
    EXPECT_EQ(text("edtTotal"), QStringLiteral("100.00"));
}

} // namespace
