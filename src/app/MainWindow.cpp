#include "app/MainWindow.h"

#include "common/AppTitle.h"
#include "itinerary/ClearItinerary.h"
#include "app/DateBox.h"
#include "app/EntriesAutoSave.h"
#include "settings/DelimitedText.h"
#include "app/FieldWidgets.h"
#include "app/JournalWindow.h"
#include "common/KestranoError.h"
#include "app/MessageBox.h"
#include "app/OptionFrm.h"
#include "pnr/PnrParser.h"
#include "settings/PrivateConfig.h"
#include "app/ReceiptPanel.h"
#include "app/RememberedEntries.h"
#include "online/ResultPage.h"
#include "app/SamplePnr.h"
#include "settings/SettingsKeys.h"
#include "common/TextRules.h"
#include "app/TerminalFont.h"
#include "app/WindowFont.h"
#include "itinerary/SerialNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace {

constexpr QSize clientSize(911, 620);

void labelAt(const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
}

} // namespace

TfrmMain::TfrmMain(const QString &programFolder, QWidget *parent)
    : TfrmMain(programFolder, TSettingsLocation(programFolder), parent)
{
}

TfrmMain::TfrmMain(const QString &programFolder, const TSettingsLocation &settings,
                   QWidget *parent)
    : QWidget(parent), FProgramFolder(programFolder), FSettings(settings)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appTitle());
    setFont(windowFont());
    setFixedSize(clientSize);

    FWidgets = std::make_unique<TFieldWidgets>(FFields, this);
    buildQueryGroup();
    buildPnrGroup();
    buildReceiptTab();
    buildBottom();
    setFocusOrder();

    if (const QScreen *desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());

    FormCreate();
    FAutoSave = std::make_unique<TEntriesAutoSave>(
        FFields, FSettings.folder,
        [this](const QString &reason) { MessageBox::showError(this, reason); }, this);
}

TfrmMain::~TfrmMain()
{
    // It reads the journal, which goes with the printing below.
    delete FJournalWindow.data();
    FormDestroy();
}

QPushButton *TfrmMain::addButton(const QString &name, const QString &caption, QWidget *parent,
                                 const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setAccessibleDescription(name);
    button->setGeometry(geometry);
    return button;
}

void TfrmMain::buildQueryGroup()
{
    auto *group = new QGroupBox(QStringLiteral("信息提取"), this);
    group->setGeometry(8, 4, 380, 152);
    labelAt(QStringLiteral("票号："), group, QRect(14, 26, 66, 20));
    labelAt(QStringLiteral("旅客姓名："), group, QRect(14, 56, 66, 20));
    labelAt(QStringLiteral("验证码："), group, QRect(14, 86, 66, 20));
    const struct
    {
        const char *name;
        QRect geometry;
    } inputs[] = {{"Edit1", QRect(82, 24, 200, 22)},
                  {"Edit2", QRect(82, 54, 200, 22)},
                  {"edtCode", QRect(82, 84, 100, 22)}};
    for (const auto &input : inputs) {
        QWidget *edit = FWidgets->widget(QString::fromLatin1(input.name));
        edit->setParent(group);
        edit->setGeometry(input.geometry);
    }

    FCaptcha = new QLabel(group);
    FCaptcha->setObjectName(QStringLiteral("Image1"));
    FCaptcha->setAccessibleName(QStringLiteral("验证码图片"));
    FCaptcha->setAccessibleDescription(QStringLiteral("Image1"));
    FCaptcha->setToolTip(QStringLiteral("点击重新获取验证码"));
    FCaptcha->setCursor(Qt::PointingHandCursor);
    FCaptcha->setScaledContents(true);
    FCaptcha->setFrameShape(QFrame::Box);
    FCaptcha->setGeometry(190, 81, 69, 28);
    FCaptcha->installEventFilter(this);
    FWidgets->widget(QStringLiteral("edtCode"))->installEventFilter(this);

    FQuery = addButton(QStringLiteral("Button2"), QStringLiteral("提取信息"), group,
                       QRect(82, 116, 100, 26));
    connect(FQuery, &QPushButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });
    FCancel = addButton(QStringLiteral("btnCancel"), QStringLiteral("取消"), group,
                        QRect(190, 116, 69, 26));
    FCancel->setShortcut(Qt::Key_Escape);
    FCancel->setEnabled(false);
    connect(FCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });

    connect(&FVerification, &TVerificationService::captchaFetched, this, &TfrmMain::captchaFetched);
    connect(&FVerification, &TVerificationService::answered, this, &TfrmMain::queryAnswered);
    connect(&FVerification, &TVerificationService::failed, this, &TfrmMain::requestFailed);
}


