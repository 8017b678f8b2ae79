#include "html/HtmlNode.h"

#include <algorithm>

THtmlNode::THtmlNode(Kind kind, const QString &tagOrText) : FKind(kind), FValue(tagOrText) {}

THtmlNode::~THtmlNode()
{
    // Released one by one instead of through nested destructors, so that a
    // deeply nested page cannot exhaust the stack. A child that someone
    // else still holds survives without a parent.
    std::vector<Ptr> orphans = std::move(FChildren);
    while (!orphans.empty()) {
        Ptr node = std::move(orphans.back());
        orphans.pop_back();
        node->FParent = nullptr;
        if (node.use_count() == 1) {
            for (Ptr &child : node->FChildren)
                orphans.push_back(std::move(child));
            node->FChildren.clear();
        }
    }
}

void THtmlNode::setText(const QString &text)
{
    if (!isElement())
        FValue = text;
}

QString THtmlNode::attribute(QStringView name, bool *found) const
{
    for (const Attribute &attribute : FAttributes) {
        if (attribute.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (found)
                *found = true;
            return attribute.value;
        }
    }
    if (found)
        *found = false;
    return {};
}

bool THtmlNode::hasAttribute(QStringView name) const
{
    bool found = false;
    attribute(name, &found);
    return found;
}

void THtmlNode::setAttribute(const QString &name, const QString &value)
{
    for (Attribute &attribute : FAttributes) {
        if (attribute.name.compare(name, Qt::CaseInsensitive) == 0) {
            attribute.value = value;
            return;
        }
    }
    FAttributes.push_back({name.toLower(), value});
}

bool THtmlNode::hasIdOrName(const QString &name) const
{
    if (!isElement())
        return false;
    bool found = false;
    if (attribute(u"id", &found) == name && found)
        return true;
    return attribute(u"name", &found) == name && found;
}

bool THtmlNode::isInclusiveAncestorOf(const THtmlNode *node) const
{
    for (; node; node = node->FParent) {
        if (node == this)
            return true;
    }
    return false;
}

bool THtmlNode::appendChild(const Ptr &child)
{
    return insertChild(qsizetype(FChildren.size()), child);
}

bool THtmlNode::insertChild(qsizetype index, const Ptr &child)
{
    // A copy: child may be a place in the very list the node is taken out of.
    const Ptr node = child;
    if (!node || node.get() == this)
        return false;
    // A node that has neither parent nor children (every node while a page
    // is being read) cannot hold this one; only others need the walk up.
    if (node->FParent || !node->FChildren.empty()) {
        if (node->isInclusiveAncestorOf(this))
            return false;
        // Taking the node out first shifts the positions after it.
        if (node->FParent == this && indexOfChild(node.get()) < index)
            --index;
        node->detachFromParent();
    }
    index = std::clamp<qsizetype>(index, 0, qsizetype(FChildren.size()));
    FChildren.insert(FChildren.begin() + index, node);
    node->FParent = this;
    return true;
}

THtmlNode::Ptr THtmlNode::removeChild(qsizetype index)
{
    if (index < 0 || index >= qsizetype(FChildren.size()))
        return nullptr;
    Ptr child = std::move(FChildren[size_t(index)]);
    FChildren.erase(FChildren.begin() + index);
    child->FParent = nullptr;
    return child;
}

void THtmlNode::removeAllChildren()
{
    while (!FChildren.empty())
        removeChild(qsizetype(FChildren.size()) - 1);
}

std::vector<THtmlNode::Ptr> THtmlNode::descendantElements() const
{
    std::vector<Ptr> elements;
    std::vector<const Ptr *> pending;
    for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it)
        pending.push_back(&*it);
    while (!pending.empty()) {
        const Ptr &node = *pending.back();
        pending.pop_back();
        if (!node->isElement())
            continue;
        elements.push_back(node);
        for (auto it = node->FChildren.rbegin(); it != node->FChildren.rend(); ++it)
            pending.push_back(&*it);
    }
    return elements;
}

void THtmlNode::detachFromParent()
{
    if (FParent)
        FParent->removeChild(FParent->indexOfChild(this));
}

qsizetype THtmlNode::indexOfChild(const THtmlNode *child) const
{
    for (size_t i = 0; i < FChildren.size(); ++i) {
        if (FChildren[i].get() == child)
            return qsizetype(i);
    }
    return -1;
}
