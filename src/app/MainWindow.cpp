#include "app/MainWindow.h"

#include "app/DateBox.h"
#include "app/EntriesAutoSave.h"
#include "app/FieldWidgets.h"
#include "app/JournalWindow.h"
#include "app/StockWindow.h"
#include "app/MessageBox.h"
#include "app/ReceiptPanel.h"
#include "app/RememberedEntries.h"
#include "app/SamplePnr.h"
#include "app/SettingsDialog.h"
#include "app/TerminalFont.h"
#include "app/WindowFont.h"
#include "common/AppTitle.h"
#include "common/KestranoError.h"
#include "common/TextRules.h"
#include "itinerary/SerialNumber.h"
#include "online/ResultPage.h"
#include "pnr/PnrParser.h"
#include "settings/PrivateConfig.h"
#include "settings/Settings.h"

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
#include <QTextDocument>
#include <QTimer>

namespace {

constexpr QSize clientSize(911, 620);

void labelAt(const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
}

} // namespace

MainWindow::MainWindow(const QString &programFolder, QWidget *parent)
    : MainWindow(programFolder, SettingsLocation(programFolder), parent)
{}

MainWindow::MainWindow(const QString &programFolder, const SettingsLocation &settings,
                       QWidget *parent)
    : QWidget(parent), m_programFolder(programFolder), m_settings(settings)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appTitle());
    setFont(windowFont());
    setFixedSize(clientSize);

    m_widgets = std::make_unique<FieldWidgets>(m_fields, this);
    buildQueryGroup();
    buildPnrGroup();
    buildReceiptTab();
    buildBottom();
    setFocusOrder();

    if (const QScreen *desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());

    setUpAtStart();
    m_autoSave = std::make_unique<EntriesAutoSave>(
        m_fields, m_settings.folder,
        [this](const QString &reason) { MessageBox::showError(this, reason); }, this);
}

MainWindow::~MainWindow()
{
    // They read the journal, which goes with the printing below.
    delete m_journalWindow.data();
    delete m_stockWindow.data();
    saveAtClose();
}

QPushButton *MainWindow::addButton(const QString &name, const QString &caption, QWidget *parent,
                                   const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setAccessibleDescription(name);
    button->setGeometry(geometry);
    return button;
}

void MainWindow::buildQueryGroup()
{
    auto *group = new QGroupBox(QStringLiteral("信息提取"), this);
    group->setGeometry(8, 4, 380, 152);
    labelAt(QStringLiteral("票号："), group, QRect(14, 26, 66, 20));
    labelAt(QStringLiteral("旅客姓名："), group, QRect(14, 56, 66, 20));
    labelAt(QStringLiteral("验证码："), group, QRect(14, 86, 66, 20));
    const struct
    {
        Field field;
        QRect geometry;
    } inputs[] = {{Field::QueryTicketNumber, QRect(82, 24, 200, 22)},
                  {Field::QueryPassenger, QRect(82, 54, 200, 22)},
                  {Field::Captcha, QRect(82, 84, 100, 22)}};
    for (const auto &input : inputs) {
        QWidget *edit = m_widgets->widget(input.field);
        edit->setParent(group);
        edit->setGeometry(input.geometry);
    }

    m_captcha = new QLabel(group);
    m_captcha->setObjectName(QStringLiteral("Image1"));
    m_captcha->setAccessibleName(QStringLiteral("验证码图片"));
    m_captcha->setAccessibleDescription(QStringLiteral("Image1"));
    m_captcha->setToolTip(QStringLiteral("点击重新获取验证码"));
    m_captcha->setCursor(Qt::PointingHandCursor);
    m_captcha->setScaledContents(true);
    m_captcha->setFrameShape(QFrame::Box);
    m_captcha->setGeometry(190, 81, 69, 28);
    m_captcha->installEventFilter(this);
    m_widgets->widget(fieldName(Field::Captcha))->installEventFilter(this);

    m_query = addButton(QStringLiteral("Button2"), QStringLiteral("提取信息"), group,
                        QRect(82, 116, 100, 26));
    connect(m_query, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { startQuery(); }); });
    m_cancel = addButton(QStringLiteral("btnCancel"), QStringLiteral("取消"), group,
                         QRect(190, 116, 69, 26));
    m_cancel->setShortcut(Qt::Key_Escape);
    m_cancel->setEnabled(false);
    connect(m_cancel, &QPushButton::clicked, this, [this] { cancelRequest(); });

    connect(&m_verification, &VerificationService::captchaFetched, this,
            &MainWindow::captchaFetched);
    connect(&m_verification, &VerificationService::answered, this, &MainWindow::queryAnswered);
    connect(&m_verification, &VerificationService::failed, this, &MainWindow::requestFailed);
}