void TfrmMain::buildPnrGroup()
{
    auto *group = new QGroupBox(QStringLiteral("PNR信息"), this);
    group->setGeometry(396, 4, 507, 152);
    auto *memo = FWidgets->as<QPlainTextEdit>(QStringLiteral("Memo1"));
    memo->setParent(group);
    memo->setGeometry(8, 20, 491, 78);
    memo->setTabChangesFocus(true);
    // The terminal's columns line up only unwrapped and in a monospaced font.
    memo->setFont(terminalFont());
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette green = memo->palette();
    green.setColor(QPalette::Text, Qt::darkGreen);
    memo->setPalette(green);

    labelAt(QStringLiteral("选择乘客"), group, QRect(8, 112, 56, 20));
    auto *passenger = FWidgets->as<QComboBox>(QStringLiteral("cboPassenger"));
    passenger->setParent(group);
    passenger->setGeometry(66, 110, 170, 22);
    // Choosing, also the entry already shown, puts the passenger into the receipt.
    connect(passenger, &QComboBox::activated, this,
            [this](int index) { guarded([this, index] { FPassengers.cboPassengerChange(index); }); });

    QPushButton *convert = addButton(QStringLiteral("Button3"), QStringLiteral("PNR信息转"), group,
                                     QRect(250, 108, 90, 26));
    connect(convert, &QPushButton::clicked, this, [this] { guarded([this] { Button3Click(); }); });
    QPushButton *clear = addButton(QStringLiteral("Button4"), QStringLiteral("清除"), group,
                                   QRect(348, 108, 70, 26));
    connect(clear, &QPushButton::clicked, this, [this] { guarded([this] { Button4Click(); }); });
    QPushButton *sample = addButton(QStringLiteral("Button8"), QStringLiteral("示例"), group,
                                    QRect(426, 108, 70, 26));
    connect(sample, &QPushButton::clicked, this, [this] { guarded([this] { Button8Click(); }); });
}

void TfrmMain::buildReceiptTab()
{
    FTabs = new QTabWidget(this);
    FTabs->setObjectName(QStringLiteral("PageControl1"));
    FTabs->setGeometry(8, 162, 895, 392);
    // Made inside the window, so that the field controls moved into it keep
    // the window's font and are not laid out again for another.
    auto *receipt = new TReceiptPanel(*FWidgets, FTabs);
    receipt->setObjectName(QStringLiteral("TabSheet1"));
    FTabs->addTab(receipt, QStringLiteral("机票信息单打印") + QString(14, u' '));

    showSerialNumberForm();
    connect(&FFields, &TItineraryFields::textChanged, this, [this](const QString &name) {
        if (name == QLatin1String("edtSerNo"))
            showSerialNumberForm();
    });

    for (const char *red : {"edtTotalPer", "edtTotal"}) {
        QWidget *box = FWidgets->widget(QString::fromLatin1(red));
        QPalette palette = box->palette();
        palette.setColor(QPalette::Text, Qt::red);
        box->setPalette(palette);
    }

    // The switch sits in the tab strip, to the right of the receipt's tab.
    auto *international = FWidgets->as<QCheckBox>(QStringLiteral("chkGuowai"));
    international->setParent(this);
    const QRect tab = FTabs->tabBar()->tabRect(0);
    const QSize size = international->sizeHint();
    international->setGeometry(FTabs->x() + tab.right() + 8,
                               FTabs->y() + tab.top() + (tab.height() - size.height()) / 2,
                               size.width(), size.height());
    international->raise();

    QWidget *mark = FWidgets->widget(QStringLiteral("edtGuowai"));
    mark->setVisible(FFields.international());
    connect(&FFields, &TItineraryFields::internationalChanged, mark, &QWidget::setVisible);
}

