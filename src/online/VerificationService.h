#pragma once

#include "settings/SettingsLocation.h"

#include <QImage>
#include <QObject>
#include <QString>

class HttpClient;
struct HttpOutcome;

// The exchange with TravelSky's e-ticket verification service: its home page
// and a captcha picture, then the query with the ticket number, the
// passenger's name and the captcha's characters. Both go through the one
// client of the main window, so the query carries the cookies that came with
// the picture. The service's root URL is the settings key "server", read
// afresh for every request (an installed program's from the administrator's
// file alone, see SettingsLocation).
//
// Both run from the event loop: each call starts the exchange and returns;
// one of the signals follows when it ends, unless it is cancelled first. A
// failure reports the client's description; nothing is changed before it.
class VerificationService : public QObject
{
    Q_OBJECT

public:
    VerificationService(HttpClient &client, const SettingsLocation &settings);

    // The root URL without a trailing slash, "https://www.travelsky.com"
    // unless the settings name another.
    QString serviceRoot() const;

    // The home page (its cookies), then a new captcha picture, which must be
    // a JPEG: captchaFetched() or failed().
    void fetchCaptcha();

    // Posts the query form, the texts exactly as given: answered() with the
    // answer page as text, or failed().
    void query(const QString &ticketNumber, const QString &passengerName, const QString &code);

    bool isRunning() const;
    // Ends the exchange running at once; no signal follows.
    void cancel();

Q_SIGNALS:
    void captchaFetched(const QImage &picture);
    void answered(const QString &page);
    void failed(const QString &message);

private:
    void fetchPicture(const QString &root);
    void takePicture(const HttpOutcome &outcome);

    HttpClient &m_client;
    SettingsLocation m_settings;
};
