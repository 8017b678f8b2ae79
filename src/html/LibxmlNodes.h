#pragma once

// Reading libxml2's HTML tree: what the document classes need of its nodes.
// Only the sources of src/html include this; the public headers name the
// node type alone, so that users of the classes never see libxml2.
//
// libxml2's HTML parser stores tag and attribute names in lower-case ASCII,
// so names are compared as bytes with a lower-case name; elements made by
// the program are given lower-case names too.

#include <libxml/tree.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstring>

namespace LibxmlNodes {

inline const char *chars(const xmlChar *text)
{
    return reinterpret_cast<const char *>(text);
}

inline bool isElement(const xmlNode *node)
{
    return node->type == XML_ELEMENT_NODE;
}

inline bool isElement(const xmlNode *node, const char *lowerName)
{
    return node->type == XML_ELEMENT_NODE && std::strcmp(chars(node->name), lowerName) == 0;
}

inline bool isText(const xmlNode *node)
{
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

inline QByteArrayView contentOf(const xmlNode *node)
{
    return node->content ? QByteArrayView(chars(node->content)) : QByteArrayView();
}

// The attribute of that name (lower case), or nullptr.
inline const xmlAttr *findAttribute(const xmlNode *element, const char *lowerName)
{
    for (const xmlAttr *attribute = element->properties; attribute; attribute = attribute->next) {
        if (std::strcmp(chars(attribute->name), lowerName) == 0)
            return attribute;
    }
    return nullptr;
}

// The value in UTF-8. The parser gives a value one text node, which is
// handed out without a copy: valid while the attribute is unchanged.
inline QByteArray valueOf(const xmlAttr *attribute)
{
    const xmlNode *part = attribute->children;
    if (!part)
        return QByteArray("");
    if (!part->next) {
        const QByteArrayView content = contentOf(part);
        return content.isNull() ? QByteArray("")
                                : QByteArray::fromRawData(content.data(), content.size());
    }
    QByteArray value;
    for (; part; part = part->next)
        value += contentOf(part);
    return value;
}

inline bool attributeEquals(const xmlNode *element, const char *lowerName, QByteArrayView value)
{
    const xmlAttr *attribute = findAttribute(element, lowerName);
    return attribute && valueOf(attribute) == value;
}

// True for an element whose id or name attribute equals name (UTF-8).
inline bool hasIdOrName(const xmlNode *element, QByteArrayView name)
{
    return attributeEquals(element, "id", name) || attributeEquals(element, "name", name);
}

// An element child or the next element sibling; nullptr when there is none.
inline xmlNode *firstElementChild(const xmlNode *node)
{
    xmlNode *child = node->children;
    while (child && !isElement(child))
        child = child->next;
    return child;
}

inline xmlNode *nextElementSibling(const xmlNode *node)
{
    xmlNode *next = node->next;
    while (next && !isElement(next))
        next = next->next;
    return next;
}

// A name as the program writes it into the tree: lower case, UTF-8.
inline QByteArray lowerName(QStringView name)
{
    return name.toString().toLower().toUtf8();
}

// Whether an option is chosen: what its selected attribute said when the
// page was read, until the program chooses another option. The choice
// travels with the node in libxml2's field for the application's own data.
bool isChosen(const xmlNode *option);
void setChosen(xmlNode *option, bool chosen);

} // namespace LibxmlNodes
