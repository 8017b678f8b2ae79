#include "AnsweredBoxes.h"
#include "PrintTestSupport.h"
#include "PrivateCups.h"
#include "TempFolder.h"
#include "app/PreviewWindow.h"
#include "app/ReportPrinting.h"
#include "common/KestranoError.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "print/PrintJournal.h"
#include "print/PrintService.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <chrono>

namespace {

using namespace std::chrono_literals;
using Outcome = PrintJournal::Outcome;

QString noPrinter()
{
    return QString();
}

QString serialNumber(const ItineraryFields &fields)
{
    return fields.text(QStringLiteral("edtSerNo"));
}

QString checkCode(const ItineraryFields &fields)
{
    return fields.text(QStringLiteral("edtCk"));
}

QToolButton *button(const PreviewWindow &window, const char *name)
{
    return window.findChild<QToolButton *>(QString::fromLatin1(name));
}

// A receipt, its printing and what the boxes said, in a folder of its own.
class Printing
{
public:
    // Starts a print and waits, in the event loop, until the job has ended.
    PrintOutcome printed(const std::function<bool()> &start)
    {
        QSignalSpy ended(&m_service, &PrintService::jobEnded);
        if (!start())
            return {PrintOutcome::Result::Failed, QString(), 0, QStringLiteral("not started")};
        EXPECT_TRUE(ended.wait(120000));
        return ended.isEmpty() ? PrintOutcome() : ended.front().front().value<PrintOutcome>();
    }
    PrintOutcome printDirect()
    {
        return printed([this] { return m_service.printDirect(); });
    }

    PrintJournal::Row lastRow() { return journal().row(journal().rowCount()); }
    PrintJournal &journal() { return m_service.journal(); }

    TempFolder m_folder;
    AnsweredBoxes m_boxes;
    ItineraryFields m_fields;
    PassengerChooser m_passengers{m_fields};
    PrintService m_service{m_fields, m_folder.path()};
    ReportPrinting m_printing{m_service, m_passengers};
};

// The page as the preview draws it, written to a PDF by the preview's kind of
// printer.
void writePreviewRendering(const ReportPage &page, const QString &path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter painter(&printer);
    renderPage(page, painter);
}

} // namespace

TEST(DirectPrint, WithoutDefaultPrinterSaysSoAndRecordsNothing)
{
    Printing p;
    p.m_fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890 3"));
    p.m_service.setPrinterLookup(&noPrinter);
    EXPECT_FALSE(p.m_service.printDirect());
    EXPECT_FALSE(p.m_service.busy());
    ASSERT_EQ(p.m_boxes.shown().size(), 1);
    EXPECT_EQ(p.m_boxes.shown().front().kind, MessageBox::Kind::Plain);
    EXPECT_EQ(p.m_boxes.shown().front().text, QStringLiteral("没有默认打印机，无法打印。"));
    EXPECT_EQ(serialNumber(p.m_fields), QStringLiteral("1234567890 3"));
    EXPECT_EQ(checkCode(p.m_fields), QStringLiteral("7890"));
    EXPECT_EQ(p.journal().rowCount(), 0);
}

// The default printer of the print system prints one page; only then does
// the receipt move on, and the journal knows the job.
TEST(DirectPrint, CompletedJobAdvancesTheNumbersAndIsRecorded)
{
    SKIP_WITHOUT_PRINTER();
    Printing p;
    loadSampleReceipt(p.m_fields);
    p.m_fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("5550001110 2"));
    ASSERT_EQ(checkCode(p.m_fields), QStringLiteral("1110"));

    const PrintOutcome outcome = p.printDirect();
    EXPECT_EQ(outcome.result, PrintOutcome::Result::Printed) << outcome.reason.toStdString();
    EXPECT_EQ(outcome.printer, QStringLiteral("PDF"));
    EXPECT_TRUE(p.m_boxes.shown().isEmpty());
    EXPECT_EQ(jobState(outcome.jobId), QStringLiteral("completed"));
    EXPECT_EQ(pagesOf(documentOf(outcome.jobId)), 1);
    EXPECT_TRUE(textOf(documentOf(outcome.jobId)).contains(QStringLiteral("5550001110")));
    EXPECT_EQ(serialNumber(p.m_fields), QStringLiteral("5550001111 3"));
    EXPECT_EQ(checkCode(p.m_fields), QStringLiteral("1111"));

    const PrintJournal::Row row = p.lastRow();
    EXPECT_EQ(row.outcome, Outcome::Printed);
    EXPECT_EQ(row.jobId, outcome.jobId);
    EXPECT_EQ(row.printer, QStringLiteral("PDF"));
    EXPECT_EQ(row.record.serialNumber, QStringLiteral("5550001110 2"));
    EXPECT_EQ(row.record.checkCode, QStringLiteral("1110"));
    EXPECT_EQ(row.record.passenger, QStringLiteral("张三"));
    EXPECT_EQ(row.record.flights, QStringLiteral("MU5132"));
    EXPECT_EQ(row.record.total, QStringLiteral("1910.00"));
    EXPECT_EQ(row.record.fields.value(QStringLiteral("edtFrom1")).toString(),
              QStringLiteral("北京首都"));

    // Without a serial number the check code counts on.
    p.m_fields.setText(QStringLiteral("edtSerNo"), QString());
    p.m_fields.setText(QStringLiteral("edtCk"), QStringLiteral("9999"));
    EXPECT_EQ(p.printDirect().result, PrintOutcome::Result::Printed);
    EXPECT_EQ(checkCode(p.m_fields), QStringLiteral("0000"));
}

