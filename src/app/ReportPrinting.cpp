#include "app/ReportPrinting.h"

#include "print/NumberAdvance.h"
#include "app/PreviewWindow.h"
#include "print/RepFrm.h"
#include "print/ReportFiller.h"

#include <QWidget>

TReportPrinting::TReportPrinting(TItineraryFields &fields, const QString &settingsFolder)
    : FFields(fields), FSettingsFolder(settingsFolder)
{}

TReportPrinting::~TReportPrinting()
{
    // The windows show pages held here: they go first.
    for (const QPointer<TPreviewWindow> &window : FPreviews)
        delete window.data();
}

void TReportPrinting::setPrinterLookup(TPagePrinter::PrinterLookup lookup)
{
    FPrinter = TPagePrinter(std::move(lookup));
}

std::unique_ptr<TfrmRep> TReportPrinting::newPage() const
{
    auto rep = std::make_unique<TfrmRep>();
    rep->ReportPage().setReportTitle(QStringLiteral("行程单"));
    // The advance acts on the receipt as it is now, whichever page printed.
    rep->ReportPage().setAfterPrint([this] { ReportPageAfterPrint(FFields); });
    FillReport(*rep, FFields, FSettingsFolder);
    return rep;
}

TPreviewWindow *TReportPrinting::preview(QWidget *owner)
{
    std::unique_ptr<TfrmRep> rep = newPage();
    const TReportPage &page = rep->ReportPage();
    FPreviewPages.push_back(std::move(rep));

    auto *window = new TPreviewWindow(page, [this, &page] { FPrinter.print(page); });
    if (owner)
        window->setScreen(owner->screen());
    window->showMaximized();

    // Closed windows delete themselves; only the open ones are kept.
    std::erase_if(FPreviews, [](const QPointer<TPreviewWindow> &open) { return open.isNull(); });
    FPreviews.emplace_back(window);
    return window;
}

bool TReportPrinting::printDirect()
{
    const std::unique_ptr<TfrmRep> rep = newPage();
    return FPrinter.print(rep->ReportPage());
}
