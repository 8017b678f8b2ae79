#pragma once

#include "html/HtmlPage.h"

#include <QString>
#include <QVariant>

// An element of a parsed page as the document access hands it out: its tag
// name, class, attributes, shown text and HTML. A handle on libxml2's node:
// copies refer to the same element, and the element stays readable as long
// as a handle to it exists, also after its page has been replaced. A
// default-made handle refers to no element ("none").
class HtmlElement
{
public:
    HtmlElement() = default;
    // None unless node is an element.
    HtmlElement(HtmlPage::Ptr page, _xmlNode *node);

    bool isNull() const { return !m_node; }
    explicit operator bool() const { return m_node != nullptr; }
    bool operator==(const HtmlElement &other) const { return m_node == other.m_node; }

    // The tag name in upper case ("SPAN", "TABLE"), whatever case the page
    // used; empty for none.
    QString tagName() const;
    bool hasTagName(QStringView upperCaseName) const;
    // The class attribute exactly as written; empty when there is none.
    QString className() const;
    // The attribute's value, its name compared without regard to case; an
    // invalid variant when the element has no such attribute.
    QVariant getAttribute(const QString &name) const;
    void setAttribute(const QString &name, const QString &value);
    int attributeCount() const;
    bool hasIdOrName(const QString &name) const;

    // The element that holds this one; none at the top or out of the page.
    HtmlElement parentElement() const;

    // The text as a browser shows it, not trimmed.
    QString innerText() const;
    // Replaces the content with the text (no markup is read from it).
    void setInnerText(const QString &text);
    // The HTML of the content, not trimmed.
    QString innerHTML() const;

    const HtmlPage::Ptr &page() const { return m_page; }
    _xmlNode *node() const { return m_node; }

private:
    HtmlPage::Ptr m_page;
    _xmlNode *m_node = nullptr;
};
