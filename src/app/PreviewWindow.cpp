#include "app/PreviewWindow.h"

#include "common/KestranoError.h"
#include "app/MessageBox.h"
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

TPreviewWindow::TPreviewWindow(const TReportPage &page, std::function<void()> print,
                               QWidget *parent)
    : QWidget(parent, Qt::Window), FPage(page), FPrint(std::move(print)),
      FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("预览"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program, open previews or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    // The preview draws into a PDF-format printer of its own, so it works
    // without any printer installed; printing goes through FPrint.
    FPrinter->setOutputFormat(QPrinter::PdfFormat);
    FPrinter->setDocName(page.reportTitle());
    FPrinter->setFullPage(true);
    FPrinter->setPageSize(QPageSize(QPageSize::A4));
    FPrinter->setPageOrientation(QPageLayout::Portrait);
    FPrinter->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    FPreview = new QPrintPreviewWidget(FPrinter.get(), this);
    FPreview->setObjectName(QStringLiteral("QRPreview"));
    connect(FPreview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        QPainter painter(printer);
        renderPage(FPage, painter,
                   FBackdrop && FBackdrop->isChecked() ? TBackdrop::ValueBoxes : TBackdrop::None);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    layout->addWidget(FPreview, 1);

    setZoomPercent(100);

    if (const QScreen *desktop = screen()) {
        const QRect free = desktop->availableGeometry();
        resize((QSizeF(free.size()) * unmaximisedShare).toSize());
        move(free.center() - rect().center());
    }
}

TPreviewWindow::~TPreviewWindow() = default;

void TPreviewWindow::setPage(const TReportPage &page)
{
    FPage = page;
    FPreview->updatePreview();
}

void TPreviewWindow::buildToolBar()
{
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    layout()->addWidget(toolBar);

    FZoom100 = toolButton(QStringLiteral("Zoom100"), QStringLiteral("100%"),
                          QStringLiteral("原始比例"), toolBar);
    FZoom100->setCheckable(true);
    connect(FZoom100, &QToolButton::clicked, this, [this] { setZoomPercent(100); });
    toolBar->addWidget(FZoom100);

    FZoomMenu = toolButton(QStringLiteral("SpeedButton1"), QStringLiteral("比例"),
                           QStringLiteral("比例显示"), toolBar);
    FZoomMenu->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(FZoomMenu);
    auto *factors = new QActionGroup(menu);
    for (int percent = smallestZoom; percent <= largestZoom; percent += zoomStep) {
        QAction *factor = menu->addAction(QString::number(percent) + u'%');
        factor->setCheckable(true);
        factor->setData(percent);
        factors->addAction(factor);
        connect(factor, &QAction::triggered, this, [this, percent] { setZoomPercent(percent); });
    }
    FZoomMenu->setMenu(menu);
    toolBar->addWidget(FZoomMenu);

    // The boxes of the values under them; only ever on the screen.
    FBackdrop = toolButton(QStringLiteral("Backdrop"), QStringLiteral("底图"),
                           QStringLiteral("底图"), toolBar);
    FBackdrop->setCheckable(true);
    FBackdrop->setChecked(true);
    connect(FBackdrop, &QToolButton::toggled, FPreview, &QPrintPreviewWidget::updatePreview);
    toolBar->addWidget(FBackdrop);

    QToolButton *print = toolButton(QStringLiteral("Print"), QStringLiteral("打印"),
                                    QStringLiteral("打印"), toolBar);
    connect(print, &QToolButton::clicked, this, &TPreviewWindow::printClick);
    toolBar->addWidget(print);

    toolBar->addSeparator();

    QToolButton *close = toolButton(QStringLiteral("ExitButton"), QStringLiteral("关闭"),
                                    QStringLiteral("关闭"), toolBar);
    close->setFont(QFont(QStringLiteral("宋体"), 9));
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    toolBar->addWidget(close);
}

int TPreviewWindow::zoomPercent() const
{
    return int(std::lround(FPreview->zoomFactor() * 100));
}

void TPreviewWindow::setZoomPercent(int percent)
{
    FPreview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    FPreview->setZoomFactor(percent / 100.0);
    FZoom100->setChecked(percent == 100);
    for (QAction *factor : FZoomMenu->menu()->actions())
        factor->setChecked(factor->data().toInt() == percent);
}

void TPreviewWindow::printClick()
{
    try {
        if (FPrint)
            FPrint();
    } catch (const KestranoError &error) {
        MessageBox::showError(this, error.message());
    }
}
