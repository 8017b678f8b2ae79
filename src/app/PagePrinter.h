#pragma once

#include <QPrinterInfo>
#include <functional>

class TReportPage;

// Prints a page straight to the current default printer: one copy, A4
// portrait, no dialog, the page's report title as the job's name.
class TPagePrinter
{
public:
    // Names the printer to use; a null QPrinterInfo means there is none.
    using PrinterLookup = std::function<QPrinterInfo()>;

    // Asking the print system can take seconds, so the lookup runs only when
    // a page is printed.
    explicit TPagePrinter(PrinterLookup lookup = &QPrinterInfo::defaultPrinter);

    // Without a printer nothing happens and false comes back. Otherwise the
    // job is produced and, once the printer has taken all of it, the page's
    // after-print hook runs and true comes back. A job that fails raises
    // KestranoError and runs no hook.
    bool print(const TReportPage &page) const;

private:
    PrinterLookup FLookup;
};
