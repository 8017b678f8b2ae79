#include "pnr/PnrRecord.h"

namespace {

const PnrFareLine *fareLineOf(const QList<PnrFareLine> &lines, bool infant, int passenger)
{
    for (const PnrFareLine &line : lines) {
        if (line.infant == infant && line.passenger == passenger)
            return &line;
    }
    return nullptr;
}

const PnrPriceQuote *quoteFor(const QList<PnrPriceQuote> &quotes, PassengerType type)
{
    for (const PnrPriceQuote &quote : quotes) {
        if (quote.type == type)
            return &quote;
    }
    return nullptr;
}

} // namespace

bool PnrSegment::isFlown() const
{
    static const char *const notFlown[] = {"UN", "UC", "NO", "HX", "XX", "XL"};
    for (const char *code : notFlown) {
        if (status == QLatin1String(code))
            return false;
    }
    return true;
}

QList<PnrSegment> PnrRecord::rowSegments() const
{
    QList<PnrSegment> flown;
    for (const PnrSegment &segment : segments) {
        if (segment.isFlown())
            flown.append(segment);
    }
    return flown.isEmpty() ? segments : flown;
}

bool PnrRecord::hasAmounts() const
{
    for (const PnrFareLine &line : fareLines) {
        if (!line.amounts.isEmpty())
            return true;
    }
    for (const PnrPriceQuote &quote : priceQuotes) {
        if (!quote.amounts.isEmpty())
            return true;
    }
    return false;
}

PnrAmounts PnrRecord::amountsOf(PassengerType type, int passenger) const
{
    if (type == PassengerType::Infant) {
        if (const PnrFareLine *own = fareLineOf(fareLines, true, passenger))
            return own->amounts;
        if (const PnrFareLine *any = fareLineOf(fareLines, true, 0))
            return any->amounts;
        if (const PnrPriceQuote *quote = quoteFor(priceQuotes, PassengerType::Infant))
            return quote->amounts;
        return {};
    }
    if (passenger > 0) {
        if (const PnrFareLine *own = fareLineOf(fareLines, false, passenger))
            return own->amounts;
    }
    if (type == PassengerType::Child) {
        if (const PnrPriceQuote *quote = quoteFor(priceQuotes, PassengerType::Child))
            return quote->amounts;
    }
    if (const PnrFareLine *any = fareLineOf(fareLines, false, 0))
        return any->amounts;
    if (const PnrPriceQuote *quote = quoteFor(priceQuotes, PassengerType::Adult))
        return quote->amounts;
    return {};
}
