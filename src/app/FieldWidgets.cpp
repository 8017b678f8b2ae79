#include "app/FieldWidgets.h"
#include "app/PnrTextBox.h"

#include "app/DateBox.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <memory>

namespace {

// Shows text in a line edit, keeping the caret where the user was typing.
void showInLineEdit(QLineEdit *edit, const QString &text)
{
    if (edit->text() == text)
        return;
    const int caret = edit->cursorPosition();
    edit->setText(text);
    edit->setCursorPosition(qMin(caret, int(text.size())));
}

void fillComboBox(QComboBox *box, const QStringList &entries, const QString &text)
{
    // Clearing and refilling passes the box's text through other values on
    // the way; none of them is the user's.
    const QSignalBlocker blocker(box);
    const QSignalBlocker editBlocker(box->lineEdit());
    box->clear();
    box->addItems(entries);
    if (box->isEditable()) {
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

} // namespace

TFieldWidgets::TFieldWidgets(TItineraryFields &fields, QWidget *parent) : FFields(fields)
{
    for (const TFieldSpec &spec : itineraryFieldTable()) {
        QWidget *widget = create(spec, parent);
        widget->setObjectName(spec.name);
        widget->setAccessibleName(spec.accessibleName());
        widget->setAccessibleDescription(spec.name);
        if (spec.inputMethodOff)
            widget->setAttribute(Qt::WA_InputMethodEnabled, false);
        FWidgets.insert(spec.name, widget);
    }
}

QWidget *TFieldWidgets::create(const TFieldSpec &spec, QWidget *parent)
{
    switch (spec.kind) {
    case FieldKind::Switch: {
        auto *box = new QCheckBox(spec.caption, parent);
        box->setChecked(FFields.international());
        QObject::connect(box, &QCheckBox::toggled, &FFields,
                         [this](bool on) { FFields.setInternational(on); });
        QObject::connect(&FFields, &TItineraryFields::internationalChanged, box,
                         &QCheckBox::setChecked);
        return box;
    }
    case FieldKind::Choice: {
        auto *box = new QComboBox(parent);
        // Choosing an entry is the window's to handle: it fills the receipt.
        auto show = [this, box] {
            const QSignalBlocker blocker(box);
            QStringList shown;
            for (int i = 0; i < box->count(); ++i)
                shown.append(box->itemText(i));
            if (shown != FFields.passengerEntries()) {
                box->clear();
                box->addItems(FFields.passengerEntries());
            }
            box->setCurrentIndex(FFields.passengerIndex());
        };
        show();
        QObject::connect(&FFields, &TItineraryFields::passengersChanged, box, show);
        return box;
    }
    case FieldKind::MultiLine: {
        auto *memo = new TPnrTextBox(parent);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setPlainText(FFields.text(spec.name));
        const QString name = spec.name;
        QObject::connect(memo, &QPlainTextEdit::textChanged, &FFields,
                         [this, memo, name] { FFields.setText(name, memo->toPlainText()); });
        QObject::connect(&FFields, &TItineraryFields::textChanged, memo,
                         [memo, name](const QString &changed, const QString &text) {
                             if (changed == name && memo->toPlainText() != text)
                                 memo->setPlainText(text);
                         });
        return memo;
    }
    case FieldKind::PickText: {
        auto *box = new QComboBox(parent);
        // Given its line edit directly: setEditable would also build the
        // drop-down list now, while the window starts, for a style that shows
        // an uneditable box's list as a menu. The list is built when first
        // opened, as an editable box's.
        box->setLineEdit(new QLineEdit(box));
        box->setInsertPolicy(QComboBox::NoInsert);
        // The model decides the text; inline completion would put text into
        // the box that the user never typed.
        box->setCompleter(nullptr);
        fillComboBox(box, FFields.pickList(spec.name), FFields.text(spec.name));
        const QString name = spec.name;
        QObject::connect(box, &QComboBox::activated, &FFields,
                         [this, box, name](int index) { FFields.setText(name, box->itemText(index)); });
        QObject::connect(&FFields, &TItineraryFields::pickListChanged, box,
                         [this, box, name](const QString &changed, const QStringList &entries) {
                             if (changed == name)
                                 fillComboBox(box, entries, FFields.text(name));
                         });
        bindText(spec, box->lineEdit());
        return box;
    }
    case FieldKind::Date: {
        auto *box = new TDateBox(parent);
        const QString name = spec.name;
        QObject::connect(box, &TDateBox::textPicked, &FFields,
                         [this, name](const QString &text) { FFields.setText(name, text); });
        bindText(spec, box);
        return box;
    }
    case FieldKind::Text:
        break;
    }
    auto *edit = new QLineEdit(parent);
    bindText(spec, edit);
    return edit;
}

void TFieldWidgets::bindText(const TFieldSpec &spec, QWidget *widget)
{
    auto *edit = qobject_cast<QLineEdit *>(widget);
    const QString name = spec.name;
    // True while the box shows the model's text: that change comes from the
    // model and must not go back to it.
    auto showing = std::make_shared<bool>(false);
    const auto show = [edit, showing](const QString &text) {
        const QScopedValueRollback<bool> guard(*showing, true);
        showInLineEdit(edit, text);
    };
    show(FFields.text(name));
    // Every change of the box's text, typed or not (a screen reader's or an
    // automation tool's "set text" never emits textEdited), reaches the model
    // once.
    QObject::connect(edit, &QLineEdit::textChanged, &FFields,
                     [this, edit, name, show, showing](const QString &text) {
                         if (*showing)
                             return;
                         // A box with a validator (the date) hands over
                         // finished values only.
                         if (!edit->hasAcceptableInput())
                             return;
                         FFields.setText(name, text);
                         // Typing "a" where "A" is held changes nothing in
                         // the model; the box must still show what it holds.
                         show(FFields.text(name));
                     });
    QObject::connect(&FFields, &TItineraryFields::textChanged, edit,
                     [name, show](const QString &changed, const QString &text) {
                         if (changed == name)
                             show(text);
                     });
}
