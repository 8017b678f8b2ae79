#include "itinerary/IssueDate.h"

#include "itinerary/ItineraryFields.h"

namespace {

const QString issueDateField = fieldName(Field::DateOfIssue);

} // namespace

IssueDate::IssueDate(ItineraryFields &fields, QObject *parent)
    : QObject(parent), m_fields(fields), m_today([] { return QDate::currentDate(); })
{
    connect(&m_fields, &ItineraryFields::textChanged, this,
            [this](const QString &name, const QString &text) {
                if (name == issueDateField && text != m_written)
                    m_following = false;
            });
}

void IssueDate::setToday()
{
    m_written = m_today().toString(dateFormat());
    m_following = true;
    m_fields.setText(issueDateField, m_written);
}

void IssueDate::followCalendar()
{
    if (m_following)
        setToday();
}
