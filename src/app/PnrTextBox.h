#pragma once

#include <QPlainTextEdit>

// The PNR text box. A terminal display is a few kilobytes; a paste or drop
// beyond a megabyte is no display, and taking it would keep the window busy
// for a minute and hold gigabytes while the text is laid out, so it is
// refused with a message and the box keeps what it held.
class PnrTextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr qsizetype maxPasteBytes = 1024 * 1024;

    explicit PnrTextBox(QWidget *parent = nullptr);

protected:
    void insertFromMimeData(const QMimeData *source) override;
};
