#include "html/WebCombobox.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/TextRules.h"
#include "html/HtmlText.h"
#include "html/LibxmlNodes.h"

using namespace LibxmlNodes;

namespace {

QString optionText(const xmlNode *option)
{
    return trimmed(renderedText(option));
}

QString optionValue(const xmlNode *option)
{
    const xmlAttr *value = findAttribute(option, "value");
    return value ? QString::fromUtf8(valueOf(value)) : optionText(option);
}

} // namespace

WebCombobox::WebCombobox(const HtmlElement &combobox)
{
    setCombInterface(combobox);
}

void WebCombobox::setCombInterface(const HtmlElement &combobox)
{
    if (combobox && !combobox.hasTagName(u"SELECT"))
        throw KestranoError(Messages::interfaceNotSupported());
    m_htmlSelect = combobox;
}

std::vector<xmlNode *> WebCombobox::options() const
{
    std::vector<xmlNode *> list;
    if (!m_htmlSelect)
        return list;
    for (xmlNode *child = firstElementChild(m_htmlSelect.node()); child;
         child = nextElementSibling(child)) {
        if (isElement(child, "option")) {
            list.push_back(child);
        } else if (isElement(child, "optgroup")) {
            for (xmlNode *grouped = firstElementChild(child); grouped;
                 grouped = nextElementSibling(grouped)) {
                if (isElement(grouped, "option"))
                    list.push_back(grouped);
            }
        }
    }
    return list;
}

bool WebCombobox::isDropDown() const
{
    const xmlNode *select = m_htmlSelect.node();
    const xmlAttr *size = findAttribute(select, "size");
    return !findAttribute(select, "multiple") &&
           (!size || QString::fromUtf8(valueOf(size)).toInt() <= 1);
}

int WebCombobox::count() const
{
    return int(options().size());
}

int WebCombobox::itemIndex() const
{
    if (!m_htmlSelect)
        return -1;
    const std::vector<xmlNode *> list = options();
    const bool multiple = findAttribute(m_htmlSelect.node(), "multiple") != nullptr;
    int chosen = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!isChosen(list[i]))
            continue;
        chosen = int(i);
        // Of several chosen options a list with multiple choice reports the
        // first; a single choice keeps the last, as a browser reading the
        // page does.
        if (multiple)
            break;
    }
    if (chosen < 0 && isDropDown()) {
        for (size_t i = 0; i < list.size(); ++i) {
            if (!findAttribute(list[i], "disabled"))
                return int(i);
        }
    }
    return chosen;
}

void WebCombobox::chooseOnly(const xmlNode *option)
{
    for (xmlNode *each : options())
        setChosen(each, each == option);
}

void WebCombobox::setItemIndex(int index)
{
    if (!m_htmlSelect)
        return;
    const std::vector<xmlNode *> list = options();
    chooseOnly(index >= 0 && index < int(list.size()) ? list[size_t(index)] : nullptr);
}

QString WebCombobox::name() const
{
    const xmlAttr *name = m_htmlSelect ? findAttribute(m_htmlSelect.node(), "name") : nullptr;
    return name ? QString::fromUtf8(valueOf(name)) : QString();
}

void WebCombobox::setName(const QString &name)
{
    m_htmlSelect.setAttribute(QStringLiteral("name"), name);
}

QString WebCombobox::value() const
{
    const int index = itemIndex();
    return index >= 0 ? optionValue(options()[size_t(index)]) : QString();
}

void WebCombobox::setValue(const QString &value)
{
    if (!m_htmlSelect)
        return;
    const xmlNode *match = nullptr;
    for (const xmlNode *option : options()) {
        if (optionValue(option) == value) {
            match = option;
            break;
        }
    }
    chooseOnly(match);
}

void WebCombobox::checkOption(const HtmlElement &element)
{
    if (!element.hasTagName(u"OPTION") && !element.hasTagName(u"OPTGROUP"))
        throw KestranoError(Messages::interfaceNotSupported());
}

void WebCombobox::insert(const HtmlElement &element, xmlNode *before)
{
    xmlNode *parent = before ? before->parent : m_htmlSelect.node();
    m_htmlSelect.page()->insert(parent, before, *element.page(), element.node());
}

void WebCombobox::add(const HtmlElement &element)
{
    if (!m_htmlSelect)
        return;
    checkOption(element);
    insert(element, nullptr);
}

void WebCombobox::insert(const HtmlElement &element, int index)
{
    if (!m_htmlSelect)
        return;
    checkOption(element);
    const std::vector<xmlNode *> list = options();
    insert(element, index >= 0 && index < int(list.size()) ? list[size_t(index)] : nullptr);
}

void WebCombobox::remove(int index)
{
    const std::vector<xmlNode *> list = options();
    if (index >= 0 && index < int(list.size()))
        m_htmlSelect.page()->takeOut(list[size_t(index)]);
}

QString WebCombobox::getItemByIndex(int index) const
{
    const std::vector<xmlNode *> list = options();
    return index >= 0 && index < int(list.size()) ? optionText(list[size_t(index)]) : QString();
}

QString WebCombobox::getItemByName(const QString &elementName) const
{
    const QByteArray wanted = elementName.toUtf8();
    for (const xmlNode *option : options()) {
        if (hasIdOrName(option, wanted))
            return optionText(option);
    }
    return {};
}

QVariant WebCombobox::getItemAttribute(int index, const QString &attributeName) const
{
    if (!m_htmlSelect)
        return QVariant(0);
    const std::vector<xmlNode *> list = options();
    if (index < 0 || index >= int(list.size()))
        return {};
    return HtmlElement(m_htmlSelect.page(), list[size_t(index)]).getAttribute(attributeName);
}