void MainWindow::buildPnrGroup()
{
    auto *group = new QGroupBox(QStringLiteral("PNR信息"), this);
    group->setGeometry(396, 4, 507, 152);
    auto *memo = m_widgets->as<QPlainTextEdit>(fieldName(Field::PnrText));
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
    auto *passenger = m_widgets->as<QComboBox>(fieldName(Field::PassengerChoice));
    passenger->setParent(group);
    passenger->setGeometry(66, 110, 170, 22);
    // Choosing, also the entry already shown, puts the passenger into the receipt.
    connect(passenger, &QComboBox::activated, this, [this](int index) {
        MessageBox::guarded(this, [this, index] { choosePassenger(index); });
    });

    QPushButton *convert = addButton(QStringLiteral("Button3"), QStringLiteral("PNR信息转"), group,
                                     QRect(250, 108, 90, 26));
    connect(convert, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { convertPnr(); }); });
    QPushButton *clear = addButton(QStringLiteral("Button4"), QStringLiteral("清除"), group,
                                   QRect(348, 108, 70, 26));
    connect(clear, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { clearPnrText(); }); });
    QPushButton *sample = addButton(QStringLiteral("Button8"), QStringLiteral("示例"), group,
                                    QRect(426, 108, 70, 26));
    connect(sample, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { showSamplePnr(); }); });
}

void MainWindow::buildReceiptTab()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->setGeometry(8, 162, 895, 392);
    // Made inside the window, so that the field controls moved into it keep
    // the window's font and are not laid out again for another.
    auto *receipt = new ReceiptPanel(*m_widgets, m_tabs);
    receipt->setObjectName(QStringLiteral("TabSheet1"));
    m_tabs->addTab(receipt, QStringLiteral("机票信息单打印") + QString(14, u' '));

    showSerialNumberForm();
    connect(&m_fields, &ItineraryFields::textChanged, this, [this](const QString &name) {
        if (name == fieldName(Field::SerialNumber))
            showSerialNumberForm();
    });

    for (Field red : {Field::TotalCurrency, Field::Total}) {
        QWidget *box = m_widgets->widget(red);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Text, Qt::red);
        box->setPalette(palette);
    }

    // The switch sits in the tab strip, to the right of the receipt's tab.
    auto *international = m_widgets->as<QCheckBox>(fieldName(Field::International));
    international->setParent(this);
    const QRect tab = m_tabs->tabBar()->tabRect(0);
    const QSize size = international->sizeHint();
    international->setGeometry(m_tabs->x() + tab.right() + 8,
                               m_tabs->y() + tab.top() + (tab.height() - size.height()) / 2,
                               size.width(), size.height());
    international->raise();

    QWidget *mark = m_widgets->widget(fieldName(Field::InternationalMark));
    mark->setVisible(m_fields.international());
    connect(&m_fields, &ItineraryFields::internationalChanged, mark, &QWidget::setVisible);
}

