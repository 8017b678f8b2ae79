#include "online/VerificationService.h"

#include "net/HttpClient.h"
#include "common/KestranoError.h"
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

QImage TVerificationService::fetchCaptcha()
{
    const QString root = serviceRoot();
    FClient.setAccept(pageAccept);
    FClient.setReferer(root);
    FClient.setAcceptEncoding(QStringLiteral("gzip, deflate"));
    FClient.setAcceptLanguage(QStringLiteral("zh-CN"));
    FClient.setUserAgent(userAgent);
    FClient.get(root + u'/'); // only for the session's cookies

    FClient.setAccept(pictureAccept);
    const QByteArray picture =
        FClient.get(root + QStringLiteral("/tsky/servlet/CallYanServlet?title=home")).body;
    // Always taken as JPEG: a picture in any other format is refused.
    const QImage image = QImage::fromData(picture, "JPEG");
    if (image.isNull())
        throw KestranoError(QStringLiteral("The captcha picture is not a JPEG image"));
    return image;
}

QString TVerificationService::query(const QString &ticketNumber, const QString &passengerName,
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
    return FClient.post(root + QStringLiteral("/tsky/validate"), form).text();
}
