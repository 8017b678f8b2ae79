#include "AnsweredBoxes.h"
#include "PrivateCups.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "app/SettingsDialog.h"
#include "settings/PrivateConfig.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

// "打印校准页" in the settings dialog prints one plain A4 page to the default
// printer and leaves the receipt's numbers alone.
TEST(CalibrationPrint, OneA4PageAndTheSerialNumberStays)
{
    SKIP_WITHOUT_PRINTER();
    TempFolder folder;
    folder.copyDeliveredLists();
    AnsweredBoxes boxes;
    MainWindow window(folder.path());
    window.fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("3330000123 1"));
    const QString checkCode = window.fields().text(QStringLiteral("edtCk"));
    QSignalSpy ended(&window.printing(), &PrintService::jobEnded);

    bool clicked = false;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<SettingsDialog *>(QApplication::activeModalWidget());
        if (dialog) {
            // Offsets being tried, not saved.
            dialog->findChild<QLineEdit *>(QStringLiteral("edtHPos"))
                ->setText(QStringLiteral("-7"));
            dialog->findChild<QPushButton *>(QStringLiteral("btnCalibrate"))->click();
            clicked = true;
            dialog->reject();
        }
    });
    window.findChild<QPushButton *>(QStringLiteral("Button6"))->click();
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(boxes.shown().isEmpty());

    ASSERT_TRUE(ended.wait(120000));
    const auto outcome = ended.front().front().value<PrintOutcome>();
    ASSERT_EQ(outcome.result, PrintOutcome::Result::Printed) << outcome.reason.toStdString();
    const QString document = documentOf(outcome.jobId);
    EXPECT_EQ(pagesOf(document), 1);
    EXPECT_EQ(jobName(outcome.jobId), u8s("校准页"));
    const QString info = toolOutput(QStringLiteral("pdfinfo"), {document});
    EXPECT_TRUE(info.contains(QLatin1String("(A4)"))) << info.toStdString();
    const QString text = textOf(document);
    EXPECT_TRUE(text.contains(u8s("左右偏移 -7"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("3330000123")));

    EXPECT_EQ(window.fields().text(QStringLiteral("edtSerNo")), QStringLiteral("3330000123 1"));
    EXPECT_EQ(window.fields().text(QStringLiteral("edtCk")), checkCode);
    // Nothing was saved either.
    EXPECT_NE(PrivateConfig(false, folder.path()).getStr(QStringLiteral("hpos")),
              QStringLiteral("-7"));
}