void TfrmMain::buildBottom()
{
    // The status line: what the printer is doing while the window stays usable.
    FStatus = new QLabel(this);
    FStatus->setObjectName(QStringLiteral("lblStatus"));
    FStatus->setGeometry(8, 560, 330, 28);

    QPushButton *printAll = addButton(QStringLiteral("btnPrintAll"), QStringLiteral("全部打印"),
                                      this, QRect(351, 560, 100, 28));
    QPushButton *preview = addButton(QStringLiteral("btnReport"), QStringLiteral("打印预览"), this,
                                     QRect(463, 560, 100, 28));
    QPushButton *print = addButton(QStringLiteral("btnPrint"), QStringLiteral("直接打印"), this,
                                   QRect(575, 560, 100, 28));
    QPushButton *journal = addButton(QStringLiteral("btnJournal"), QStringLiteral("打印记录"), this,
                                     QRect(687, 560, 100, 28));
    QPushButton *settings = addButton(QStringLiteral("Button6"), QStringLiteral("设置"), this,
                                      QRect(799, 560, 100, 28));
    connect(preview, &QPushButton::clicked, this,
            [this] { guarded([this] { btnReportClick(); }); });
    connect(print, &QPushButton::clicked, this, [this] { guarded([this] { btnPrintClick(); }); });
    connect(printAll, &QPushButton::clicked, this,
            [this] { guarded([this] { btnPrintAllClick(); }); });
    connect(journal, &QPushButton::clicked, this, [this] { guarded([this] { showJournal(); }); });
    connect(settings, &QPushButton::clicked, this, [this] { guarded([this] { Button6Click(); }); });

    // One job at a time: the print buttons wait for the sheet.
    connect(&FPrinting, &TReportPrinting::busyChanged, this, [this, print, printAll](bool busy) {
        print->setEnabled(!busy);
        printAll->setEnabled(!busy);
        FStatus->setText(busy ? QStringLiteral("正在打印…") : QString());
    });
    connect(&FPrinting, &TReportPrinting::journalChanged, this, [this] {
        if (FJournalWindow)
            FJournalWindow->refresh();
    });

    auto *warning = new QLabel(
        QStringLiteral("警告:本打印功能仅限于打印旅客的普通行程单信息，如自行非法使用，产生的后果与本软件无关。"),
        this);
    warning->setObjectName(QStringLiteral("lblWarning"));
    warning->setGeometry(8, 596, 895, 18);
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    warning->setPalette(red);
}

void TfrmMain::setFocusOrder()
{
    QStringList order = {QStringLiteral("Edit1"), QStringLiteral("Edit2"), QStringLiteral("edtCode"),
                         QStringLiteral("Button2"), QStringLiteral("btnCancel"),
                         QStringLiteral("Memo1"),
                         QStringLiteral("cboPassenger"), QStringLiteral("Button3"),
                         QStringLiteral("Button4"), QStringLiteral("Button8"),
                         QStringLiteral("edtSerNo"), QStringLiteral("edtPassenger"),
                         QStringLiteral("edtId"), QStringLiteral("cboEndorsement"),
                         QStringLiteral("edtPnr")};
    for (int row = 1; row <= 4; ++row) {
        for (const char *stem : {"edtT", "edtFrom", "edtFromCode", "cboAir", "edtFlight", "edtSeat",
                                 "edtDate", "edtTime", "edtBasts", "edtNotValidBefore",
                                 "edtNotValidAfter", "edtAllow"})
            order.append(QString::fromLatin1(stem) + QString::number(row));
    }
    order.append(QStringLiteral("edtFrom5"));
    for (const char *amount : {"edtFare", "edtCAAC", "edtYQ", "edtTax", "edtTotal"}) {
        order.append(QString::fromLatin1(amount) + QStringLiteral("Per"));
        order.append(QString::fromLatin1(amount));
    }
    for (const char *name : {"edtTicketNo", "edtCk", "edtInformation", "edtIssue", "cboAgentCode1",
                             "edtGuowai", "cboAgentCode2", "cboIssueBy", "edtDateOfInsue",
                             "btnPrintAll", "btnReport", "btnPrint", "btnJournal", "Button6"})
        order.append(QString::fromLatin1(name));

    QWidget *previous = nullptr;
    for (const QString &name : order) {
        QWidget *next = FWidgets->widget(name);
        if (!next)
            next = findChild<QWidget *>(name);
        if (previous && next)
            QWidget::setTabOrder(previous, next);
        if (next)
            previous = next;
    }
}

