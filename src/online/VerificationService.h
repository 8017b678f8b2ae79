#pragma once

#include "settings/SettingsLocation.h"

#include <QImage>
#include <QString>

class THttpClient;

// The exchange with TravelSky's e-ticket verification service: its home page
// and a captcha picture, then the query with the ticket number, the
// passenger's name and the captcha's characters. Both go through the one
// client of the main window, so the query carries the cookies that came with
// the picture. The service's root URL is the settings key "server", read
// afresh for every request (an installed program's from the administrator's
// file alone, see TSettingsLocation). Every failure raises KestranoError with the
// client's description; nothing is changed before it.
class TVerificationService
{
public:
    TVerificationService(THttpClient &client, const TSettingsLocation &settings);

    // The root URL without a trailing slash, "http://www.travelsky.com" unless
    // the settings name another.
    QString serviceRoot() const;

    // The home page (its cookies), then a new captcha picture, which must be
    // a JPEG.
    QImage fetchCaptcha();

    // Posts the query form, the texts exactly as given, and returns the
    // answer page as text.
    QString query(const QString &ticketNumber, const QString &passengerName, const QString &code);

private:
    THttpClient &FClient;
    TSettingsLocation FSettings;
};
