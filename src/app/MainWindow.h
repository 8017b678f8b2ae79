#pragma once

#include "net/HttpClient.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "reference/ReferenceList.h"
#include "app/ReportPrinting.h"
#include "online/VerificationService.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTabWidget;
class TFieldWidgets;
class TJournalWindow;

// The one window of the program: the ticket-query group, the PNR group and
// the on-screen receipt, with the buttons that act on them. The window is a
// view on the itinerary model and keeps no data of its own.
class TfrmMain : public QWidget
{
    Q_OBJECT

public:
    // programFolder holds city.txt, air.txt and the settings file.
    explicit TfrmMain(const QString &programFolder, QWidget *parent = nullptr);
    ~TfrmMain() override;

    TItineraryFields &fields() { return FFields; }
    const TReferenceList &cityNames() const { return FCityNames; }
    const TReferenceList &airNames() const { return FAirNames; }
    TReportPrinting &printing() { return FPrinting; }
    TPassengerChooser &passengers() { return FPassengers; }
    THttpClient &httpClient() { return HttpClient1; }

    // "PNR信息转": empties the receipt and converts the whole PNR text box.
    void Button3Click();
    // "清除": empties the PNR text box and nothing else.
    void Button4Click();
    // "示例": shows the sample PNR display.
    void Button8Click();
    // "打印记录": the print journal's window, one at a time, not modal.
    void showJournal();
    TJournalWindow *journalWindow() const;
    // "设置": the settings dialog, modal.
    void Button6Click();
    // A click on the captcha picture or the captcha box taking the focus:
    // a new captcha picture from the verification service.
    void FetchCaptcha();
    // "提取信息": checks the three inputs, queries the verification service
    // and fills the receipt from its answer.
    void Button2Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildQueryGroup();
    void buildPnrGroup();
    void buildReceiptTab();
    void buildBottom();
    void setFocusOrder();
    QPushButton *addButton(const QString &name, const QString &caption, QWidget *parent,
                           const QRect &geometry);

    // Start-up: the reference lists, the pick-lists, the remembered entries
    // when "Storage" is on, the date of issue. An error leaves the rest undone.
    void FormCreate();
    // Exit: every remembered field goes to the settings file.
    void FormDestroy();
    // Runs one event handler; an error it raises ends it in the error box.
    void guarded(const std::function<void()> &handler);

    QString FProgramFolder;
    TItineraryFields FFields;
    TPassengerChooser FPassengers{FFields};
    // Declared after the fields, so that it and its preview windows go first.
    TReportPrinting FPrinting{FFields, FPassengers, FProgramFolder, this};
    THttpClient HttpClient1; // its cookies live as long as the window
    TVerificationService FVerification{HttpClient1, FProgramFolder};
    TReferenceList FCityNames;
    TReferenceList FAirNames;
    std::unique_ptr<TFieldWidgets> FWidgets;
    QTabWidget *FTabs = nullptr;
    QLabel *FCaptcha = nullptr;
    QLabel *FStatus = nullptr;
    QPointer<TJournalWindow> FJournalWindow;
};
