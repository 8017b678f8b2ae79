#pragma once

#include <QHash>
#include <QString>

class QWidget;
class TItineraryFields;
struct TFieldSpec;

// Makes the control of every field and binds it to the model both ways: what
// the user types or picks is written to the model (which upper-cases it and
// runs the rules); what the model holds is shown. The controls hold no data
// of their own.
class TFieldWidgets
{
public:
    TFieldWidgets(TItineraryFields &fields, QWidget *parent);

    QWidget *widget(const QString &name) const { return FWidgets.value(name, nullptr); }

    template <typename W> W *as(const QString &name) const
    {
        return qobject_cast<W *>(widget(name));
    }

private:
    QWidget *create(const TFieldSpec &spec, QWidget *parent);
    void bindText(const TFieldSpec &spec, QWidget *widget);

    TItineraryFields &FFields;
    QHash<QString, QWidget *> FWidgets;
};
