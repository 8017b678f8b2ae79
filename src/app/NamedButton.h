#pragma once

#include <QPushButton>

// A push button known by its object name (the name tests and the
// accessibility tree find it by) and read out by its caption.
inline QPushButton *namedButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setAccessibleDescription(name);
    return button;
}
