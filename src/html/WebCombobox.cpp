#include "html/WebCombobox.h"

#include "common/KestranoError.h"
#include "common/TextRules.h"
#include "html/HtmlText.h"

namespace {

QString optionText(const THtmlNode &option)
{
    return trimmed(renderedText(option));
}

QString optionValue(const THtmlNode &option)
{
    bool found = false;
    const QString value = option.attribute(u"value", &found);
    return found ? value : optionText(option);
}

} // namespace

TWebCombobox::TWebCombobox(const THtmlElement &AWebCombo)
{
    setCombInterface(AWebCombo);
}

void TWebCombobox::setCombInterface(const THtmlElement &AWebCombo)
{
    if (AWebCombo && !AWebCombo.hasTagName(u"SELECT"))
        throw KestranoError(QStringLiteral("Interface not supported"));
    FHtmlSelect = AWebCombo;
}

std::vector<THtmlNode::Ptr> TWebCombobox::options() const
{
    std::vector<THtmlNode::Ptr> list;
    if (!FHtmlSelect)
        return list;
    for (const THtmlNode::Ptr &child : FHtmlSelect.node()->children()) {
        if (child->isElement(u"OPTION")) {
            list.push_back(child);
        } else if (child->isElement(u"OPTGROUP")) {
            for (const THtmlNode::Ptr &grouped : child->children()) {
                if (grouped->isElement(u"OPTION"))
                    list.push_back(grouped);
            }
        }
    }
    return list;
}

bool TWebCombobox::isDropDown() const
{
    const THtmlNode &select = *FHtmlSelect.node();
    return !select.hasAttribute(u"multiple") && select.attribute(u"size").toInt() <= 1;
}

int TWebCombobox::Count() const
{
    return int(options().size());
}

int TWebCombobox::ItemIndex() const
{
    if (!FHtmlSelect)
        return -1;
    const std::vector<THtmlNode::Ptr> list = options();
    const bool multiple = FHtmlSelect.node()->hasAttribute(u"multiple");
    int chosen = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!list[i]->selected())
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
            if (!list[i]->hasAttribute(u"disabled"))
                return int(i);
        }
    }
    return chosen;
}

void TWebCombobox::chooseOnly(const THtmlNode *option)
{
    for (const THtmlNode::Ptr &each : options())
        each->setSelected(each.get() == option);
}

void TWebCombobox::setItemIndex(int index)
{
    if (!FHtmlSelect)
        return;
    const std::vector<THtmlNode::Ptr> list = options();
    chooseOnly(index >= 0 && index < int(list.size()) ? list[size_t(index)].get() : nullptr);
}

QString TWebCombobox::Name() const
{
    return FHtmlSelect ? FHtmlSelect.node()->attribute(u"name") : QString();
}

void TWebCombobox::setName(const QString &name)
{
    FHtmlSelect.setAttribute(QStringLiteral("name"), name);
}

QString TWebCombobox::value() const
{
    const int index = ItemIndex();
    return index >= 0 ? optionValue(*options()[size_t(index)]) : QString();
}

void TWebCombobox::setValue(const QString &value)
{
    if (!FHtmlSelect)
        return;
    const THtmlNode *match = nullptr;
    for (const THtmlNode::Ptr &option : options()) {
        if (optionValue(*option) == value) {
            match = option.get();
            break;
        }
    }
    chooseOnly(match);
}

void TWebCombobox::checkOption(const THtmlElement &Ele)
{
    if (!Ele.hasTagName(u"OPTION") && !Ele.hasTagName(u"OPTGROUP"))
        throw KestranoError(QStringLiteral("Interface not supported"));
}

void TWebCombobox::Add(const THtmlElement &Ele)
{
    if (!FHtmlSelect)
        return;
    checkOption(Ele);
    FHtmlSelect.node()->appendChild(Ele.node());
}

void TWebCombobox::Insert(const THtmlElement &Ele, int Index)
{
    if (!FHtmlSelect)
        return;
    checkOption(Ele);
    const std::vector<THtmlNode::Ptr> list = options();
    if (Index < 0 || Index >= int(list.size())) {
        FHtmlSelect.node()->appendChild(Ele.node());
        return;
    }
    THtmlNode *place = list[size_t(Index)]->parent();
    const auto &siblings = place->children();
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i] == list[size_t(Index)]) {
            place->insertChild(qsizetype(i), Ele.node());
            return;
        }
    }
}

void TWebCombobox::Remove(int index)
{
    const std::vector<THtmlNode::Ptr> list = options();
    if (index < 0 || index >= int(list.size()))
        return;
    THtmlNode *place = list[size_t(index)]->parent();
    const auto &siblings = place->children();
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i] == list[size_t(index)]) {
            place->removeChild(qsizetype(i));
            return;
        }
    }
}

QString TWebCombobox::GetItemByIndex(int index) const
{
    const std::vector<THtmlNode::Ptr> list = options();
    return index >= 0 && index < int(list.size()) ? optionText(*list[size_t(index)]) : QString();
}

QString TWebCombobox::GetItemByName(const QString &EleName) const
{
    for (const THtmlNode::Ptr &option : options()) {
        if (option->hasIdOrName(EleName))
            return optionText(*option);
    }
    return {};
}

QVariant TWebCombobox::GetItemAttribute(int index, const QString &AttribName) const
{
    if (!FHtmlSelect)
        return QVariant(0);
    const std::vector<THtmlNode::Ptr> list = options();
    if (index < 0 || index >= int(list.size()))
        return {};
    return THtmlElement(list[size_t(index)]).getAttribute(AttribName);
}