void TfrmMain::guarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const KestranoError &error) {
        MessageBox::showError(this, error.message());
    }
}

void TfrmMain::FormCreate()
{
    guarded([this] {
        const QString settingsNotice = FSettings.prepare();
        const QDir folder(FProgramFolder);
        FCityNames.loadCityFile(folder.filePath(QStringLiteral("city.txt")));
        FAirNames.loadAirFile(folder.filePath(QStringLiteral("air.txt")));

        // One reading of the settings file for the whole start.
        const TSettingsSnapshot config = TPrivateConfig(false, FSettings.folder).snapshot();
        bool storage = false;
        {
            const struct
            {
                const QString &key;
                const char *field;
            } pickLists[] = {{SettingsKeys::MakeText, "cboEndorsement"},
                             {SettingsKeys::company, "cboIssueBy"},
                             {SettingsKeys::CompanyCode, "cboAgentCode2"},
                             {SettingsKeys::OfficeNo, "cboAgentCode1"},
                             {SettingsKeys::information, "edtInformation"}};
            for (const auto &pickList : pickLists)
                FFields.setPickList(QString::fromLatin1(pickList.field),
                                    fromDelimitedText(config.GetStr(pickList.key)));
            storage = config.GetBool(SettingsKeys::Storage);
        }
        if (storage)
            RestoreEntries(FFields, config);

        FIssueDate.setToday();
        if (!settingsNotice.isEmpty())
            MessageBox::showError(this, settingsNotice);
    });
}

void TfrmMain::FormDestroy()
{
    FAutoSave.reset(); // the exit save below writes the same receipt
    guarded([this] { SaveEntries(FFields, FSettings.folder); });
}

void TfrmMain::Button3Click()
{
    ClearItinerary(FFields);
    ParsePnrText(FFields.text(QStringLiteral("Memo1")), FFields, FPassengers, FAirNames, FCityNames);
}

void TfrmMain::showSerialNumberForm()
{
    // Red while the advance after printing could not read the number.
    const bool malformed = isMalformedSerialNumber(FFields.text(QStringLiteral("edtSerNo")));
    QWidget *box = FWidgets->widget(QStringLiteral("edtSerNo"));
    QPalette palette = box->palette();
    const QColor normal = this->palette().color(QPalette::Text);
    palette.setColor(QPalette::Text, malformed ? QColor(Qt::red) : normal);
    box->setPalette(palette);
}

bool TfrmMain::serialNumberConfirmed()
{
    if (!isMalformedSerialNumber(FFields.text(QStringLiteral("edtSerNo"))))
        return true;
    return MessageBox::askOkCancel(
        this, QStringLiteral("印刷序列格式不对，打印后不会自动加一。继续打印？"), appTitle());
}

void TfrmMain::btnReportClick()
{
    FIssueDate.followCalendar();
    FPrinting.preview(this);
}

void TfrmMain::btnPrintClick()
{
    FIssueDate.followCalendar();
    if (!serialNumberConfirmed())
        return;
    FPrinting.printDirect();}

void TfrmMain::btnPrintAllClick()
{
    FIssueDate.followCalendar();
    if (!serialNumberConfirmed())
        return;
    FPrinting.printAll();
}

void TfrmMain::showJournal()
{
    if (!FJournalWindow) {
        FJournalWindow = new TJournalWindow(FPrinting.journal(), FFields, this);
        FJournalWindow->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        FJournalWindow->refresh();
    }
    FJournalWindow->show();
    FJournalWindow->raise();
    FJournalWindow->activateWindow();
}

