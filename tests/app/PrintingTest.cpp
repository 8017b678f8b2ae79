#include "AnsweredBoxes.h"
#include "itinerary/ItineraryFields.h"
#include "common/KestranoError.h"
#include "app/PagePrinter.h"
#include "common/Pattern.h"
#include "app/PreviewWindow.h"
#include "PrintTestSupport.h"
#include "PrivateCups.h"
#include "app/ReportPrinting.h"
#include "TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace {

QPrinterInfo noPrinter()
{
    return QPrinterInfo();
}

void writeSerialNumber(TItineraryFields &fields, const QString &serialNumber)
{
    fields.setText(QStringLiteral("edtSerNo"), serialNumber);
}

QString serialNumber(const TItineraryFields &fields)
{
    return fields.text(QStringLiteral("edtSerNo"));
}

QString checkCode(const TItineraryFields &fields)
{
    return fields.text(QStringLiteral("edtCk"));
}

QToolButton *button(const TPreviewWindow &window, const char *name)
{
    return window.findChild<QToolButton *>(QString::fromLatin1(name));
}

} // namespace

TEST(DirectPrint, WithoutPrinterNothingHappens)
{
    const TempFolder folder;
    TItineraryFields fields;
    writeSerialNumber(fields, QStringLiteral("1234567890 3"));
    fields.setText(QStringLiteral("edtCk"), QStringLiteral("0099"));

    TReportPrinting printing(fields, folder.path());
    printing.setPrinterLookup(&noPrinter);
    EXPECT_FALSE(printing.printDirect());
    EXPECT_EQ(serialNumber(fields), QStringLiteral("1234567890 3"));
    EXPECT_EQ(checkCode(fields), QStringLiteral("0099"));

    bool hookRan = false;
    TReportPage page;
    page.setAfterPrint([&] { hookRan = true; });
    EXPECT_FALSE(TPagePrinter(&noPrinter).print(page));
    EXPECT_FALSE(hookRan);
}

// One job of one page, named after the report, reaches the default printer;
// then the receipt is ready for the next sheet.
TEST(DirectPrint, JobReachesTheDefaultPrinterAndTheNumbersAdvance)
{
    SKIP_WITHOUT_PRINTER();
    const TempFolder folder;
    TItineraryFields fields;
    loadSampleReceipt(fields);
    writeSerialNumber(fields, QStringLiteral("5550001110 2"));
    ASSERT_EQ(checkCode(fields), QStringLiteral("1110"));
    const std::vector<Job> before = queuedJobs();

    TReportPrinting printing(fields, folder.path());
    EXPECT_TRUE(printing.printDirect());
    const std::vector<Job> printed = jobsShowing(QStringLiteral("5550001110"), before);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed.front().name, QStringLiteral("行程单"));
    EXPECT_EQ(pagesOf(printed.front()), 1);
    // Printed full-page without margins: the serial number stands where it
    // does on the PDF the renderer writes itself.
    const std::vector<Word> words = wordsOf(documentOf(printed.front()));
    const auto serial = std::find_if(words.begin(), words.end(), [](const Word &word) {
        return word.text == QLatin1String("5550001110");
    });
    ASSERT_NE(serial, words.end());
    EXPECT_NEAR(serial->left, 604, 1);
    EXPECT_NEAR(serial->top, 19, 2);
    EXPECT_EQ(serialNumber(fields), QStringLiteral("5550001111 3"));
    EXPECT_EQ(checkCode(fields), QStringLiteral("1111"));

    // Without a serial number the check code counts on.
    writeSerialNumber(fields, QString());
    fields.setText(QStringLiteral("edtCk"), QStringLiteral("9999"));
    EXPECT_TRUE(printing.printDirect());
    EXPECT_EQ(jobsShowing(QStringLiteral("9999"), before).size(), 1u);
    EXPECT_EQ(checkCode(fields), QStringLiteral("0000"));
}

