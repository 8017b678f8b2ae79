#pragma once

#include "app/PagePrinter.h"

#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

class QWidget;
class TItineraryFields;
class TPreviewWindow;
class TfrmRep;

// The two ways to paper, "打印预览" and "直接打印". Each click makes its own
// page from the print layout, titles it "行程单" and fills it from the
// receipt; after every job that reached the printer the serial number (or
// else the check code) moves on for the next sheet. The main window owns one
// of these for its whole life; the pages of previews live as long as it does.
class TReportPrinting
{
public:
    // settingsFolder holds the settings file with the print settings.
    TReportPrinting(TItineraryFields &fields, const QString &settingsFolder);
    ~TReportPrinting();

    TReportPrinting(const TReportPrinting &) = delete;
    TReportPrinting &operator=(const TReportPrinting &) = delete;

    // Which printer "the default printer" is; QPrinterInfo::defaultPrinter()
    // unless replaced.
    void setPrinterLookup(TPagePrinter::PrinterLookup lookup);

    // "打印预览": opens the preview of a new page on the owner's screen and
    // returns at once; the window closes itself or with this object.
    TPreviewWindow *preview(QWidget *owner);

    // "直接打印": prints a new page to the default printer without a dialog;
    // false, and no change to any field, when there is no printer. Raises
    // KestranoError when the job fails.
    bool printDirect();

private:
    std::unique_ptr<TfrmRep> newPage() const;

    TItineraryFields &FFields;
    QString FSettingsFolder;
    TPagePrinter FPrinter;
    std::vector<std::unique_ptr<TfrmRep>> FPreviewPages;
    std::vector<QPointer<TPreviewWindow>> FPreviews;
};
