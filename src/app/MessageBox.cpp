#include "app/MessageBox.h"

#include "app/NativeCaption.h"
#include "app/TerminalFont.h"
#include "app/TerminationSignals.h"
#include "common/AppTitle.h"
#include "common/KestranoError.h"
#include "common/TextRules.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <exception>
#include <new>

namespace MessageBox {

namespace {

Responder &responder()
{
    static Responder installed;
    return installed;
}

bool show(QWidget *parent, const Shown &box)
{
    if (TerminationSignals::requested())
        return false;
    if (responder())
        return responder()(box);

    QMessageBox dialog(parent);
    dialog.setWindowTitle(box.caption);
    if (box.caption.isEmpty())
        clearNativeCaption(dialog);
    if (box.monospaced) {
        // A plain label wraps long lines; preformatted text never does.
        QString lines = box.text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        dialog.setTextFormat(Qt::RichText);
        dialog.setText(QStringLiteral("<pre style=\"font-family: '%1'; font-size: %2px\">%3</pre>")
                           .arg(terminalFontFamily(), QString::number(terminalFontPixelSize),
                                lines.toHtmlEscaped()));
    } else {
        // Never rich text: a message may carry what another desk or a
        // server wrote, and markup in it must show as the characters it is.
        dialog.setTextFormat(Qt::PlainText);
        dialog.setText(box.text);
    }
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
    case Kind::YesNo:
        // Enter and Esc both decline: going on takes a deliberate "是".
        dialog.setIcon(QMessageBox::Warning);
        dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        dialog.setDefaultButton(QMessageBox::No);
        dialog.setEscapeButton(QMessageBox::No);
        dialog.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
        dialog.button(QMessageBox::No)->setText(QStringLiteral("否"));
        return dialog.exec() == QMessageBox::Yes;
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
    // A Chinese sentence ends with the Chinese full stop, even where a name
    // closes it, and none is added after its own closing mark.
    if (hasChineseCharacter(message)) {
        static const QString closing = QStringLiteral("。！？…");
        if (closing.contains(message.back()))
            return message;
        return message + u'。';
    }
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

void showTerminalText(QWidget *parent, const QString &text)
{
    show(parent, {Kind::Plain, appTitle(), text, true});
}

void guarded(QWidget *parent, const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const KestranoError &error) {
        showError(parent, error.message());
    } catch (const std::bad_alloc &) {
        // What the window shows stays; the action that asked too much ends.
        showError(parent, QStringLiteral("内存不足，操作没有完成"));
    } catch (const std::exception &error) {
        showError(parent,
                  QStringLiteral("操作没有完成：程序内部错误（%1）")
                      .arg(foreignText(QString::fromLocal8Bit(error.what()), 80)));
    }
}

bool askOkCancel(QWidget *parent, const QString &text, const QString &caption)
{
    return show(parent, {Kind::Question, caption, text});
}

bool askYesNo(QWidget *parent, const QString &text)
{
    return show(parent, {Kind::YesNo, appTitle(), text});
}

} // namespace MessageBox
