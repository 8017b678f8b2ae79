#pragma once

#include <QString>
#include <memory>
#include <vector>

// One node of a parsed page: the document itself, an element with its
// attributes and children, a run of text, or a comment.
//
// Children are shared, so that an element handed out by a lookup stays
// readable after the page that held it has been replaced, the way the
// reference-counted elements of a browser do. A node knows its parent only
// while the parent lives; a node never appears twice in a tree.
class THtmlNode
{
public:
    enum class Kind { Document, Element, Text, Comment };

    struct Attribute
    {
        QString name; // lower case
        QString value;
    };

    using Ptr = std::shared_ptr<THtmlNode>;

    // tagOrText is the upper-case tag name of an element, the text of a text
    // node or the content of a comment.
    THtmlNode(Kind kind, const QString &tagOrText);
    ~THtmlNode();
    THtmlNode(const THtmlNode &) = delete;
    THtmlNode &operator=(const THtmlNode &) = delete;

    Kind kind() const { return FKind; }
    bool isElement() const { return FKind == Kind::Element; }
    bool isElement(QStringView tagName) const { return isElement() && FValue == tagName; }

    // The upper-case tag name of an element; empty for other nodes.
    QString tagName() const { return isElement() ? FValue : QString(); }
    // The text of a text node or the content of a comment.
    QString text() const { return isElement() ? QString() : FValue; }
    void setText(const QString &text);

    const std::vector<Attribute> &attributes() const { return FAttributes; }
    // The value of the attribute of that name, compared without regard to
    // case; found tells whether the element has it.
    QString attribute(QStringView name, bool *found = nullptr) const;
    bool hasAttribute(QStringView name) const;
    // Adds the attribute or replaces its value.
    void setAttribute(const QString &name, const QString &value);
    // Adds an attribute that the element does not have yet (name in lower
    // case), as a parser does that has dropped repeated names already.
    void addAttribute(const QString &name, const QString &value)
    {
        FAttributes.push_back({name, value});
    }

    // True for an element whose id or name attribute equals name.
    bool hasIdOrName(const QString &name) const;

    // Whether an option is chosen; taken from its selected attribute when
    // the page is read, changed afterwards by choosing another option.
    bool selected() const { return FSelected; }
    void setSelected(bool selected) { FSelected = selected; }

    THtmlNode *parent() const { return FParent; }
    const std::vector<Ptr> &children() const { return FChildren; }

    // Each takes the child out of the place where it was before, as a
    // browser does; a node cannot become a child of itself or of one of its
    // descendants (the call then returns false and changes nothing).
    bool appendChild(const Ptr &child);
    // Appends a node that has just been made: no parent, no children.
    void appendNewChild(Ptr child)
    {
        child->FParent = this;
        FChildren.push_back(std::move(child));
    }
    bool insertChild(qsizetype index, const Ptr &child);
    // The removed child, or nullptr for a position out of range.
    Ptr removeChild(qsizetype index);
    void removeAllChildren();

    bool isInclusiveAncestorOf(const THtmlNode *node) const;

    // Every element below this node (not the node itself), parents before
    // their children, in the order of the source.
    std::vector<Ptr> descendantElements() const;

private:
    void detachFromParent();
    qsizetype indexOfChild(const THtmlNode *child) const;

    Kind FKind;
    QString FValue;
    bool FSelected = false;
    THtmlNode *FParent = nullptr;
    std::vector<Attribute> FAttributes;
    std::vector<Ptr> FChildren;
};
