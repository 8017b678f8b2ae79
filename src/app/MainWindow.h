#pragma once

#include "app/ReportPrinting.h"
#include "itinerary/IssueDate.h"
#include "itinerary/ItineraryFields.h"
#include "net/HttpClient.h"
#include "online/VerificationService.h"
#include "pnr/ConversionReport.h"
#include "pnr/PassengerChooser.h"
#include "print/PrintService.h"
#include "reference/ReferenceList.h"
#include "register/Register.h"
#include "settings/SettingsLocation.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;
class EntriesAutoSave;
class FieldWidgets;
class JournalWindow;
class StockWindow;

// The one window of the program: the ticket-query group, the PNR group and
// the on-screen receipt, with the buttons that act on them. The window is a
// view on the itinerary model and keeps no data of its own.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // programFolder holds city.txt and air.txt; settings says where the
    // settings file is.
    MainWindow(const QString &programFolder, const SettingsLocation &settings,
               QWidget *parent = nullptr);
    // The settings file beside the lists, as in a portable copy.
    explicit MainWindow(const QString &programFolder, QWidget *parent = nullptr);
    ~MainWindow() override;

    ItineraryFields &fields() { return m_fields; }
    const ReferenceList &cityNames() const { return m_cityNames; }
    const ReferenceList &airNames() const { return m_airNames; }
    PrintService &printing() { return m_printService; }
    PassengerChooser &passengers() { return m_passengers; }
    HttpClient &httpClient() { return m_httpClient; }
    IssueDate &issueDate() { return m_issueDate; }

    // "PNR信息转": empties the receipt but for its serial number and check
    // code, converts the whole PNR text box, marks the fields a receipt
    // normally holds that the display did not give, and says in the status
    // line what it read and did not find.
    void convertPnr();
    // Choosing a passenger in "选择乘客" (also the one shown): puts them into
    // the receipt and marks and reports anew what their receipt lacks.
    void choosePassenger(int index);
    // "清除": empties the PNR text box and nothing else.
    void clearPnrText();
    // "示例": shows the sample PNR display.
    void showSamplePnr();
    // "打印预览": the date of issue follows the calendar, then the preview opens.
    void previewReceipt();
    // "直接打印": the date of issue follows the calendar; a serial number that
    // the advance cannot read is printed only when the agent says so.
    void printDirect();
    // "全部打印": as "直接打印", one receipt for every passenger of the chooser.
    void printAll();
    // "打印记录": the print journal's window, one at a time, not modal.
    void showJournal();
    JournalWindow *journalWindow() const;
    // "票证管理" (in the journal's window): the stock window, one at a time.
    void showStock();
    StockWindow *stockWindow() const;
    Register &numberRegister() { return *m_register; }
    // "设置": the settings dialog, modal.
    void openSettings();
    // A click on the captcha picture or the captcha box taking the focus:
    // starts fetching a new captcha picture from the verification service.
    void fetchCaptcha();
    // "提取信息": checks the three inputs and starts the query of the
    // verification service; its answer fills the receipt when it comes.
    void startQuery();
    // "取消" or Esc: ends the request running at once, changing nothing.
    void cancelRequest();
    // Whether a captcha fetch or a query is running.
    bool requestRunning() const { return m_verification.isRunning(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildQueryGroup();
    void buildPnrGroup();
    void buildReceiptTab();
    void buildBottom();
    void setFocusOrder();
    void showSerialNumberForm();
    // True when the serial number is empty or of the stock's form, or when
    // the agent chooses to print a malformed one all the same.
    bool serialNumberConfirmed();
    QPushButton *addButton(const QString &name, const QString &caption, QWidget *parent,
                           const QRect &geometry);

    // Start-up: the reference lists, the register, the pick-lists, the
    // remembered entries when "Storage" is on, the date of issue. An error leaves the rest undone.
    void setUpAtStart();
    // Exit: every remembered field goes to the settings file.
    void saveAtClose();
    // The register of receipt numbers that every print asks: the shared
    // one at uri (the setting "register") when set, else the journal.
    void setUpRegister(const QString &uri, const QString &desk);
    // The status line: "正在打印…" while a job runs and what the register
    // has to say, with the last conversion's report below when the line
    // holds both, else in its tip.
    void showStatus();
    // Runs one event handler; an error it raises ends it in the error box.
    // The window while a request runs: it stays usable, but nothing that
    // would start another request can be used, and "取消" can.
    void showRequestRunning(bool running);
    void captchaFetched(const QImage &picture);
    void queryAnswered(const QString &page);
    void requestFailed(const QString &message);

    QString m_programFolder;
    SettingsLocation m_settings;
    ItineraryFields m_fields;
    PassengerChooser m_passengers{m_fields};
    IssueDate m_issueDate{m_fields};
    // Declared after the fields, so that they and the preview windows go first.
    PrintService m_printService{m_fields, m_settings.folder};
    // Shows in boxes over this window all that the service reports.
    ReportPrinting m_printing{m_printService, m_passengers, this};
    HttpClient m_httpClient; // its cookies live as long as the window
    VerificationService m_verification{m_httpClient, m_settings};
    ReferenceList m_cityNames;
    ReferenceList m_airNames;
    std::unique_ptr<FieldWidgets> m_widgets;
    std::unique_ptr<EntriesAutoSave> m_autoSave;
    QTabWidget *m_tabs = nullptr;
    QLabel *m_captcha = nullptr;
    QPushButton *m_query = nullptr;
    QPushButton *m_cancel = nullptr;
    QLabel *m_status = nullptr;
    // What the last PNR conversion read and did not find, until the receipt
    // comes from elsewhere.
    std::optional<ConversionReport> m_conversion;
    std::unique_ptr<Register> m_register; // after the print service: goes first
    QPointer<JournalWindow> m_journalWindow;
    QPointer<StockWindow> m_stockWindow;
    bool m_firstPaintDone = false;
};
