#include "AnsweredBoxes.h"
#include "FakeVerificationService.h"
#include "Strings.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "itinerary/FieldTable.h"
#include "settings/PrivateConfig.h"

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
        m_folder.copyDeliveredLists();
        useServer(m_service.root());
        m_window = std::make_unique<MainWindow>(m_folder.path());
        m_window->show();
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    void useServer(const QString &root)
    {
        PrivateConfig(true, m_folder.path()).setStr(QStringLiteral("server"), root);
    }

    template <typename W> W *control(const char *name)
    {
        return m_window->findChild<W *>(QString::fromLatin1(name));
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
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_window->requestRunning(); }, 60'000));
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
        for (const FakeRequest &request : m_service.requests())
            count += request.method == "GET" && request.target == "/";
        return count;
    }

    QHash<QString, QString> receipt()
    {
        QHash<QString, QString> texts;
        for (const FieldSpec &spec : itineraryFieldTable())
            texts.insert(spec.name, m_window->fields().text(spec.name));
        return texts;
    }

    void query()
    {
        control<QPushButton>("Button2")->click();
        waitForTheRequest();
    }

    FakeVerificationService m_service; // before the window, which holds connections to it
    TempFolder m_folder;
    AnsweredBoxes m_boxes;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(OnlineQueryTest, ARoundTripFillsTheReceiptAndEmptiesTheCaptchaBox)
{
    m_service.setResultPage(resultPage("four-segments-gbk.html"));
    enterCaptchaBox();
    ASSERT_TRUE(m_boxes.shown().isEmpty()) << m_boxes.shown().front().text.toStdString();
    EXPECT_FALSE(captchaShown().isNull());
    const QImage picture = captchaShown();

    type("Edit1", QStringLiteral("7819631900XXX"));
    m_window->fields().setText(QStringLiteral("Edit2"),
                               u8s("张三")); // typed through an input method
    type("edtCode", m_service.captchaCode());
    query();

    ASSERT_TRUE(m_boxes.shown().isEmpty()) << m_boxes.shown().front().text.toStdString();
    EXPECT_EQ(m_service.lastRejection(), QString());
    EXPECT_FALSE(m_window->fields().text(QStringLiteral("edtPassenger")).isEmpty());
    EXPECT_FALSE(m_window->fields().text(QStringLiteral("edtFlight4")).isEmpty());
    EXPECT_EQ(control<QLineEdit>("edtCode")->text(), QString());
    EXPECT_EQ(captchaShown(), picture); // no new picture after a query
    EXPECT_EQ(m_service.requests().back().body,
              QByteArray("goFrom=Index&validateFlag=0&eticketNoORIn=7819631900XXX&eticketNo="
                         "7819631900XXX&passengerName=%E5%BC%A0%E4%B8%89&passengerName_src=%E5%BC%"
                         "A0%E4%B8%89&randCode=") +
                  m_service.captchaCode().toUtf8());
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
        m_window->fields().setText(QStringLiteral("Edit1"), u8s(c.ticket));
        m_window->fields().setText(QStringLiteral("Edit2"), u8s(c.name));
        m_window->fields().setText(QStringLiteral("edtCode"), u8s(c.code));
        const qsizetype shownBefore = m_boxes.shown().size();
        query();
        ASSERT_EQ(m_boxes.shown().size(), shownBefore + 1);
        EXPECT_EQ(m_boxes.shown().back().kind, MessageBox::Kind::Plain);
        EXPECT_EQ(m_boxes.shown().back().caption, QStringLiteral("Kestrano"));
        EXPECT_EQ(m_boxes.shown().back().text, u8s(c.message));
    }
    EXPECT_TRUE(m_service.requests().isEmpty());
}

TEST_F(OnlineQueryTest, EveryEntryIntoTheCaptchaBoxAndEveryClickFetchesAPicture)
{
    enterCaptchaBox();
    enterCaptchaBox();
    EXPECT_EQ(homePageFetches(), 2);
    clickPicture();
    EXPECT_EQ(homePageFetches(), 3);
    EXPECT_TRUE(m_boxes.shown().isEmpty());
}

TEST_F(OnlineQueryTest, APictureThatIsNotAJpegIsRefusedAndTheOldOneStays)
{
    enterCaptchaBox();
    const QImage picture = captchaShown();
    ASSERT_FALSE(picture.isNull());
    m_service.setFailure(FakeVerificationService::Failure::PngCaptcha);
    clickPicture();
    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().front().kind, MessageBox::Kind::Error);
    EXPECT_EQ(captchaShown(), picture);
}