TEST(Preview, OpensLocalisedAtFullZoomWithItsToolbarOnly)
{
    const TempFolder folder;
    TItineraryFields fields;
    loadSampleReceipt(fields);
    TReportPrinting printing(fields, folder.path());
    printing.setPrinterLookup(&noPrinter);
    QWidget owner;

    TPreviewWindow *window = printing.preview(&owner);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("预览"));
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->zoomPercent(), 100);
    EXPECT_EQ(window->previewWidget()->pageCount(), 1);
    EXPECT_EQ(window->page().reportTitle(), QStringLiteral("行程单"));

    // Left to right: 100 %, the zoom menu, the boxes, print, a separator, close.
    auto *toolBar = window->findChild<QToolBar *>();
    ASSERT_NE(toolBar, nullptr);
    QStringList shown;
    for (QAction *action : toolBar->actions()) {
        if (action->isSeparator()) {
            shown.append(QStringLiteral("|"));
            continue;
        }
        QWidget *control = toolBar->widgetForAction(action);
        if (control && control->isVisibleTo(window))
            shown.append(control->toolTip());
    }
    EXPECT_EQ(shown,
              QStringList({QStringLiteral("原始比例"), QStringLiteral("比例显示"),
                           QStringLiteral("底图"), QStringLiteral("打印"), QStringLiteral("|"),
                           QStringLiteral("关闭")}));
    EXPECT_TRUE(button(*window, "Zoom100")->isChecked());
    EXPECT_TRUE(button(*window, "Backdrop")->isCheckable());
    EXPECT_TRUE(button(*window, "Backdrop")->isChecked());
    QToolButton *close = button(*window, "ExitButton");
    EXPECT_EQ(close->text(), QStringLiteral("关闭"));
    EXPECT_EQ(close->font().family(), QStringLiteral("宋体"));
    EXPECT_EQ(close->font().pointSize(), 9);

    QStringList factors;
    for (QAction *factor : button(*window, "SpeedButton1")->menu()->actions())
        factors.append(factor->text());
    QStringList expected;
    for (int percent = 50; percent <= 200; percent += 10)
        expected.append(QString::number(percent) + u'%');
    EXPECT_EQ(factors, expected);
}

// Where the window system cannot maximise, the preview still opens at a size
// that shows the page, not at a widget's default size.
TEST(Preview, UsefulSizeWithoutMaximising)
{
    TReportPage page;
    TPreviewWindow window(page, {});
    const QSize free = window.screen()->availableGeometry().size();
    EXPECT_GE(window.width(), free.width() * 8 / 10);
    EXPECT_GE(window.height(), free.height() * 8 / 10);
}

// "底图" shows the boxes under the values in the preview and takes them away;
// what prints never has them.
TEST(Preview, BackdropButtonSwitchesTheBoxes)
{
    const TempFolder folder;
    TItineraryFields fields;
    loadSampleReceipt(fields);
    TReportPrinting printing(fields, folder.path());
    printing.setPrinterLookup(&noPrinter);
    TPreviewWindow *window = printing.preview(nullptr);
    QCoreApplication::processEvents();
    const auto greyPixels = [&] {
        const QImage shot = window->previewWidget()->grab().toImage();
        int grey = 0;
        for (int y = 0; y < shot.height(); y += 2) {
            for (int x = 0; x < shot.width(); x += 2) {
                const QRgb pixel = shot.pixel(x, y);
                if (qRed(pixel) == 236 && qGreen(pixel) == 236 && qBlue(pixel) == 236)
                    ++grey;
            }
        }
        return grey;
    };
    const int withBoxes = greyPixels();
    button(*window, "Backdrop")->click();
    EXPECT_FALSE(button(*window, "Backdrop")->isChecked());
    // The page's own anti-aliasing has a few pixels of that grey.
    const int without = greyPixels();
    EXPECT_GT(withBoxes, without + 1000);
    button(*window, "Backdrop")->click();
    EXPECT_EQ(greyPixels(), withBoxes);
}

