#pragma once

#include "html/HtmlElement.h"

#include <QString>
#include <QVariant>
#include <vector>

// A SELECT element: its options (also those inside OPTGROUP), the chosen
// one, its name and value. With nothing attached it reads empty and every
// change does nothing.
class WebCombobox
{
public:
    explicit WebCombobox(const HtmlElement &combobox = {});

    const HtmlElement &combInterface() const { return m_htmlSelect; }
    // Attaches a SELECT element or none; any other element raises
    // "不支持此接口" and leaves the select attached before.
    void setCombInterface(const HtmlElement &combobox);

    int count() const;
    // The chosen option; -1 with nothing attached or no option. A drop-down
    // list (no "multiple", no size above 1) always shows one option: the
    // first that is not disabled when none is chosen.
    int itemIndex() const;
    // Chooses that option alone; a position out of range chooses none.
    void setItemIndex(int index);
    QString name() const;
    void setName(const QString &name);
    // The value of the chosen option: its value attribute, else its text.
    QString value() const;
    // Chooses the first option of that value, none when no option has it.
    void setValue(const QString &value);

    // An OPTION or OPTGROUP element, taken out of wherever it was; any
    // other element raises "不支持此接口".
    void add(const HtmlElement &element);
    // Puts it before the option at position index, or last when there is
    // none there.
    void insert(const HtmlElement &element, int index);
    void remove(int index);

    // The shown text of the option at that position; empty with nothing
    // attached or no such option.
    QString getItemByIndex(int index) const;
    // The shown text of the first option whose id or name equals elementName.
    QString getItemByName(const QString &elementName) const;
    // The value of that attribute of the option at that position, its name
    // compared without regard to case; an invalid variant when the option
    // or the attribute does not exist, the number 0 with nothing attached.
    QVariant getItemAttribute(int index, const QString &attributeName) const;

private:
    std::vector<_xmlNode *> options() const;
    bool isDropDown() const;
    void chooseOnly(const _xmlNode *option);
    void insert(const HtmlElement &element, _xmlNode *before);
    static void checkOption(const HtmlElement &element);

    HtmlElement m_htmlSelect;
};
