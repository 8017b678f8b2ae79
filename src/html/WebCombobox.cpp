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

TWebCombobox::TWebCombobox(const THtmlElement &AWebCombo)
{
    setCombInterface(AWebCombo);
}

void TWebCombobox::setCombInterface(const THtmlElement &AWebCombo)
{
    if (AWebCombo && !AWebCombo.hasTagName(u"SELECT"))
        throw KestranoError(Messages::interfaceNotSupported());
    FHtmlSelect = AWebCombo;
}

std::vector<xmlNode *> TWebCombobox::options() const
{
    std::vector<xmlNode *> list;
    if (!FHtmlSelect)
        return list;
    for (xmlNode *child = firstElementChild(FHtmlSelect.node()); child;
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

bool TWebCombobox::isDropDown() const
{
    const xmlNode *select = FHtmlSelect.node();
    const xmlAttr *size = findAttribute(select, "size");
    return !findAttribute(select, "multiple") &&
           (!size || QString::fromUtf8(valueOf(size)).toInt() <= 1);
}

int TWebCombobox::Count() const
{
    return int(options().size());
}

int TWebCombobox::ItemIndex() const
{
    if (!FHtmlSelect)
        return -1;
    const std::vector<xmlNode *> list = options();
    const bool multiple = findAttribute(FHtmlSelect.node(), "multiple") != nullptr;
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

void TWebCombobox::chooseOnly(const xmlNode *option)
{
    for (xmlNode *each : options())
        setChosen(each, each == option);
}

void TWebCombobox::setItemIndex(int index)
{
    if (!FHtmlSelect)
        return;
    const std::vector<xmlNode *> list = options();
    chooseOnly(index >= 0 && index < int(list.size()) ? list[size_t(index)] : nullptr);
}

QString TWebCombobox::Name() const
{
    const xmlAttr *name = FHtmlSelect ? findAttribute(FHtmlSelect.node(), "name") : nullptr;
    return name ? QString::fromUtf8(valueOf(name)) : QString();
}

void TWebCombobox::setName(const QString &name)
{
    FHtmlSelect.setAttribute(QStringLiteral("name"), name);
}

QString TWebCombobox::value() const
{
    const int index = ItemIndex();
    return index >= 0 ? optionValue(options()[size_t(index)]) : QString();
}

void TWebCombobox::setValue(const QString &value)
{
    if (!FHtmlSelect)
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

void TWebCombobox::checkOption(const THtmlElement &Ele)
{
    if (!Ele.hasTagName(u"OPTION") && !Ele.hasTagName(u"OPTGROUP"))
        throw KestranoError(Messages::interfaceNotSupported());
}

void TWebCombobox::insert(const THtmlElement &Ele, xmlNode *before)
{
    xmlNode *parent = before ? before->parent : FHtmlSelect.node();
    FHtmlSelect.page()->insert(parent, before, *Ele.page(), Ele.node());
}

void TWebCombobox::Add(const THtmlElement &Ele)
{
    if (!FHtmlSelect)
        return;
    checkOption(Ele);
    insert(Ele, nullptr);
}

void TWebCombobox::Insert(const THtmlElement &Ele, int Index)
{
    if (!FHtmlSelect)
        return;
    checkOption(Ele);
    const std::vector<xmlNode *> list = options();
    insert(Ele, Index >= 0 && Index < int(list.size()) ? list[size_t(Index)] : nullptr);
}

void TWebCombobox::Remove(int index)
{
    const std::vector<xmlNode *> list = options();
    if (index >= 0 && index < int(list.size()))
        FHtmlSelect.page()->takeOut(list[size_t(index)]);
}

QString TWebCombobox::GetItemByIndex(int index) const
{
    const std::vector<xmlNode *> list = options();
    return index >= 0 && index < int(list.size()) ? optionText(list[size_t(index)]) : QString();
}

QString TWebCombobox::GetItemByName(const QString &EleName) const
{
    const QByteArray wanted = EleName.toUtf8();
    for (const xmlNode *option : options()) {
        if (hasIdOrName(option, wanted))
            return optionText(option);
    }
    return {};
}

QVariant TWebCombobox::GetItemAttribute(int index, const QString &AttribName) const
{
    if (!FHtmlSelect)
        return QVariant(0);
    const std::vector<xmlNode *> list = options();
    if (index < 0 || index >= int(list.size()))
        return {};
    return THtmlElement(FHtmlSelect.page(), list[size_t(index)]).getAttribute(AttribName);
}
