#include "online/VerificationService.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "net/HttpClient.h"
#include "settings/Settings.h"

namespace {

const QString pageAccept = QStringLiteral("text/html, application/xhtml+xml, */*");
const QString pictureAccept = QStringLiteral("image/png, image/svg+xml, image/*;q=0.8, */*;q=0.5");
const QString userAgent =
    QStringLiteral("Mozilla/5.0 (Windows NT 6.1; WOW64; Trident/7.0; rv:11.0) like Gecko");

} // namespace

TVerificationService::TVerificationService(THttpClient &client, const TSettingsLocation &settings)
    : FClient(client), FSettings(settings)
{
}

QString TVerificationService::serviceRoot() const
{
    return TSettings::read(FSettings).server;
}

void TVerificationService::fetchCaptcha()
{
    const QString root = serviceRoot();
    FClient.setAccept(pageAccept);
    FClient.setReferer(root);
    FClient.setAcceptEncoding(QStringLiteral("gzip, deflate"));
    FClient.setAcceptLanguage(QStringLiteral("zh-CN"));
    FClient.setUserAgent(userAgent);
    // The home page only for the session's cookies.
    FClient.get(root + u'/', [this, root](const THttpOutcome &outcome) {
        if (outcome.ok)
            fetchPicture(root);
        else
            Q_EMIT failed(outcome.failure);
    });
}

void TVerificationService::fetchPicture(const QString &root)
{
    FClient.setAccept(pictureAccept);
    FClient.get(root + QStringLiteral("/tsky/servlet/CallYanServlet?title=home"),
                [this](const THttpOutcome &outcome) { takePicture(outcome); });
}

void TVerificationService::takePicture(const THttpOutcome &outcome)
{
    if (!outcome.ok) {
        Q_EMIT failed(outcome.failure);
        return;
    }
    // Always taken as JPEG: a picture in any other format is refused.
    const QImage image = QImage::fromData(outcome.answer.body, "JPEG");
    if (image.isNull())
        Q_EMIT failed(Messages::captchaNotJpeg());
    else
        Q_EMIT captchaFetched(image);
}

void TVerificationService::query(const QString &ticketNumber, const QString &passengerName,
                                 const QString &code)
{
    const QString root = serviceRoot();
    FClient.setAccept(pageAccept);
    const THttpForm form = {
        {QStringLiteral("goFrom"), QStringLiteral("Index")},
        {QStringLiteral("validateFlag"), QStringLiteral("0")},
        {QStringLiteral("eticketNoORIn"), ticketNumber},
        {QStringLiteral("eticketNo"), ticketNumber},
        {QStringLiteral("passengerName"), passengerName},
        {QStringLiteral("passengerName_src"), passengerName},
        {QStringLiteral("randCode"), code},
    };
    FClient.post(root + QStringLiteral("/tsky/validate"), form,
                 [this](const THttpOutcome &outcome) {
                     if (outcome.ok)
                         Q_EMIT answered(outcome.answer.text());
                     else
                         Q_EMIT failed(outcome.failure);
                 });
}

bool TVerificationService::isRunning() const
{
    return FClient.isRunning();
}

void TVerificationService::cancel()
{
    FClient.cancel();
}
