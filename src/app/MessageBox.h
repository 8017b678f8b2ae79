#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message box of the program goes through here, so that the caption,
// icon and full-stop rules live in one place and tests can answer boxes in
// advance instead of meeting a modal window. Once the program is ending on a
// termination signal, no box is shown and every one counts as cancelled:
// nobody may have to answer one.
namespace MessageBox {

// YesNo: a warning whose default answer is "否".
enum class Kind { Plain, Error, Question, YesNo };

struct Shown
{
    Kind kind;
    QString caption;
    QString text;
    bool monospaced = false; // a terminal display: lines kept, columns lined up
};

// Given a box about to be shown, returns true for OK and false for Cancel.
using Responder = std::function<bool(const Shown &)>;

// Installs a responder that answers every box instead of the user; an empty
// function restores the real boxes.
void setResponder(Responder responder);

// The standard error box: error icon, the application title as caption, OK,
// and the message with a full stop (withFullStop).
void showError(QWidget *parent, const QString &message);

// A plain box with OK, the application title as caption, no icon.
void showMessage(QWidget *parent, const QString &text);

// A plain box like showMessage for the text of a terminal display: every
// line as it stands, never wrapped, in the monospaced terminal font.
void showTerminalText(QWidget *parent, const QString &text);

// Runs an event handler; a KestranoError it raises is shown in the standard
// error box over parent, and goes no further.
void guarded(QWidget *parent, const std::function<void()> &handler);

// A question with OK and Cancel, empty caption unless one is given; true when
// OK was chosen.
bool askOkCancel(QWidget *parent, const QString &text, const QString &caption = QString());

// A warning asked with "是" and "否", "否" the default, the application title
// as caption; true when "是" was chosen.
bool askYesNo(QWidget *parent, const QString &text);

// The message as the standard error box shows it: a Chinese sentence with
// "。" appended unless it ends in "。", "！", "？" or "…"; any other with "."
// appended when its last character sorts after ".".
QString withFullStop(const QString &message);

} // namespace MessageBox
