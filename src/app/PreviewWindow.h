#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;
class QToolButton;
class ReportPage;

// The preview of a filled page: caption "预览", opened maximised at 100 %,
// with a small Chinese toolbar and nothing else: the 100 % button, the zoom
// factor menu (50 % to 200 %), "底图" (the boxes of the values shown under
// them, on by default and never printed), print, a separator and "关闭". It is
// not modal; the main window stays usable while it is open.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    // print sends the page to the default printer; it may raise
    // KestranoError, which the window shows in the standard error box.
    PreviewWindow(const ReportPage &page, std::function<void()> print, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    const ReportPage &page() const { return m_page; }
    // Shows another page in place of the one shown; it must outlive the
    // window or the next call.
    void setPage(const ReportPage &page);
    QPrintPreviewWidget *previewWidget() const { return m_preview; }
    // Percent, as the zoom menu offers it.
    int zoomPercent() const;
    void setZoomPercent(int percent);

private:
    void buildToolBar();
    void printPage();

    std::reference_wrapper<const ReportPage> m_page;
    std::function<void()> m_print;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    QToolButton *m_zoom100 = nullptr;
    QToolButton *m_zoomMenu = nullptr;
    QToolButton *m_backdrop = nullptr;
};
