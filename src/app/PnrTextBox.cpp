#include "app/PnrTextBox.h"

#include "app/MessageBox.h"

#include <QMimeData>

namespace {

// Measured in UTF-8, as the terminal wrote it; a text longer than the limit
// in characters is refused before it is converted.
bool tooLong(const QString &text)
{
    return text.size() > PnrTextBox::maxPasteBytes ||
           text.toUtf8().size() > PnrTextBox::maxPasteBytes;
}

} // namespace

PnrTextBox::PnrTextBox(QWidget *parent) : QPlainTextEdit(parent) {}

void PnrTextBox::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText() && tooLong(source->text())) {
        MessageBox::showMessage(this, QStringLiteral("粘贴的内容超过1MB，不是PNR信息，未粘贴。"));
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}
