#pragma once

#include "app/MessageBox.h"

#include <QList>

// Answers every message box while it lives and keeps what was shown.
class AnsweredBoxes
{
public:
    explicit AnsweredBoxes(bool answer = true)
    {
        MessageBox::setResponder([this, answer](const MessageBox::Shown &box) {
            m_shown.append(box);
            return answer;
        });
    }
    ~AnsweredBoxes() { MessageBox::setResponder({}); }

    AnsweredBoxes(const AnsweredBoxes &) = delete;
    AnsweredBoxes &operator=(const AnsweredBoxes &) = delete;

    const QList<MessageBox::Shown> &shown() const { return m_shown; }

private:
    QList<MessageBox::Shown> m_shown;
};
