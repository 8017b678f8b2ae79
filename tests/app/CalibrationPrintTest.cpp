#include "AnsweredBoxes.h"
#include "app/MainWindow.h"
#include "app/OptionFrm.h"
#include "PrivateCups.h"
#include "settings/PrivateConfig.h"
#include "Strings.h"
#include "TempFolder.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

// "打印校准页" in the settings dialog prints one plain A4 page to the default
// printer and leaves the receipt's numbers alone.
TEST(CalibrationPrint, OneA4PageAndTheSerialNumberStays)
{
    SKIP_WITHOUT_PRINTER();
    TempFolder folder;
    folder.copyDeliveredLists();
    AnsweredBoxes boxes;
    TfrmMain window(folder.path());
    window.fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("3330000123 1"));
    const QString checkCode = window.fields().text(QStringLiteral("edtCk"));
    const std::vector<Job> before = queuedJobs();

    bool clicked = false;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<TfrmOption *>(QApplication::activeModalWidget());
        if (dialog) {
            // Offsets being tried, not saved.
            dialog->findChild<QLineEdit *>(QStringLiteral("edtHPos"))->setText(QStringLiteral("-7"));
            dialog->findChild<QPushButton *>(QStringLiteral("btnCalibrate"))->click();
            clicked = true;
            dialog->reject();
        }
    });
    window.findChild<QPushButton *>(QStringLiteral("Button6"))->click();
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(boxes.shown().isEmpty());

    std::vector<Job> printed;
    for (const Job &job : queuedJobs()) {
        const bool old = std::any_of(before.begin(), before.end(),
                                     [&](const Job &seen) { return seen.id == job.id; });
        if (!old && job.name == u8s("校准页"))
            printed.push_back(job);
    }
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(pagesOf(printed.front()), 1);
    const QString info = toolOutput(QStringLiteral("pdfinfo"), {documentOf(printed.front())});
    EXPECT_TRUE(info.contains(QLatin1String("(A4)"))) << info.toStdString();
    const QString text =
        toolOutput(QStringLiteral("pdftotext"), {documentOf(printed.front()), QStringLiteral("-")});
    EXPECT_TRUE(text.contains(u8s("左右偏移 -7"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("3330000123")));

    EXPECT_EQ(window.fields().text(QStringLiteral("edtSerNo")), QStringLiteral("3330000123 1"));
    EXPECT_EQ(window.fields().text(QStringLiteral("edtCk")), checkCode);
    // Nothing was saved either.
    EXPECT_NE(TPrivateConfig(false, folder.path()).GetStr(QStringLiteral("hpos")),
              QStringLiteral("-7"));
}
