#include "app/FieldWidgets.h"
#include "app/PnrTextBox.h"

#include "app/DateBox.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
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

FieldWidgets::FieldWidgets(ItineraryFields &fields, QWidget *parent) : m_fields(fields)
{
    for (const FieldSpec &spec : itineraryFieldTable()) {
        QWidget *widget = create(spec, parent);
        widget->setObjectName(spec.name);
        widget->setAccessibleName(spec.accessibleName());
        widget->setAccessibleDescription(spec.name);
        if (spec.inputMethodOff)
            widget->setAttribute(Qt::WA_InputMethodEnabled, false);
        m_widgets.insert(spec.name, widget);
    }
    QObject::connect(&m_fields, &ItineraryFields::missingMarkChanged, &m_fields,
                     [this](const QString &name, bool marked) { showMissingMark(name, marked); });
}

void FieldWidgets::showMissingMark(const QString &name, bool marked)
{
    QWidget *widget = m_widgets.value(name, nullptr);
    if (!widget)
        return;
    // Only the background changes: a field's own text colour (the total's
    // red) stays as it is.
    QPalette palette = widget->palette();
    if (marked) {
        if (!m_unmarkedBase.contains(name))
            m_unmarkedBase.insert(name, palette.color(QPalette::Base));
        palette.setColor(QPalette::Base, QColor(0xff, 0xf0, 0xc0));
    } else if (m_unmarkedBase.contains(name)) {
        palette.setColor(QPalette::Base, m_unmarkedBase.take(name));
    }
    widget->setPalette(palette);
    // A screen reader hears it when the field takes the focus; the mouse
    // shows it over the field.
    widget->setAccessibleDescription(marked ? name + missingNote() : name);
    widget->setToolTip(marked ? QStringLiteral("转换时未找到，请填写") : QString());
}

QWidget *FieldWidgets::create(const FieldSpec &spec, QWidget *parent)
{
    switch (spec.kind) {
    case FieldKind::Switch: {
        auto *box = new QCheckBox(spec.caption, parent);
        box->setChecked(m_fields.international());
        QObject::connect(box, &QCheckBox::toggled, &m_fields,
                         [this](bool on) { m_fields.setInternational(on); });
        QObject::connect(&m_fields, &ItineraryFields::internationalChanged, box,
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
            if (shown != m_fields.passengerEntries()) {
                box->clear();
                box->addItems(m_fields.passengerEntries());
            }
            box->setCurrentIndex(m_fields.passengerIndex());
        };
        show();
        QObject::connect(&m_fields, &ItineraryFields::passengersChanged, box, show);
        return box;
    }
    case FieldKind::MultiLine: {
        auto *memo = new PnrTextBox(parent);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setPlainText(m_fields.text(spec.name));
        const QString name = spec.name;
        QObject::connect(memo, &QPlainTextEdit::textChanged, &m_fields,
                         [this, memo, name] { m_fields.setText(name, memo->toPlainText()); });
        QObject::connect(&m_fields, &ItineraryFields::textChanged, memo,
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
        fillComboBox(box, m_fields.pickList(spec.name), m_fields.text(spec.name));
        const QString name = spec.name;
        QObject::connect(box, &QComboBox::activated, &m_fields, [this, box, name](int index) {
            m_fields.setText(name, box->itemText(index));
        });
        QObject::connect(&m_fields, &ItineraryFields::pickListChanged, box,
                         [this, box, name](const QString &changed, const QStringList &entries) {
                             if (changed == name)
                                 fillComboBox(box, entries, m_fields.text(name));
                         });
        bindText(spec, box->lineEdit());
        return box;
    }
    case FieldKind::Date: {
        auto *box = new DateBox(parent);
        const QString name = spec.name;
        QObject::connect(box, &DateBox::textPicked, &m_fields,
                         [this, name](const QString &text) { m_fields.setText(name, text); });
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

void FieldWidgets::bindText(const FieldSpec &spec, QWidget *widget)
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
    show(m_fields.text(name));
    // Every change of the box's text, typed or not (a screen reader's or an
    // automation tool's "set text" never emits textEdited), reaches the model
    // once.
    QObject::connect(edit, &QLineEdit::textChanged, &m_fields,
                     [this, edit, name, show, showing](const QString &text) {
                         if (*showing)
                             return;
                         // A box with a validator (the date) hands over
                         // finished values only.
                         if (!edit->hasAcceptableInput())
                             return;
                         m_fields.setText(name, text);
                         // Typing "a" where "A" is held changes nothing in
                         // the model; the box must still show what it holds.
                         show(m_fields.text(name));
                     });
    QObject::connect(&m_fields, &ItineraryFields::textChanged, edit,
                     [name, show](const QString &changed, const QString &text) {
                         if (changed == name)
                             show(text);
                     });
}
