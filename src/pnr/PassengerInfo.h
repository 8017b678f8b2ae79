#pragma once

#include <QString>

// What a PNR display says about one passenger besides the name. Both texts
// are empty until the conversion finds the passenger's document or ticket
// line.
struct TPassengerInfo
{
    QString FId;        // the document number without its type (NI, PP, ID)
    QString FTicketNum; // the 13-digit e-ticket number
};
