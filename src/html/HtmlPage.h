#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <memory>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

// One page as libxml2's HTML parser read it. Every element handle, element
// list and document that refers to the page shares it, so its tree lives as
// long as any of them: a handle outlives the page being replaced.
//
// The tree may change (options added, moved or removed, an element's text
// replaced), but no node is freed before the page: a node taken out of the
// tree is kept until then, so that a handle to it stays readable.
class HtmlPage
{
public:
    using Ptr = std::shared_ptr<HtmlPage>;

    // Reads a page (UTF-8), as forgiving as a browser with broken markup and
    // without any network access. A page beyond the limits of PageLimits.h
    // is refused with a KestranoError before it is parsed.
    static Ptr read(const QByteArray &utf8);
    // A page with nothing in it, for elements made before any page is read.
    static Ptr blank();

    ~HtmlPage();
    HtmlPage(const HtmlPage &) = delete;
    HtmlPage &operator=(const HtmlPage &) = delete;

    // The elements in the tree, in the order of the page, each before its
    // descendants: walked once, and again after the tree has changed.
    const std::vector<_xmlNode *> &elements();
    // Advanced by every change of the tree: a list that notes it knows when
    // to walk the tree again.
    quint64 version() const { return m_version; }

    // A new element of that tag name (lower case, UTF-8) that is in no tree.
    _xmlNode *createElement(const QByteArray &lowerName);

    // Puts node, an element of the page from, as the last child of parent,
    // or before the sibling before when that is given, taking it out of the
    // place where it was. A node of another page is copied in, and the
    // original taken out of its place: a handle to it keeps the original.
    // Returns false and changes nothing where node would become a child of
    // itself or of one of its descendants.
    bool insert(_xmlNode *parent, _xmlNode *before, HtmlPage &from, _xmlNode *node);
    // Takes the node out of the tree; it stays readable.
    void takeOut(_xmlNode *node);
    // Replaces the element's content with the text (UTF-8, no markup).
    void replaceContent(_xmlNode *element, const QByteArray &text);

private:
    explicit HtmlPage(_xmlDoc *document);
    void changed() { ++m_version; }

    _xmlDoc *m_document;
    // Nodes out of the tree: made, removed or replaced. Some of them may have
    // gone back into the tree since.
    std::vector<_xmlNode *> m_outside;
    std::vector<_xmlNode *> m_elements;
    quint64 m_version = 0;
    quint64 m_elementsVersion = ~quint64(0);
};
