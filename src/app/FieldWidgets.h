#pragma once

#include "itinerary/FieldTable.h"

#include <QColor>
#include <QHash>
#include <QString>

class QWidget;
class ItineraryFields;
struct FieldSpec;

// Makes the control of every field and binds it to the model both ways: what
// the user types or picks is written to the model (which upper-cases it and
// runs the rules); what the model holds is shown. The controls hold no data
// of their own. A field the model marks as missing after a conversion is
// drawn on a light warning background and says so to assistive technology,
// until its text changes.
class FieldWidgets
{
public:
    // Appended to a marked field's accessible description.
    static QString missingNote() { return QStringLiteral("（未找到，请填写）"); }

    FieldWidgets(ItineraryFields &fields, QWidget *parent);

    QWidget *widget(const QString &name) const { return m_widgets.value(name, nullptr); }
    QWidget *widget(FieldKey key) const { return widget(fieldName(key)); }

    template <typename W> W *as(const QString &name) const
    {
        return qobject_cast<W *>(widget(name));
    }

private:
    QWidget *create(const FieldSpec &spec, QWidget *parent);
    void bindText(const FieldSpec &spec, QWidget *widget);
    void showMissingMark(const QString &name, bool marked);

    ItineraryFields &m_fields;
    QHash<QString, QWidget *> m_widgets;
    // The background a marked field had before its mark, to go back to.
    QHash<QString, QColor> m_unmarkedBase;
};