// A job that does not print leaves the numbers for the sheet in the tray,
// names the printer and the reason, and is recorded as failed.
TEST(DirectPrint, FailedJobsLeaveTheNumbersAndSayWhy)
{
    SKIP_WITHOUT_PRINTER();
    const struct
    {
        const char *printer;
        const char *reason; // the start of the reason
        bool jobTaken;
    } cases[] = {
        {"Broken", "作业已停止", true},        // its device cannot be written
        {"Paused", "打印机已暂停", false},     // stopped by its administrator
        {"Held", "作业未在 1 秒内完成", true}, // the job waits beyond the limit
        {"Missing", "", false},                // no such printer
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.printer);
        Printing p;
        const QString printer = QString::fromLatin1(c.printer);
        p.m_service.setPrinterLookup([printer] { return printer; });
        p.m_service.setTimeLimit(1s);
        p.m_fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("5550003330 1"));

        const PrintOutcome outcome = p.printDirect();
        EXPECT_EQ(outcome.result, PrintOutcome::Result::Failed);
        EXPECT_TRUE(outcome.reason.startsWith(QString::fromUtf8(c.reason)))
            << outcome.reason.toStdString();
        EXPECT_FALSE(outcome.reason.isEmpty());
        EXPECT_EQ(outcome.jobId != 0, c.jobTaken);
        if (c.jobTaken) { // given up on, it can never print later
            EXPECT_EQ(jobState(outcome.jobId), QStringLiteral("canceled"));
        }
        EXPECT_EQ(serialNumber(p.m_fields), QStringLiteral("5550003330 1"));
        EXPECT_EQ(checkCode(p.m_fields), QStringLiteral("3330"));

        ASSERT_EQ(p.m_boxes.shown().size(), 1);
        EXPECT_EQ(p.m_boxes.shown().front().kind, MessageBox::Kind::Error);
        EXPECT_TRUE(p.m_boxes.shown().front().text.startsWith(QStringLiteral("打印失败：") +
                                                              printer + QStringLiteral("：") +
                                                              QString::fromUtf8(c.reason)))
            << p.m_boxes.shown().front().text.toStdString();

        const PrintJournal::Row row = p.lastRow();
        EXPECT_EQ(row.outcome, Outcome::Failed);
        EXPECT_EQ(row.printer, printer);
        EXPECT_EQ(row.jobId, outcome.jobId);
        EXPECT_EQ(row.reason, outcome.reason);
        EXPECT_EQ(row.record.serialNumber, QStringLiteral("5550003330 1"));
        EXPECT_FALSE(p.m_service.busy());
    }
}

TEST(Preview, OpensLocalisedAtFullZoomWithItsToolbarOnly)
{
    Printing p;
    loadSampleReceipt(p.m_fields);
    p.m_service.setPrinterLookup(&noPrinter);
    QWidget owner;

    PreviewWindow *window = p.m_printing.preview(&owner);
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
    EXPECT_EQ(shown, QStringList({QStringLiteral("原始比例"), QStringLiteral("比例显示"),
                                  QStringLiteral("底图"), QStringLiteral("打印"),
                                  QStringLiteral("|"), QStringLiteral("关闭")}));
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
    ReportPage page;
    PreviewWindow window(page, {});
    const QSize free = window.screen()->availableGeometry().size();
    EXPECT_GE(window.width(), free.width() * 8 / 10);
    EXPECT_GE(window.height(), free.height() * 8 / 10);
}