void MainWindow::buildBottom()
{
    // The status line: what the printer is doing while the window stays
    // usable, and what the last conversion found. Two lines high, down to
    // the warning below, for the buttons leave it no more width.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setGeometry(8, 557, 337, 36);
    m_status->setWordWrap(true);

    QPushButton *printAllButton = addButton(
        QStringLiteral("btnPrintAll"), QStringLiteral("全部打印"), this, QRect(351, 560, 100, 28));
    QPushButton *preview = addButton(QStringLiteral("btnReport"), QStringLiteral("打印预览"), this,
                                     QRect(463, 560, 100, 28));
    QPushButton *print = addButton(QStringLiteral("btnPrint"), QStringLiteral("直接打印"), this,
                                   QRect(575, 560, 100, 28));
    QPushButton *journal = addButton(QStringLiteral("btnJournal"), QStringLiteral("打印记录"), this,
                                     QRect(687, 560, 100, 28));
    QPushButton *settings = addButton(QStringLiteral("Button6"), QStringLiteral("设置"), this,
                                      QRect(799, 560, 100, 28));
    connect(preview, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { previewReceipt(); }); });
    connect(print, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { printDirect(); }); });
    connect(printAllButton, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { printAll(); }); });
    connect(journal, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { showJournal(); }); });
    connect(settings, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { openSettings(); }); });

    // One job at a time: the print buttons wait for the sheet.
    connect(&m_printService, &PrintService::busyChanged, this,
            [this, print, printAllButton](bool busy) {
                print->setEnabled(!busy);
                printAllButton->setEnabled(!busy);
                showStatus();
            });
    connect(&m_printService, &PrintService::journalChanged, this, [this] {
        if (m_journalWindow)
            m_journalWindow->refresh();
    });

    auto *warning = new QLabel(
        QStringLiteral(
            "警告:"
            "本打印功能仅限于打印旅客的普通行程单信息，如自行非法使用，产生的后果与本软件无关。"),
        this);
    warning->setObjectName(QStringLiteral("lblWarning"));
    warning->setGeometry(8, 596, 895, 18);
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    warning->setPalette(red);
}

void MainWindow::setFocusOrder()
{
    QStringList order = {fieldName(Field::QueryTicketNumber),
                         fieldName(Field::QueryPassenger),
                         fieldName(Field::Captcha),
                         QStringLiteral("Button2"),
                         QStringLiteral("btnCancel"),
                         fieldName(Field::PnrText),
                         fieldName(Field::PassengerChoice),
                         QStringLiteral("Button3"),
                         QStringLiteral("Button4"),
                         QStringLiteral("Button8"),
                         fieldName(Field::SerialNumber),
                         fieldName(Field::Passenger),
                         fieldName(Field::IdNumber),
                         fieldName(Field::Endorsement),
                         fieldName(Field::Pnr)};
    for (int row = 1; row <= 4; ++row) {
        for (Field field : {Field::Terminal, Field::From, Field::FromCode, Field::Carrier,
                            Field::Flight, Field::Seat, Field::Date, Field::Time, Field::FareBasis,
                            Field::NotValidBefore, Field::NotValidAfter, Field::Allowance})
            order.append(fieldName({field, row}));
    }
    order.append(fieldName({Field::From, 5}));
    // Each amount after its currency or tax code.
    for (Field field : {Field::FareCurrency, Field::Fare, Field::AirportTaxCode, Field::AirportTax,
                        Field::FuelSurchargeCode, Field::FuelSurcharge, Field::OtherTaxCode,
                        Field::OtherTax, Field::TotalCurrency, Field::Total, Field::TicketNumber,
                        Field::CheckCode, Field::Information, Field::Insurance})
        order.append(fieldName(field));
    for (FieldKey key :
         {FieldKey(Field::AgentCode, 1), FieldKey(Field::InternationalMark),
          FieldKey(Field::AgentCode, 2), FieldKey(Field::IssuedBy), FieldKey(Field::DateOfIssue)})
        order.append(fieldName(key));
    for (const char *button : {"btnPrintAll", "btnReport", "btnPrint", "btnJournal", "Button6"})
        order.append(QString::fromLatin1(button));

    QWidget *previous = nullptr;
    for (const QString &name : order) {
        QWidget *next = m_widgets->widget(name);
        if (!next)
            next = findChild<QWidget *>(name);
        if (previous && next)
            QWidget::setTabOrder(previous, next);
        if (next)
            previous = next;
    }
}

