#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QWidget;
class PassengerChooser;
class PreviewWindow;
class PrintService;

// The windows' side of printing: "打印预览" and its windows, "全部打印" over
// the passengers of the chooser, and a message box for everything the print
// service reports (nothing sent, a job that did not print, a passenger left
// without a receipt, a journal error). The windows stay usable while a job
// runs; the print buttons of the previews wait for it. The main window owns
// one of these for its whole life, beside the service.
class ReportPrinting : public QObject
{
    Q_OBJECT

public:
    // Boxes are shown over boxParent.
    ReportPrinting(PrintService &service, PassengerChooser &passengers,
                   QWidget *boxParent = nullptr);
    ~ReportPrinting() override;

    // "打印预览": opens the preview of a new page on the owner's screen and
    // returns at once; the window closes itself or with this object. Its
    // print button fills the page again from the receipt before each print.
    PreviewWindow *preview(QWidget *owner);

    // "全部打印": one receipt per passenger of the chooser, in its order (see
    // PrintService::printAll). False when nothing was sent.
    bool printAll();

private:
    struct PreviewSlot;

    void enablePreviewPrinting(bool enabled);

    PrintService &m_service;
    PassengerChooser &m_passengers;
    QPointer<QWidget> m_boxParent;
    std::vector<std::shared_ptr<PreviewSlot>> m_previews;
};