TEST(Preview, ZoomFollowsTheMenuAndThe100Button)
{
    const TempFolder folder;
    TItineraryFields fields;
    TReportPrinting printing(fields, folder.path());
    TPreviewWindow *window = printing.preview(nullptr);
    QToolButton *zoom100 = button(*window, "Zoom100");

    for (QAction *factor : button(*window, "SpeedButton1")->menu()->actions()) {
        if (factor->text() == QLatin1String("150%"))
            factor->trigger();
    }
    EXPECT_EQ(window->zoomPercent(), 150);
    EXPECT_FALSE(zoom100->isChecked());
    zoom100->click();
    EXPECT_EQ(window->zoomPercent(), 100);
    EXPECT_TRUE(zoom100->isChecked());
}

// Opening, zooming and closing print nothing and advance nothing; the page
// stays with its owner.
TEST(Preview, ClosingAdvancesNothing)
{
    const TempFolder folder;
    TItineraryFields fields;
    writeSerialNumber(fields, QStringLiteral("1234567890 3"));
    TReportPrinting printing(fields, folder.path());
    QPointer<TPreviewWindow> window = printing.preview(nullptr);
    const TReportPage *page = &window->page();
    window->findChild<QToolButton *>(QStringLiteral("ExitButton"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(serialNumber(fields), QStringLiteral("1234567890 3"));
    EXPECT_EQ(checkCode(fields), QStringLiteral("7890"));
    EXPECT_EQ(page->reportTitle(), QStringLiteral("行程单"));
}

TEST(Preview, PrintButtonWithoutPrinterDoesNothing)
{
    const TempFolder folder;
    TItineraryFields fields;
    writeSerialNumber(fields, QStringLiteral("1234567890 3"));
    TReportPrinting printing(fields, folder.path());
    printing.setPrinterLookup(&noPrinter);
    TPreviewWindow *window = printing.preview(nullptr);
    button(*window, "Print")->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(serialNumber(fields), QStringLiteral("1234567890 3"));
}

// Each print from the preview prints the page as it was filled, while the
// receipt moves on each time.
TEST(Preview, EachPrintAdvancesWhileThePageStaysAsFilled)
{
    SKIP_WITHOUT_PRINTER();
    const TempFolder folder;
    TItineraryFields fields;
    writeSerialNumber(fields, QStringLiteral("5550002220 4"));
    TReportPrinting printing(fields, folder.path());
    TPreviewWindow *window = printing.preview(nullptr);
    const std::vector<Job> before = queuedJobs();

    button(*window, "Print")->click();
    button(*window, "Print")->click();
    EXPECT_EQ(jobsShowing(QStringLiteral("5550002220"), before).size(), 2u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(serialNumber(fields), QStringLiteral("5550002222 6"));
    EXPECT_EQ(checkCode(fields), QStringLiteral("2222"));

    QString printed;
    for (const auto &label : window->page().labels()) {
        if (label->name() == QLatin1String("qlblSerNo"))
            printed += label->text();
    }
    EXPECT_EQ(printed, QStringLiteral("5550002220 4"));
}

TEST(Preview, FailedPrintShowsTheErrorAndKeepsTheWindow)
{
    const AnsweredBoxes boxes;
    TReportPage page;
    TPreviewWindow window(page,
                          [] { throw KestranoError(QStringLiteral("Unable to print to PDF")); });
    window.show();
    button(window, "Print")->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().front().kind, MessageBox::Kind::Error);
    EXPECT_EQ(boxes.shown().front().text, QStringLiteral("Unable to print to PDF."));
    EXPECT_TRUE(window.isVisible());
}

// An open preview does not keep the program running once the main window has
// closed.
TEST(Preview, ClosingTheOwnerIsClosingTheLastWindow)
{
    const TempFolder folder;
    TItineraryFields fields;
    TReportPrinting printing(fields, folder.path());
    QWidget owner;
    owner.show();
    TPreviewWindow *window = printing.preview(&owner);
    ASSERT_TRUE(window->isVisible());
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    // The application notices its last window only while its loop runs; the
    // second timer only keeps a failing test from hanging.
    bool stillRunning = false;
    QTimer::singleShot(0, &owner, &QWidget::close);
    QTimer::singleShot(10000, qApp, [&] {
        stillRunning = true;
        QCoreApplication::quit();
    });
    QApplication::exec();
    EXPECT_FALSE(stillRunning);
    EXPECT_EQ(lastClosed.count(), 1);
}