void MainWindow::setUpAtStart()
{
    MessageBox::guarded(this, [this] {
        const QString settingsNotice = m_settings.prepare();
        const QDir folder(m_programFolder);
        m_cityNames.loadCityFile(folder.filePath(QStringLiteral("city.txt")));
        m_airNames.loadAirFile(folder.filePath(QStringLiteral("air.txt")));

        // One reading of the settings file for the whole start.
        const SettingsSnapshot config = PrivateConfig(false, m_settings.folder).snapshot();
        const Settings settings = Settings::read(m_settings, config);
        setUpRegister(settings.registerUri(), settings.desk());
        for (const ListSetting *list : Setting::pickLists)
            m_fields.setPickList(fieldName(list->field), settings.value(*list));
        if (settings.value(Setting::Storage))
            restoreEntries(m_fields, config);

        m_issueDate.setToday();
        if (!settingsNotice.isEmpty())
            MessageBox::showError(this, settingsNotice);
    });
    // Settings that could not be read: the journal is the register.
    if (!m_register)
        setUpRegister(QString(), Settings::defaultDesk());
}

void MainWindow::setUpRegister(const QString &uri, const QString &desk)
{
    m_register = std::make_unique<Register>(
        [this]() -> PrintJournal & { return m_printService.journal(); }, m_settings.folder, desk,
        uri);
    m_printService.setDesk(desk);
    m_printService.setRegister(m_register.get());
    m_printService.setNumberQuestions(
        {[this](const NumberUse &use) {
             return MessageBox::askYesNo(this, Register::usedNumberQuestion(use));
         },
         [this](const QString &serialNumber, const StockGap &gap) {
             return MessageBox::askYesNo(this, Register::outsideStockQuestion(serialNumber, gap));
         },
         [this] { return MessageBox::askYesNo(this, Register::withoutNumberQuestion()); }});
    connect(m_register.get(), &Register::statusChanged, this, &MainWindow::showStatus);
}

void MainWindow::showStatus()
{
    // What is happening now comes first.
    QStringList now;
    if (m_printService.busy())
        now.append(QStringLiteral("正在打印…"));
    const QString registerText = m_register ? m_register->statusText() : QString();
    if (!registerText.isEmpty())
        now.append(registerText);
    const QString report = m_conversion ? m_conversion->text() : QString();

    // Two lines at most: a third would crowd the buttons' row.
    const auto fits = [this](const QString &text, int lines) {
        const QFontMetrics metrics = m_status->fontMetrics();
        return metrics
                   .boundingRect(QRect(0, 0, m_status->contentsRect().width(), 100 * lines),
                                 Qt::TextWordWrap, text)
                   .height() <= lines * metrics.lineSpacing();
    };
    QStringList candidates;
    if (now.isEmpty()) {
        // A long report breaks after what was read rather than inside a word.
        candidates = {report, QString(report).replace(u'；', QStringLiteral("；\n"))};
        if (!fits(report, 1))
            candidates.removeFirst();
    } else if (!report.isEmpty()) {
        // Beside what is happening now if there is room, else in the tip
        // until it is over.
        const QString happening = now.join(QStringLiteral("；"));
        candidates = {happening + u'\n' + report, happening + u'　' + report, happening};
    } else {
        candidates = {now.join(QStringLiteral("；"))};
    }
    QString shown = candidates.last();
    for (const QString &candidate : candidates) {
        if (fits(candidate, 2)) {
            shown = candidate;
            break;
        }
    }
    m_status->setText(shown);

    // The tip holds all of it: why the server is away, the whole report.
    QStringList tip;
    if (!registerText.isEmpty())
        tip.append(m_register->unavailableReason());
    if (!report.isEmpty())
        tip.append(report);
    // A tip that looks like markup is shown as markup: then the server's
    // words are turned into text that only reads as itself.
    const QString tipText = tip.join(u'\n');
    m_status->setToolTip(Qt::mightBeRichText(tipText) ? Qt::convertFromPlainText(tipText)
                                                      : tipText);
}

