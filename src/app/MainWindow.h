#pragma once

#include "net/HttpClient.h"
#include "itinerary/IssueDate.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "reference/ReferenceList.h"
#include "app/ReportPrinting.h"
#include "online/VerificationService.h"
#include "settings/SettingsLocation.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTabWidget;
class TEntriesAutoSave;
class TFieldWidgets;
class TJournalWindow;

// The one window of the program: the ticket-query group, the PNR group and
// the on-screen receipt, with the buttons that act on them. The window is a
// view on the itinerary model and keeps no data of its own.
class TfrmMain : public QWidget
{
    Q_OBJECT

public:
    // programFolder holds city.txt and air.txt; settings says where the
    // settings file is.
    TfrmMain(const QString &programFolder, const TSettingsLocation &settings,
             QWidget *parent = nullptr);
    // The settings file beside the lists, as in a portable copy.
    explicit TfrmMain(const QString &programFolder, QWidget *parent = nullptr);
    ~TfrmMain() override;

    TItineraryFields &fields() { return FFields; }
    const TReferenceList &cityNames() const { return FCityNames; }
    const TReferenceList &airNames() const { return FAirNames; }
    TReportPrinting &printing() { return FPrinting; }
    TPassengerChooser &passengers() { return FPassengers; }
    THttpClient &httpClient() { return HttpClient1; }
    TIssueDate &issueDate() { return FIssueDate; }

    // "PNR信息转": empties the receipt and converts the whole PNR text box.
    void Button3Click();
    // "清除": empties the PNR text box and nothing else.
    void Button4Click();
    // "示例": shows the sample PNR display.
    void Button8Click();
    // "打印预览": the date of issue follows the calendar, then the preview opens.
    void btnReportClick();
    // "直接打印": the date of issue follows the calendar; a serial number that
    // the advance cannot read is printed only when the agent says so.
    void btnPrintClick();
    // "全部打印": as "直接打印", one receipt for every passenger of the chooser.
    void btnPrintAllClick();
    // "打印记录": the print journal's window, one at a time, not modal.
    void showJournal();
    TJournalWindow *journalWindow() const;
    // "设置": the settings dialog, modal.
    void Button6Click();
    // A click on the captcha picture or the captcha box taking the focus:
    // starts fetching a new captcha picture from the verification service.
    void FetchCaptcha();
    // "提取信息": checks the three inputs and starts the query of the
    // verification service; its answer fills the receipt when it comes.
    void Button2Click();
    // "取消" or Esc: ends the request running at once, changing nothing.
    void btnCancelClick();
    // Whether a captcha fetch or a query is running.
    bool requestRunning() const { return FVerification.isRunning(); }

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

    // Start-up: the reference lists, the pick-lists, the remembered entries
    // when "Storage" is on, the date of issue. An error leaves the rest undone.
    void FormCreate();
    // Exit: every remembered field goes to the settings file.
    void FormDestroy();
    // Runs one event handler; an error it raises ends it in the error box.
    void guarded(const std::function<void()> &handler);
    // The window while a request runs: it stays usable, but nothing that
    // would start another request can be used, and "取消" can.
    void showRequestRunning(bool running);
    void captchaFetched(const QImage &picture);
    void queryAnswered(const QString &page);
    void requestFailed(const QString &message);

    QString FProgramFolder;
    TSettingsLocation FSettings;
    TItineraryFields FFields;
    TPassengerChooser FPassengers{FFields};
    TIssueDate FIssueDate{FFields};
    // Declared after the fields, so that it and its preview windows go first.
    TReportPrinting FPrinting{FFields, FPassengers, FSettings.folder, this};
    THttpClient HttpClient1; // its cookies live as long as the window
    TVerificationService FVerification{HttpClient1, FSettings};
    TReferenceList FCityNames;
    TReferenceList FAirNames;
    std::unique_ptr<TFieldWidgets> FWidgets;
    std::unique_ptr<TEntriesAutoSave> FAutoSave;
    QTabWidget *FTabs = nullptr;
    QLabel *FCaptcha = nullptr;
    QPushButton *FQuery = nullptr;
    QPushButton *FCancel = nullptr;
    QLabel *FStatus = nullptr;
    QPointer<TJournalWindow> FJournalWindow;
    bool FFirstPaintDone = false;
};
