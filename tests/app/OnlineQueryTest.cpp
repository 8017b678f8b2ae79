#include "AnsweredBoxes.h"
#include "FakeVerificationService.h"
#include "itinerary/FieldTable.h"
#include "app/MainWindow.h"
#include "settings/PrivateConfig.h"
#include "Strings.h"
#include "TempFolder.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString readFixturePnr(const char *name)
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/pnr/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QByteArray resultPage(const char *name)
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/online/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The window of an agent whose settings point at a fake of the service.
class OnlineQueryTest : public ::testing::Test
{
protected:
    OnlineQueryTest()
    {
        FFolder.copyDeliveredLists();
        useServer(FService.root());
        FWindow = std::make_unique<TfrmMain>(FFolder.path());
        FWindow->show();
        FWindow->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }

    void useServer(const QString &root)
    {
        TPrivateConfig(true, FFolder.path()).SetStr(QStringLiteral("server"), root);
    }

    template <typename W> W *control(const char *name)
    {
        return FWindow->findChild<W *>(QString::fromLatin1(name));
    }

    // The user moves into the captcha box (from the ticket number box), and
    // the picture comes.
    void enterCaptchaBox()
    {
        control<QLineEdit>("Edit1")->setFocus(Qt::TabFocusReason);
        control<QLineEdit>("edtCode")->setFocus(Qt::TabFocusReason);
        waitForTheRequest();
    }

    void clickPicture()
    {
        QTest::mouseClick(control<QLabel>("Image1"), Qt::LeftButton);
        waitForTheRequest();
    }

    // Requests run while the window goes on; the bound only keeps a lost
    // answer from hanging the test.
    void waitForTheRequest()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !FWindow->requestRunning(); }, 60'000));
    }

    void type(const char *name, const QString &text)
    {
        auto *box = control<QLineEdit>(name);
        box->clear();
        QTest::keyClicks(box, text);
    }

    QImage captchaShown() { return control<QLabel>("Image1")->pixmap().toImage(); }

    int homePageFetches() const
    {
        int count = 0;
        for (const FakeRequest &request : FService.requests())
            count += request.method == "GET" && request.target == "/";
        return count;
    }

    QHash<QString, QString> receipt()
    {
        QHash<QString, QString> texts;
        for (const TFieldSpec &spec : itineraryFieldTable())
            texts.insert(spec.name, FWindow->fields().text(spec.name));
        return texts;
    }

    void query()
    {
        control<QPushButton>("Button2")->click();
        waitForTheRequest();
    }

    FakeVerificationService FService; // before the window, which holds connections to it
    TempFolder FFolder;
    AnsweredBoxes FBoxes;
    std::unique_ptr<TfrmMain> FWindow;
};

TEST_F(OnlineQueryTest, ARoundTripFillsTheReceiptAndEmptiesTheCaptchaBox)
{
    FService.setResultPage(resultPage("four-segments-gbk.html"));
    enterCaptchaBox();
    ASSERT_TRUE(FBoxes.shown().isEmpty()) << FBoxes.shown().front().text.toStdString();
    EXPECT_FALSE(captchaShown().isNull());
    const QImage picture = captchaShown();

    type("Edit1", QStringLiteral("7819631900XXX"));
    FWindow->fields().setText(QStringLiteral("Edit2"), u8s("张三")); // typed through an input method
    type("edtCode", FService.captchaCode());
    query();

    ASSERT_TRUE(FBoxes.shown().isEmpty()) << FBoxes.shown().front().text.toStdString();
    EXPECT_EQ(FService.lastRejection(), QString());
    EXPECT_FALSE(FWindow->fields().text(QStringLiteral("edtPassenger")).isEmpty());
    EXPECT_FALSE(FWindow->fields().text(QStringLiteral("edtFlight4")).isEmpty());
    EXPECT_EQ(control<QLineEdit>("edtCode")->text(), QString());
    EXPECT_EQ(captchaShown(), picture); // no new picture after a query
    EXPECT_EQ(FService.requests().back().body,
              QByteArray("goFrom=Index&validateFlag=0&eticketNoORIn=7819631900XXX&eticketNo="
                         "7819631900XXX&passengerName=%E5%BC%A0%E4%B8%89&passengerName_src=%E5%BC%"
                         "A0%E4%B8%89&randCode=") +
                  FService.captchaCode().toUtf8());
}

