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

VerificationService::VerificationService(HttpClient &client, const SettingsLocation &settings)
    : m_client(client), m_settings(settings)
{}

QString VerificationService::serviceRoot() const
{
    return Settings::read(m_settings).server();
}

void VerificationService::fetchCaptcha()
{
    const QString root = serviceRoot();
    m_client.setAccept(pageAccept);
    m_client.setReferer(root);
    m_client.setAcceptEncoding(QStringLiteral("gzip, deflate"));
    m_client.setAcceptLanguage(QStringLiteral("zh-CN"));
    m_client.setUserAgent(userAgent);
    // The home page only for the session's cookies.
    m_client.get(root + u'/', [this, root](const HttpOutcome &outcome) {
        if (outcome.ok)
            fetchPicture(root);
        else
            Q_EMIT failed(outcome.failure);
    });
}

void VerificationService::fetchPicture(const QString &root)
{
    m_client.setAccept(pictureAccept);
    m_client.get(root + QStringLiteral("/tsky/servlet/CallYanServlet?title=home"),
                 [this](const HttpOutcome &outcome) { takePicture(outcome); });
}

void VerificationService::takePicture(const HttpOutcome &outcome)
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

void VerificationService::query(const QString &ticketNumber, const QString &passengerName,
                                const QString &code)
{
    const QString root = serviceRoot();
    m_client.setAccept(pageAccept);
    const HttpForm form = {
        {QStringLiteral("goFrom"), QStringLiteral("Index")},
        {QStringLiteral("validateFlag"), QStringLiteral("0")},
        {QStringLiteral("eticketNoORIn"), ticketNumber},
        {QStringLiteral("eticketNo"), ticketNumber},
        {QStringLiteral("passengerName"), passengerName},
        {QStringLiteral("passengerName_src"), passengerName},
        {QStringLiteral("randCode"), code},
    };
    m_client.post(root + QStringLiteral("/tsky/validate"), form,
                  [this](const HttpOutcome &outcome) {
                      if (outcome.ok)
                          Q_EMIT answered(outcome.answer.text());
                      else
                          Q_EMIT failed(outcome.failure);
                  });
}

bool VerificationService::isRunning() const
{
    return m_client.isRunning();
}

void VerificationService::cancel()
{
    m_client.cancel();
}
