#include "app/ReportPrinting.h"

#include "app/MessageBox.h"
#include "app/PreviewWindow.h"
#include "pnr/PassengerChooser.h"
#include "print/PrintService.h"

#include <QStringList>
#include <QToolButton>
#include <QWidget>

namespace {

QString refusalText(PrintService::Refusal why)
{
    switch (why) {
    case PrintService::Refusal::NoPassengers:
        return QStringLiteral("没有可以打印的旅客。");
    case PrintService::Refusal::JobRunning:
        return QStringLiteral("正在打印…");
    case PrintService::Refusal::NumberDeclined:
    case PrintService::Refusal::NoPrinter:
        break;
    }
    return QStringLiteral("没有默认打印机，无法打印。");
}

QString notPrintedText(const QStringList &notPrinted)
{
    return QStringLiteral("未打印的旅客：") + notPrinted.join(QStringLiteral("、"));
}

// The text of the error box for a job that did not print.
QString failureText(const PrintOutcome &outcome)
{
    return QStringLiteral("打印失败：%1：%2").arg(outcome.printer, outcome.reason);
}

} // namespace

// A preview and the page it shows; printing from it fills a new page.
struct ReportPrinting::PreviewSlot
{
    std::unique_ptr<ReceiptReport> rep;
    QPointer<PreviewWindow> window;
};

ReportPrinting::ReportPrinting(PrintService &service, PassengerChooser &passengers,
                               QWidget *boxParent)
    : m_service(service), m_passengers(passengers), m_boxParent(boxParent)
{
    connect(&m_service, &PrintService::busyChanged, this,
            [this](bool busy) { enablePreviewPrinting(!busy); });
    connect(&m_service, &PrintService::notSent, this, [this](PrintService::Refusal why) {
        // The agent said no to the number: nothing to tell.
        if (why != PrintService::Refusal::NumberDeclined)
            MessageBox::showMessage(m_boxParent, refusalText(why));
    });
    connect(&m_service, &PrintService::seriesStopped, this, [this](const QStringList &notPrinted) {
        MessageBox::showMessage(m_boxParent, notPrintedText(notPrinted));
    });
    connect(&m_service, &PrintService::errorOccurred, this,
            [this](const QString &message) { MessageBox::showError(m_boxParent, message); });
    connect(&m_service, &PrintService::jobFailed, this,
            [this](const PrintOutcome &outcome, const QStringList &notPrinted) {
                QString text = failureText(outcome);
                if (!notPrinted.isEmpty())
                    text += u'\n' + notPrintedText(notPrinted);
                MessageBox::showError(m_boxParent, text);
            });
    connect(&m_service, &PrintService::unconfirmedJob, this,
            [this](const QString &serialNumber, const QString &reason) {
                MessageBox::showMessage(
                    m_boxParent, QStringLiteral("无法确认印刷序列 %1 的行程单是否已打印（%2）。"
                                                "请查看票证，在“打印记录”中确认结果。")
                                     .arg(serialNumber, reason));
            });
}

ReportPrinting::~ReportPrinting()
{
    // The windows show pages held here: they go first.
    for (const std::shared_ptr<PreviewSlot> &slot : m_previews)
        delete slot->window.data();
}

PreviewWindow *ReportPrinting::preview(QWidget *owner)
{
    auto slot = std::make_shared<PreviewSlot>();
    slot->rep = m_service.newReceipt().report;
    std::weak_ptr<PreviewSlot> weakSlot = slot;
    auto *window = new PreviewWindow(slot->rep->reportPage(), [this, weakSlot] {
        const std::shared_ptr<PreviewSlot> shown = weakSlot.lock();
        if (!shown || m_service.busy())
            return;
        // What goes to paper is the receipt as it is now, with the serial
        // number that the last print has moved on: never a sheet twice.
        PrintService::Receipt receipt = m_service.newReceipt();
        if (shown->window)
            shown->window->setPage(receipt.report->reportPage());
        shown->rep = std::move(receipt.report);
        m_service.printReceipt(shown->rep->reportPage(), receipt.record);
    });
    slot->window = window;
    if (owner)
        window->setScreen(owner->screen());
    window->showMaximized();
    if (QToolButton *print = window->findChild<QToolButton *>(QStringLiteral("Print")))
        print->setEnabled(!m_service.busy());

    // Closed windows delete themselves; only the open ones are kept.
    std::erase_if(m_previews, [](const auto &open) { return open->window.isNull(); });
    m_previews.push_back(std::move(slot));
    return window;
}

bool ReportPrinting::printAll()
{
    PassengerChooser &chooser = m_passengers;
    return m_service.printAll({[&chooser] {
                                   QStringList names;
                                   for (const PassengerChooser::Entry &entry : chooser.entries())
                                       names.append(entry.name);
                                   return names;
                               },
                               [&chooser](int index) { chooser.choosePassenger(index); }});
}

void ReportPrinting::enablePreviewPrinting(bool enabled)
{
    for (const std::shared_ptr<PreviewSlot> &slot : m_previews) {
        if (!slot->window)
            continue;
        if (QToolButton *print = slot->window->findChild<QToolButton *>(QStringLiteral("Print")))
            print->setEnabled(enabled);
    }
}
