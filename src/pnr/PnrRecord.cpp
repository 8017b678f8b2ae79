#include "pnr/PnrRecord.h"

namespace {

const TPnrFareLine *fareLineOf(const QList<TPnrFareLine> &lines, bool infant, int passenger)
{
    for (const TPnrFareLine &line : lines) {
        if (line.infant == infant && line.passenger == passenger)
            return &line;
    }
    return nullptr;
}

const TPnrPriceQuote *quoteFor(const QList<TPnrPriceQuote> &quotes, TPassengerType type)
{
    for (const TPnrPriceQuote &quote : quotes) {
        if (quote.type == type)
            return &quote;
    }
    return nullptr;
}

} // namespace

bool TPnrSegment::isFlown() const
{
    static const char *const notFlown[] = {"UN", "UC", "NO", "HX", "XX", "XL"};
    for (const char *code : notFlown) {
        if (status == QLatin1String(code))
            return false;
    }
    return true;
}

QList<TPnrSegment> TPnrRecord::rowSegments() const
{
    QList<TPnrSegment> flown;
    for (const TPnrSegment &segment : segments) {
        if (segment.isFlown())
            flown.append(segment);
    }
    return flown.isEmpty() ? segments : flown;
}

bool TPnrRecord::hasAmounts() const
{
    for (const TPnrFareLine &line : fareLines) {
        if (!line.amounts.isEmpty())
            return true;
    }
    for (const TPnrPriceQuote &quote : priceQuotes) {
        if (!quote.amounts.isEmpty())
            return true;
    }
    return false;
}

TPnrAmounts TPnrRecord::amountsOf(TPassengerType type, int passenger) const
{
    if (type == TPassengerType::Infant) {
        if (const TPnrFareLine *own = fareLineOf(fareLines, true, passenger))
            return own->amounts;
        if (const TPnrFareLine *any = fareLineOf(fareLines, true, 0))
            return any->amounts;
        if (const TPnrPriceQuote *quote = quoteFor(priceQuotes, TPassengerType::Infant))
            return quote->amounts;
        return {};
    }
    if (passenger > 0) {
        if (const TPnrFareLine *own = fareLineOf(fareLines, false, passenger))
            return own->amounts;
    }
    if (type == TPassengerType::Child) {
        if (const TPnrPriceQuote *quote = quoteFor(priceQuotes, TPassengerType::Child))
            return quote->amounts;
    }
    if (const TPnrFareLine *any = fareLineOf(fareLines, false, 0))
        return any->amounts;
    if (const TPnrPriceQuote *quote = quoteFor(priceQuotes, TPassengerType::Adult))
        return quote->amounts;
    return {};
}