// "底图" shows the boxes under the values in the preview and takes them away;
// what prints never has them.
TEST(Preview, BackdropButtonSwitchesTheBoxes)
{
    Printing p;
    loadSampleReceipt(p.m_fields);
    PreviewWindow *window = p.m_printing.preview(nullptr);
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
    Printing p;
    PreviewWindow *window = p.m_printing.preview(nullptr);
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

// Opening, zooming and closing print nothing and advance nothing.
TEST(Preview, ClosingAdvancesNothing)
{
    Printing p;
    p.m_fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890 3"));
    QPointer<PreviewWindow> window = p.m_printing.preview(nullptr);
    window->findChild<QToolButton *>(QStringLiteral("ExitButton"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(serialNumber(p.m_fields), QStringLiteral("1234567890 3"));
    EXPECT_EQ(checkCode(p.m_fields), QStringLiteral("7890"));
    EXPECT_EQ(p.journal().rowCount(), 0);
}

TEST(Preview, PrintButtonWithoutPrinterSaysSo)
{
    Printing p;
    p.m_fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890 3"));
    p.m_service.setPrinterLookup(&noPrinter);
    PreviewWindow *window = p.m_printing.preview(nullptr);
    button(*window, "Print")->click();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(p.m_boxes.shown().size(), 1);
    EXPECT_EQ(p.m_boxes.shown().front().text, QStringLiteral("没有默认打印机，无法打印。"));
    EXPECT_EQ(serialNumber(p.m_fields), QStringLiteral("1234567890 3"));
}

// Each print from an open preview fills the page again from the receipt, so
// two prints carry two serial numbers, and the preview shows the last one.
// What reaches the printer has every character where the preview draws it.
TEST(Preview, EachPrintTakesTheReceiptAsItIsNow)
{
    SKIP_WITHOUT_PRINTER();
    Printing p;
    loadSampleReceipt(p.m_fields);
    p.m_fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("5550002220 4"));
    PreviewWindow *window = p.m_printing.preview(nullptr);

    const auto printFromPreview = [&] {
        return p.printed([&] {
            button(*window, "Print")->click();
            return p.m_service.busy();
        });
    };
    const PrintOutcome first = printFromPreview();
    ASSERT_EQ(first.result, PrintOutcome::Result::Printed) << first.reason.toStdString();
    const PrintOutcome second = printFromPreview();
    ASSERT_EQ(second.result, PrintOutcome::Result::Printed) << second.reason.toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(textOf(documentOf(first.jobId)).contains(QStringLiteral("5550002220 4")));
    EXPECT_TRUE(textOf(documentOf(second.jobId)).contains(QStringLiteral("5550002221 5")));
    EXPECT_EQ(serialNumber(p.m_fields), QStringLiteral("5550002222 6"));
    EXPECT_EQ(checkCode(p.m_fields), QStringLiteral("2222"));

    QString shownSerial;
    for (const auto &label : window->page().labels()) {
        if (label->name() == QLatin1String("qlblSerNo"))
            shownSerial += label->text();
    }
    EXPECT_EQ(shownSerial, QStringLiteral("5550002221 5"));

    const TempFolder out;
    writePreviewRendering(window->page(), out.file(QStringLiteral("preview.pdf")));
    const std::vector<Word> printed = wordsOf(documentOf(second.jobId));
    const std::vector<Word> previewed = wordsOf(out.file(QStringLiteral("preview.pdf")));
    ASSERT_EQ(printed.size(), previewed.size());
    ASSERT_GT(printed.size(), 20u);
    for (size_t i = 0; i < printed.size(); ++i) {
        SCOPED_TRACE(printed[i].text.toStdString());
        EXPECT_EQ(printed[i].text, previewed[i].text);
        EXPECT_NEAR(printed[i].left, previewed[i].left, 1);
        EXPECT_NEAR(printed[i].top, previewed[i].top, 1);
    }
}

TEST(Preview, FailedPrintShowsTheErrorAndKeepsTheWindow)
{
    const AnsweredBoxes boxes;
    ReportPage page;
    PreviewWindow window(page,
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
    Printing p;
    QWidget owner;
    owner.show();
    PreviewWindow *window = p.m_printing.preview(&owner);
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
