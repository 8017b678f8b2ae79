#include "itinerary/IssueDate.h"

#include "itinerary/ItineraryFields.h"

namespace {

const QString issueDateField = QStringLiteral("edtDateOfInsue");

} // namespace

TIssueDate::TIssueDate(TItineraryFields &fields, QObject *parent)
    : QObject(parent), FFields(fields), FToday([] { return QDate::currentDate(); })
{
    connect(&FFields, &TItineraryFields::textChanged, this,
            [this](const QString &name, const QString &text) {
                if (name == issueDateField && text != FWritten)
                    FFollowing = false;
            });
}

void TIssueDate::setToday()
{
    FWritten = FToday().toString(dateFormat());
    FFollowing = true;
    FFields.setText(issueDateField, FWritten);
}

void TIssueDate::followCalendar()
{
    if (FFollowing)
        setToday();
}
