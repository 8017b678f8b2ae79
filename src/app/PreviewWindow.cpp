#include "app/PreviewWindow.h"

#include "app/MessageBox.h"
#include "common/KestranoError.h"
#include "print/PageRenderer.h"
#include "print/ReportPage.h"

#include <QActionGroup>
#include <QMenu>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int smallestZoom = 50;
constexpr int largestZoom = 200;
constexpr int zoomStep = 10;
// Where the window system cannot maximise the window, it opens this share of
// the screen's free area.
constexpr qreal unmaximisedShare = 0.9;

QToolButton *toolButton(const QString &name, const QString &text, const QString &hint,
                        QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAccessibleDescription(name);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

PreviewWindow::PreviewWindow(const ReportPage &page, std::function<void()> print, QWidget *parent)
    : QWidget(parent, Qt::Window), m_page(page), m_print(std::move(print)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("预览"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program, open previews or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    // The preview draws into a PDF-format printer of its own, so it works
    // without any printer installed; printing goes through m_print.
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setDocName(page.reportTitle());
    m_printer->setFullPage(true);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Portrait);
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("QRPreview"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        QPainter painter(printer);
        renderPage(m_page, painter,
                   m_backdrop && m_backdrop->isChecked() ? Backdrop::ValueBoxes : Backdrop::None);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    layout->addWidget(m_preview, 1);

    setZoomPercent(100);

    if (const QScreen *desktop = screen()) {
        const QRect free = desktop->availableGeometry();
        resize((QSizeF(free.size()) * unmaximisedShare).toSize());
        move(free.center() - rect().center());
    }
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::setPage(const ReportPage &page)
{
    m_page = page;
    m_preview->updatePreview();
}

void PreviewWindow::buildToolBar()
{
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    layout()->addWidget(toolBar);

    m_zoom100 = toolButton(QStringLiteral("Zoom100"), QStringLiteral("100%"),
                           QStringLiteral("原始比例"), toolBar);
    m_zoom100->setCheckable(true);
    connect(m_zoom100, &QToolButton::clicked, this, [this] { setZoomPercent(100); });
    toolBar->addWidget(m_zoom100);

    m_zoomMenu = toolButton(QStringLiteral("SpeedButton1"), QStringLiteral("比例"),
                            QStringLiteral("比例显示"), toolBar);
    m_zoomMenu->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_zoomMenu);
    auto *factors = new QActionGroup(menu);
    for (int percent = smallestZoom; percent <= largestZoom; percent += zoomStep) {
        QAction *factor = menu->addAction(QString::number(percent) + u'%');
        factor->setCheckable(true);
        factor->setData(percent);
        factors->addAction(factor);
        connect(factor, &QAction::triggered, this, [this, percent] { setZoomPercent(percent); });
    }
    m_zoomMenu->setMenu(menu);
    toolBar->addWidget(m_zoomMenu);

    // The boxes of the values under them; only ever on the screen.
    m_backdrop = toolButton(QStringLiteral("Backdrop"), QStringLiteral("底图"),
                            QStringLiteral("底图"), toolBar);
    m_backdrop->setCheckable(true);
    m_backdrop->setChecked(true);
    connect(m_backdrop, &QToolButton::toggled, m_preview, &QPrintPreviewWidget::updatePreview);
    toolBar->addWidget(m_backdrop);

    QToolButton *print = toolButton(QStringLiteral("Print"), QStringLiteral("打印"),
                                    QStringLiteral("打印"), toolBar);
    connect(print, &QToolButton::clicked, this, &PreviewWindow::printPage);
    toolBar->addWidget(print);

    toolBar->addSeparator();

    QToolButton *close = toolButton(QStringLiteral("ExitButton"), QStringLiteral("关闭"),
                                    QStringLiteral("关闭"), toolBar);
    close->setFont(QFont(QStringLiteral("宋体"), 9));
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    toolBar->addWidget(close);
}

int PreviewWindow::zoomPercent() const
{
    return int(std::lround(m_preview->zoomFactor() * 100));
}

void PreviewWindow::setZoomPercent(int percent)
{
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(percent / 100.0);
    m_zoom100->setChecked(percent == 100);
    for (QAction *factor : m_zoomMenu->menu()->actions())
        factor->setChecked(factor->data().toInt() == percent);
}

void PreviewWindow::printPage()
{
    try {
        if (m_print)
            m_print();
    } catch (const KestranoError &error) {
        MessageBox::showError(this, error.message());
    }
}