TEST_F(OnlineQueryTest, EmptyInputsAreReportedInOrderAndNothingIsSent)
{
    const struct
    {
        const char *ticket, *name, *code, *message;
    } cases[] = {{"", "", "", "请输入票号！"},
                 {"   ", "ZHANG", "AB12", "请输入票号！"},
                 {"781", " ", "", "请输入旅客姓名！"},
                 {"781", "ZHANG", "  ", "请输入验证码！"}};
    for (const auto &c : cases) {
        FWindow->fields().setText(QStringLiteral("Edit1"), u8s(c.ticket));
        FWindow->fields().setText(QStringLiteral("Edit2"), u8s(c.name));
        FWindow->fields().setText(QStringLiteral("edtCode"), u8s(c.code));
        const qsizetype shownBefore = FBoxes.shown().size();
        query();
        ASSERT_EQ(FBoxes.shown().size(), shownBefore + 1);
        EXPECT_EQ(FBoxes.shown().back().kind, MessageBox::Kind::Plain);
        EXPECT_EQ(FBoxes.shown().back().caption, QStringLiteral("Kestrano"));
        EXPECT_EQ(FBoxes.shown().back().text, u8s(c.message));
    }
    EXPECT_TRUE(FService.requests().isEmpty());
}

TEST_F(OnlineQueryTest, EveryEntryIntoTheCaptchaBoxAndEveryClickFetchesAPicture)
{
    enterCaptchaBox();
    enterCaptchaBox();
    EXPECT_EQ(homePageFetches(), 2);
    clickPicture();
    EXPECT_EQ(homePageFetches(), 3);
    EXPECT_TRUE(FBoxes.shown().isEmpty());
}

TEST_F(OnlineQueryTest, APictureThatIsNotAJpegIsRefusedAndTheOldOneStays)
{
    enterCaptchaBox();
    const QImage picture = captchaShown();
    ASSERT_FALSE(picture.isNull());
    FService.setFailure(FakeVerificationService::Failure::PngCaptcha);
    clickPicture();
    ASSERT_EQ(FBoxes.shown().size(), 1);
    EXPECT_EQ(FBoxes.shown().front().kind, MessageBox::Kind::Error);
    EXPECT_EQ(captchaShown(), picture);
}

TEST_F(OnlineQueryTest, AFailedQueryShowsTheErrorAndChangesNoField)
{
    enum class Fault { Refused, ServerError, RedirectLoop, Silent };
    for (Fault fault : {Fault::Refused, Fault::ServerError, Fault::RedirectLoop, Fault::Silent}) {
        FService.setFailure(FakeVerificationService::Failure::None);
        useServer(FService.root());
        FWindow->fields().setText(QStringLiteral("edtPassenger"), u8s("王五"));
        FWindow->fields().setText(QStringLiteral("Edit1"), QStringLiteral("7819631900123"));
        FWindow->fields().setText(QStringLiteral("Edit2"), QStringLiteral("WANG/WU"));
        FWindow->fields().setText(QStringLiteral("edtCode"), QStringLiteral("AB12"));
        switch (fault) {
        case Fault::Refused:
            useServer(QStringLiteral("http://127.0.0.1:1"));
            break;
        case Fault::ServerError:
            FService.setFailure(FakeVerificationService::Failure::ServerError);
            break;
        case Fault::RedirectLoop:
            FService.setFailure(FakeVerificationService::Failure::RedirectLoop);
            break;
        case Fault::Silent: {
            FService.setFailure(FakeVerificationService::Failure::Silent);
            THttpLimits quick;
            quick.silence = std::chrono::seconds(1);
            quick.whole = std::chrono::milliseconds(5000);
            FWindow->httpClient().setLimits(quick);
            break;
        }
        }
        const QHash<QString, QString> before = receipt();
        const qsizetype shownBefore = FBoxes.shown().size();
        query();
        ASSERT_EQ(FBoxes.shown().size(), shownBefore + 1) << int(fault);
        EXPECT_EQ(FBoxes.shown().back().kind, MessageBox::Kind::Error) << int(fault);
        EXPECT_FALSE(FBoxes.shown().back().text.isEmpty());
        EXPECT_EQ(receipt(), before) << int(fault);
    }
}