TEST_F(OnlineQueryTest, AFailedQueryShowsTheErrorAndChangesNoField)
{
    enum class Fault { Refused, ServerError, RedirectLoop, Silent };
    for (Fault fault : {Fault::Refused, Fault::ServerError, Fault::RedirectLoop, Fault::Silent}) {
        m_service.setFailure(FakeVerificationService::Failure::None);
        useServer(m_service.root());
        m_window->fields().setText(QStringLiteral("edtPassenger"), u8s("王五"));
        m_window->fields().setText(QStringLiteral("Edit1"), QStringLiteral("7819631900123"));
        m_window->fields().setText(QStringLiteral("Edit2"), QStringLiteral("WANG/WU"));
        m_window->fields().setText(QStringLiteral("edtCode"), QStringLiteral("AB12"));
        switch (fault) {
        case Fault::Refused:
            useServer(QStringLiteral("http://127.0.0.1:1"));
            break;
        case Fault::ServerError:
            m_service.setFailure(FakeVerificationService::Failure::ServerError);
            break;
        case Fault::RedirectLoop:
            m_service.setFailure(FakeVerificationService::Failure::RedirectLoop);
            break;
        case Fault::Silent: {
            m_service.setFailure(FakeVerificationService::Failure::Silent);
            HttpLimits quick;
            quick.silence = std::chrono::seconds(1);
            quick.whole = std::chrono::milliseconds(5000);
            m_window->httpClient().setLimits(quick);
            break;
        }
        }
        const QHash<QString, QString> before = receipt();
        const qsizetype shownBefore = m_boxes.shown().size();
        query();
        ASSERT_EQ(m_boxes.shown().size(), shownBefore + 1) << int(fault);
        EXPECT_EQ(m_boxes.shown().back().kind, MessageBox::Kind::Error) << int(fault);
        EXPECT_FALSE(m_boxes.shown().back().text.isEmpty());
        EXPECT_EQ(receipt(), before) << int(fault);
    }
}

// A mistyped captcha reaches the service's error page: the receipt the
// agent converted from a PNR stays value for value, the captcha box is
// emptied and a new picture comes at once, so the next try can succeed.
TEST_F(OnlineQueryTest, AnErrorPageKeepsTheReceiptAndBringsANewCaptcha)
{
    m_window->fields().setText(QStringLiteral("Memo1"), readFixturePnr("round_trip.pnr"));
    control<QPushButton>("Button3")->click();
    m_window->fields().setText(QStringLiteral("edtSerNo"), QStringLiteral("4440001000 3"));
    m_window->fields().setText(QStringLiteral("edtInformation"), u8s("已核对"));
    ASSERT_EQ(m_window->fields().text(QStringLiteral("edtFlight2")), QStringLiteral("CZ3117"));

    m_service.setResultPage(resultPage("four-segments-gbk.html"));
    enterCaptchaBox();
    const QImage firstPicture = captchaShown();
    const auto captchaRequests = [this] {
        int count = 0;
        for (const FakeRequest &request : m_service.requests())
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

    ASSERT_EQ(m_boxes.shown().size(), 1);
    EXPECT_EQ(m_boxes.shown().front().text, u8s("提取失败！"));
    EXPECT_NE(m_service.lastRejection(), QString());
    // The picture is asked for again after the failed query.
    const QList<FakeRequest> requests = m_service.requests();
    const auto post =
        std::find_if(requests.rbegin(), requests.rend(),
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
    type("edtCode", m_service.captchaCode());
    query();
    EXPECT_EQ(m_boxes.shown().size(), 1);
    EXPECT_NE(m_window->fields().text(QStringLiteral("edtFlight4")), QString());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_count += event->type() == QEvent::Paint;
        return false;
    }

private:
    int m_count = 0;
};

TEST_F(OnlineQueryTest, WhileTheServiceHoldsAQueryTheWindowPaintsAndCancelEndsItAtOnce)
{
    auto *start = control<QPushButton>("Button2");
    auto *cancel = control<QPushButton>("btnCancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), u8s("取消"));
    EXPECT_FALSE(cancel->isEnabled());
    const PaintCounter paints(m_window.get());
    m_service.setAnswerDelay(std::chrono::seconds(5));

    for (const bool byEscape : {false, true}) {
        m_window->fields().setText(QStringLiteral("Edit1"), QStringLiteral("7819631900123"));
        m_window->fields().setText(QStringLiteral("Edit2"), QStringLiteral("WANG/WU"));
        m_window->fields().setText(QStringLiteral("edtCode"), QStringLiteral("AB12"));
        const QHash<QString, QString> before = receipt();
        const qsizetype received = m_service.requests().size();

        start->click();
        ASSERT_TRUE(m_window->requestRunning());
        EXPECT_FALSE(start->isEnabled());
        EXPECT_FALSE(control<QLabel>("Image1")->isEnabled());
        EXPECT_TRUE(cancel->isEnabled());
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.requests().size() > received; }, 5000));

        const int painted = paints.count();
        m_window->update();
        EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count() > painted; }, 2000));
        ASSERT_TRUE(m_window->requestRunning()); // still held by the service

        if (byEscape)
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(cancel, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_window->requestRunning(); }, 200))
            << (byEscape ? "Esc" : "click");
        EXPECT_TRUE(start->isEnabled());
        EXPECT_TRUE(control<QLabel>("Image1")->isEnabled());
        EXPECT_FALSE(cancel->isEnabled());
        EXPECT_TRUE(start->hasFocus()); // not moved on into the PNR box
        EXPECT_EQ(receipt(), before);
        EXPECT_EQ(control<QLineEdit>("edtCode")->text(), QStringLiteral("AB12"));
        EXPECT_TRUE(m_boxes.shown().isEmpty());
    }
}

} // namespace