void MainWindow::saveAtClose()
{
    m_autoSave.reset(); // the exit save below writes the same receipt
    MessageBox::guarded(this, [this] { saveEntries(m_fields, m_settings.folder); });
}

void MainWindow::convertPnr()
{
    m_conversion = convertPnrText(m_fields.text(Field::PnrText), m_fields, m_passengers,
                                  m_airNames, m_cityNames);
    showStatus();
}

void MainWindow::choosePassenger(int index)
{
    m_passengers.choosePassenger(index);
    // Another passenger's receipt may lack other values: their ID, their
    // ticket number.
    if (m_conversion) {
        m_conversion = markWhatIsMissing(m_fields, m_conversion->passengers,
                                         m_conversion->segments);
        showStatus();
    }
}

void MainWindow::showSerialNumberForm()
{
    // Red while the advance after printing could not read the number.
    const bool malformed = isMalformedSerialNumber(m_fields.text(Field::SerialNumber));
    QWidget *box = m_widgets->widget(fieldName(Field::SerialNumber));
    QPalette palette = box->palette();
    const QColor normal = this->palette().color(QPalette::Text);
    palette.setColor(QPalette::Text, malformed ? QColor(Qt::red) : normal);
    box->setPalette(palette);
}

bool MainWindow::serialNumberConfirmed()
{
    if (!isMalformedSerialNumber(m_fields.text(Field::SerialNumber)))
        return true;
    return MessageBox::askOkCancel(
        this, QStringLiteral("印刷序列格式不对，打印后不会自动加一。继续打印？"), appTitle());
}

void MainWindow::previewReceipt()
{
    m_issueDate.followCalendar();
    m_printing.preview(this);
}

void MainWindow::printDirect()
{
    m_issueDate.followCalendar();
    if (!serialNumberConfirmed())
        return;
    m_printService.printDirect();
}

void MainWindow::printAll()
{
    m_issueDate.followCalendar();
    if (!serialNumberConfirmed())
        return;
    m_printing.printAll();
}

void MainWindow::showJournal()
{
    if (!m_journalWindow) {
        m_journalWindow = new JournalWindow(m_printService.journal(), m_fields, this);
        m_journalWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_journalWindow->setStockOpener([this] { showStock(); });
    } else {
        m_journalWindow->refresh();
    }
    m_journalWindow->show();
    m_journalWindow->raise();
    m_journalWindow->activateWindow();
}

JournalWindow *MainWindow::journalWindow() const
{
    return m_journalWindow.data();
}

