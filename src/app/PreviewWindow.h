#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;
class QToolButton;
class TReportPage;

// The preview of a filled page: caption "预览", opened maximised at 100 %,
// with a small Chinese toolbar and nothing else: the 100 % button, the zoom
// factor menu (50 % to 200 %), "底图" (the boxes of the values shown under
// them, on by default and never printed), print, a separator and "关闭". It is
// not modal; the main window stays usable while it is open.
class TPreviewWindow : public QWidget
{
    Q_OBJECT

public:
    // print sends the page to the default printer; it may raise
    // KestranoError, which the window shows in the standard error box.
    TPreviewWindow(const TReportPage &page, std::function<void()> print, QWidget *parent = nullptr);
    ~TPreviewWindow() override;

    const TReportPage &page() const { return FPage; }
    // Shows another page in place of the one shown; it must outlive the
    // window or the next call.
    void setPage(const TReportPage &page);
    QPrintPreviewWidget *previewWidget() const { return FPreview; }
    // Percent, as the zoom menu offers it.
    int zoomPercent() const;
    void setZoomPercent(int percent);

private:
    void buildToolBar();
    void printClick();

    std::reference_wrapper<const TReportPage> FPage;
    std::function<void()> FPrint;
    std::unique_ptr<QPrinter> FPrinter;
    QPrintPreviewWidget *FPreview = nullptr;
    QToolButton *FZoom100 = nullptr;
    QToolButton *FZoomMenu = nullptr;
    QToolButton *FBackdrop = nullptr;
};