// A mistyped captcha reaches the service's error page: the receipt the
// agent converted from a PNR stays value for value, the captcha box is
// emptied and a new picture comes at once, so the next try can succeed.
TEST_F(OnlineQueryTest, AnErrorPageKeepsTheReceiptAndBringsANewCaptcha)
{
    FWindow->fields().setText(QStringLiteral("Memo1"), readFixturePnr("round_trip.pnr"));
    control<QPushButton>("Button3")->click();
    FWindow->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440001000 3"));
    FWindow->fields().setText(QStringLiteral("edtInformation"), u8s("已核对"));
    ASSERT_EQ(FWindow->fields().text(QStringLiteral("edtFlight2")), QStringLiteral("CZ3117"));

    FService.setResultPage(resultPage("four-segments-gbk.html"));
    enterCaptchaBox();
    const QImage firstPicture = captchaShown();
    const auto captchaRequests = [this] {
        int count = 0;
        for (const FakeRequest &request : FService.requests())
            count += request.target.contains("CallYanServlet");
        return count;
    };
    ASSERT_EQ(captchaRequests(), 1);

    // Pasted with blanks around it; the code mistyped.
    type("Edit1", QStringLiteral(" 7819631900XXX  "));
    type("Edit2", QStringLiteral(" ZHANG/SAN "));
    type("edtCode", QStringLiteral("ZZZZ"));
    QHash<QString, QString> before = receipt();
    query();

    ASSERT_EQ(FBoxes.shown().size(), 1);
    EXPECT_EQ(FBoxes.shown().front().text, u8s("提取失败！"));
    EXPECT_NE(FService.lastRejection(), QString());
    // The picture is asked for again after the failed query.
    const QList<FakeRequest> requests = FService.requests();
    const auto post = std::find_if(requests.rbegin(), requests.rend(),
                                   [](const FakeRequest &request) { return request.method == "POST"; });
    ASSERT_NE(post, requests.rend());
    EXPECT_TRUE(post->body.startsWith(
        "goFrom=Index&validateFlag=0&eticketNoORIn=7819631900XXX&eticketNo=7819631900XXX&"
        "passengerName=ZHANG%2FSAN&"))
        << post->body.toStdString();
    EXPECT_EQ(captchaRequests(), 2);
    EXPECT_TRUE(requests.back().target.contains("CallYanServlet"));
    EXPECT_NE(captchaShown(), firstPicture);
    before[QStringLiteral("edtCode")] = QString();
    EXPECT_EQ(receipt(), before);

    // With the new picture's code the same query goes through.
    type("edtCode", FService.captchaCode());
    query();
    EXPECT_EQ(FBoxes.shown().size(), 1);
    EXPECT_NE(FWindow->fields().text(QStringLiteral("edtFlight4")), QString());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count() const { return FCount; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        FCount += event->type() == QEvent::Paint;
        return false;
    }

private:
    int FCount = 0;
};

TEST_F(OnlineQueryTest, WhileTheServiceHoldsAQueryTheWindowPaintsAndCancelEndsItAtOnce)
{
    auto *start = control<QPushButton>("Button2");
    auto *cancel = control<QPushButton>("btnCancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), u8s("取消"));
    EXPECT_FALSE(cancel->isEnabled());
    const PaintCounter paints(FWindow.get());
    FService.setAnswerDelay(std::chrono::seconds(5));

    for (const bool byEscape : {false, true}) {
        FWindow->fields().setText(QStringLiteral("Edit1"), QStringLiteral("7819631900123"));
        FWindow->fields().setText(QStringLiteral("Edit2"), QStringLiteral("WANG/WU"));
        FWindow->fields().setText(QStringLiteral("edtCode"), QStringLiteral("AB12"));
        const QHash<QString, QString> before = receipt();
        const qsizetype received = FService.requests().size();

        start->click();
        ASSERT_TRUE(FWindow->requestRunning());
        EXPECT_FALSE(start->isEnabled());
        EXPECT_FALSE(control<QLabel>("Image1")->isEnabled());
        EXPECT_TRUE(cancel->isEnabled());
        ASSERT_TRUE(QTest::qWaitFor([&] { return FService.requests().size() > received; }, 5000));

        const int painted = paints.count();
        FWindow->update();
        EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count() > painted; }, 2000));
        ASSERT_TRUE(FWindow->requestRunning()); // still held by the service

        if (byEscape)
            QTest::keyClick(FWindow.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(cancel, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !FWindow->requestRunning(); }, 200))
            << (byEscape ? "Esc" : "click");
        EXPECT_TRUE(start->isEnabled());
        EXPECT_TRUE(control<QLabel>("Image1")->isEnabled());
        EXPECT_FALSE(cancel->isEnabled());
        EXPECT_TRUE(start->hasFocus()); // not moved on into the PNR box
        EXPECT_EQ(receipt(), before);
        EXPECT_EQ(control<QLineEdit>("edtCode")->text(), QStringLiteral("AB12"));
        EXPECT_TRUE(FBoxes.shown().isEmpty());
    }
}

} // namespace