void MainWindow::showStock()
{
    if (!m_stockWindow) {
        auto *window = new StockWindow(*m_register, m_printService, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // A server that cannot be reached leaves the window unopened, with
        // the reason in a box.
        try {
            window->refresh();
        } catch (...) {
            delete window;
            throw;
        }
        m_stockWindow = window;
    } else {
        m_stockWindow->refresh();
    }
    m_stockWindow->show();
    m_stockWindow->raise();
    m_stockWindow->activateWindow();
}

StockWindow *MainWindow::stockWindow() const
{
    return m_stockWindow.data();
}

void MainWindow::clearPnrText()
{
    m_fields.setText(Field::PnrText, QString());
}

void MainWindow::openSettings()
{
    // Nothing is reloaded afterwards: new pick-list entries appear at the
    // next start, print settings at the next print or preview.
    SettingsDialog dialog(m_settings.folder, this);
    dialog.setPagePrint([this](const ReportPage &page) { return m_printService.printPage(page); });
    dialog.exec();
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_firstPaintDone)
        return;
    m_firstPaintDone = true;
    // Jobs that the last run did not see end: their rows are completed as
    // the print system reports them. Opening the journal for that (a
    // database driver and its files) waits until the window is on screen;
    // a print, or the journal's window, asked for before then looks them up
    // first on its own.
    QTimer::singleShot(0, this, [this] {
        MessageBox::guarded(this, [this] { m_printService.completeUnfinishedRows(); });
    });
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_captcha && event->type() == QEvent::MouseButtonRelease) {
        MessageBox::guarded(this, [this] { fetchCaptcha(); });
        return true;
    }
    if (watched == m_widgets->widget(fieldName(Field::Captcha)) &&
        event->type() == QEvent::FocusIn) {
        // The focus coming back with the window (after a message box, say)
        // is no entering of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            MessageBox::guarded(this, [this] { fetchCaptcha(); });
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::fetchCaptcha()
{
    // The box taking the focus while a request runs starts nothing.
    if (m_verification.isRunning())
        return;
    m_verification.fetchCaptcha();
    showRequestRunning(true);
}

void MainWindow::startQuery()
{
    const struct
    {
        Field field;
        const char *message;
    } required[] = {{Field::QueryTicketNumber, "请输入票号！"},
                    {Field::QueryPassenger, "请输入旅客姓名！"},
                    {Field::Captcha, "请输入验证码！"}};
    for (const auto &input : required) {
        if (trimmed(m_fields.text(input.field)).isEmpty()) {
            MessageBox::showMessage(this, QString::fromUtf8(input.message));
            return;
        }
    }
    if (m_verification.isRunning())
        return;
    // A ticket number or name pasted with blanks around it is not the one
    // the service knows.
    m_verification.query(trimmed(m_fields.text(Field::QueryTicketNumber)),
                         trimmed(m_fields.text(Field::QueryPassenger)),
                         m_fields.text(Field::Captcha));
    showRequestRunning(true);
}

void MainWindow::cancelRequest()
{
    m_verification.cancel();
    showRequestRunning(false);
}

void MainWindow::showRequestRunning(bool running)
{
    if (running) {
        // Disabling the focused button would hand the focus on to the next
        // control, where a second key press would act on something else.
        if (m_query->hasFocus())
            m_query->clearFocus();
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
    m_query->setEnabled(!running);
    m_captcha->setEnabled(!running);
    // Afterwards the focus comes back to "提取信息" rather than moving on
    // from "取消" into the PNR box.
    if (!running && (m_cancel->hasFocus() || (isActiveWindow() && !focusWidget())))
        m_query->setFocus(Qt::OtherFocusReason);
    m_cancel->setEnabled(running);
}

void MainWindow::captchaFetched(const QImage &picture)
{
    showRequestRunning(false);
    m_captcha->setPixmap(QPixmap::fromImage(picture));
}

void MainWindow::queryAnswered(const QString &page)
{
    showRequestRunning(false);
    MessageBox::guarded(this, [this, &page] {
        if (parseResultPage(m_fields, page)) {
            // The receipt is the service's now: what the display lacked is
            // no longer what is on screen.
            m_conversion.reset();
            m_fields.markMissing({});
            showStatus();
            return;
        }
        // The captcha was used up: a new one comes at once, so the next try
        // does not fail the same way.
        fetchCaptcha();
        MessageBox::showMessage(this, QStringLiteral("提取失败！"));
    });
}

void MainWindow::requestFailed(const QString &message)
{
    showRequestRunning(false);
    MessageBox::showError(this, message);
}

void MainWindow::showSamplePnr()
{
    MessageBox::showTerminalText(this, samplePnrText());
}