TJournalWindow *TfrmMain::journalWindow() const
{
    return FJournalWindow.data();
}

void TfrmMain::Button4Click()
{
    FFields.setText(QStringLiteral("Memo1"), QString());
}

void TfrmMain::Button6Click()
{
    // Nothing is reloaded afterwards: new pick-list entries appear at the
    // next start, print settings at the next print or preview.
    TfrmOption frmOption(FSettings.folder, this);
    frmOption.setPagePrint(
        [this](const TReportPage &page) { return FPrinting.printPage(page, std::nullopt); });
    frmOption.exec();
}

void TfrmMain::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (FFirstPaintDone)
        return;
    FFirstPaintDone = true;
    // Jobs that the last run did not see end: their rows are completed as
    // the print system reports them. Opening the journal for that (a
    // database driver and its files) waits until the window is on screen;
    // a print, or the journal's window, asked for before then looks them up
    // first on its own.
    QTimer::singleShot(0, this,
                       [this] { guarded([this] { FPrinting.completeUnfinishedJobs(); }); });
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FCaptcha && event->type() == QEvent::MouseButtonRelease) {
        guarded([this] { FetchCaptcha(); });
        return true;
    }
    if (watched == FWidgets->widget(QStringLiteral("edtCode")) && event->type() == QEvent::FocusIn) {
        // The focus coming back with the window (after a message box, say)
        // is no entering of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded([this] { FetchCaptcha(); });
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::FetchCaptcha()
{
    // The box taking the focus while a request runs starts nothing.
    if (FVerification.isRunning())
        return;
    FVerification.fetchCaptcha();
    showRequestRunning(true);
}

void TfrmMain::Button2Click()
{
    const struct
    {
        const char *field;
        const char *message;
    } required[] = {
        {"Edit1", "请输入票号！"}, {"Edit2", "请输入旅客姓名！"}, {"edtCode", "请输入验证码！"}};
    for (const auto &input : required) {
        if (trimmed(FFields.text(QString::fromLatin1(input.field))).isEmpty()) {
            MessageBox::showMessage(this, QString::fromUtf8(input.message));
            return;
        }
    }
    if (FVerification.isRunning())
        return;
    // A ticket number or name pasted with blanks around it is not the one
    // the service knows.
    FVerification.query(trimmed(FFields.text(QStringLiteral("Edit1"))),
                        trimmed(FFields.text(QStringLiteral("Edit2"))),
                        FFields.text(QStringLiteral("edtCode")));
    showRequestRunning(true);
}

void TfrmMain::btnCancelClick()
{
    FVerification.cancel();
    showRequestRunning(false);
}

void TfrmMain::showRequestRunning(bool running)
{
    if (running) {
        // Disabling the focused button would hand the focus on to the next
        // control, where a second key press would act on something else.
        if (FQuery->hasFocus())
            FQuery->clearFocus();
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
    FQuery->setEnabled(!running);
    FCaptcha->setEnabled(!running);
    // Afterwards the focus comes back to "提取信息" rather than moving on
    // from "取消" into the PNR box.
    if (!running && (FCancel->hasFocus() || (isActiveWindow() && !focusWidget())))
        FQuery->setFocus(Qt::OtherFocusReason);
    FCancel->setEnabled(running);
}

void TfrmMain::captchaFetched(const QImage &picture)
{
    showRequestRunning(false);
    FCaptcha->setPixmap(QPixmap::fromImage(picture));
}

void TfrmMain::queryAnswered(const QString &page)
{
    showRequestRunning(false);
    guarded([this, &page] {
        if (ParseResultPage(FFields, page))
            return;
        // The captcha was used up: a new one comes at once, so the next try
        // does not fail the same way.
        FetchCaptcha();
        MessageBox::showMessage(this, QStringLiteral("提取失败！"));
    });
}

void TfrmMain::requestFailed(const QString &message)
{
    showRequestRunning(false);
    MessageBox::showError(this, message);
}

void TfrmMain::Button8Click()
{
    MessageBox::showTerminalText(this, samplePnrText());
}
