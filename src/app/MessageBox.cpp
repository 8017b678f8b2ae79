#include "app/MessageBox.h"

#include "common/AppTitle.h"

#include <QMessageBox>

namespace MessageBox {

namespace {

Responder &responder()
{
    static Responder installed;
    return installed;
}

bool show(QWidget *parent, const Shown &box)
{
    if (responder())
        return responder()(box);

    QMessageBox dialog(parent);
    dialog.setWindowTitle(box.caption);
    dialog.setText(box.text);
    switch (box.kind) {
    case Kind::Plain:
        dialog.setIcon(QMessageBox::NoIcon);
        dialog.setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::Error:
        dialog.setIcon(QMessageBox::Critical);
        dialog.setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::Question:
        dialog.setIcon(QMessageBox::Question);
        dialog.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    }
    return dialog.exec() == QMessageBox::Ok;
}

} // namespace

void setResponder(Responder installed)
{
    responder() = std::move(installed);
}

QString withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

void showError(QWidget *parent, const QString &message)
{
    show(parent, {Kind::Error, appTitle(), withFullStop(message)});
}

void showMessage(QWidget *parent, const QString &text)
{
    show(parent, {Kind::Plain, appTitle(), text});
}

bool askOkCancel(QWidget *parent, const QString &text)
{
    return show(parent, {Kind::Question, QString(), text});
}

} // namespace MessageBox
