#include "html/LibxmlTree.h"

#include "common/KestranoError.h"
#include "html/PageLimits.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

struct TFreeDocument
{
    void operator()(xmlDoc *document) const { xmlFreeDoc(document); }
};
using TDocumentPtr = std::unique_ptr<xmlDoc, TFreeDocument>;

QString textOf(const xmlChar *text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString();
}

// Builds the document's nodes from libxml2's tree. Names come out of the
// parser's dictionary, one pointer for each distinct name, so each is turned
// into a QString once.
class TTreeBuilder
{
public:
    THtmlNode::Ptr build(const xmlDoc &source)
    {
        auto document = std::make_shared<THtmlNode>(THtmlNode::Kind::Document, QString());
        // Without recursion and without a stack of its own: libxml2's nodes
        // know their parent and next sibling.
        THtmlNode *parent = document.get();
        const xmlNode *node = source.children;
        while (node) {
            THtmlNode::Ptr made = nodeOf(*node);
            if (made && made->isElement() && node->children) {
                THtmlNode *element = made.get();
                parent->appendNewChild(std::move(made));
                parent = element;
                node = node->children;
                continue;
            }
            if (made)
                parent->appendNewChild(std::move(made));
            while (node && !node->next) {
                node = node->parent;
                if (!node || node->type == XML_DOCUMENT_NODE ||
                    node->type == XML_HTML_DOCUMENT_NODE) {
                    node = nullptr;
                    break;
                }
                parent = parent->parent();
            }
            if (node)
                node = node->next;
        }
        return document;
    }

private:
    THtmlNode::Ptr nodeOf(const xmlNode &node)
    {
        switch (node.type) {
        case XML_ELEMENT_NODE:
            return elementOf(node);
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            return std::make_shared<THtmlNode>(THtmlNode::Kind::Text, textOf(node.content));
        case XML_COMMENT_NODE:
            return std::make_shared<THtmlNode>(THtmlNode::Kind::Comment, textOf(node.content));
        default:
            // The document type, processing instructions: nothing a page shows.
            return nullptr;
        }
    }

    THtmlNode::Ptr elementOf(const xmlNode &source)
    {
        auto element =
            std::make_shared<THtmlNode>(THtmlNode::Kind::Element, upperName(source.name));
        for (const xmlAttr *attribute = source.properties; attribute; attribute = attribute->next) {
            QString value;
            for (const xmlNode *part = attribute->children; part; part = part->next)
                value += textOf(part->content);
            element->addAttribute(lowerName(attribute->name), value);
        }
        if (element->isElement(u"OPTION"))
            element->setSelected(element->hasAttribute(u"selected"));
        return element;
    }

    const QString &upperName(const xmlChar *name)
    {
        auto [place, added] = FUpperNames.try_emplace(name);
        if (added)
            place->second = textOf(name).toUpper();
        return place->second;
    }

    const QString &lowerName(const xmlChar *name)
    {
        auto [place, added] = FLowerNames.try_emplace(name);
        if (added)
            place->second = textOf(name).toLower();
        return place->second;
    }

    std::unordered_map<const xmlChar *, QString> FUpperNames;
    std::unordered_map<const xmlChar *, QString> FLowerNames;
};

} // namespace

THtmlNode::Ptr parsePage(const QByteArray &utf8)
{
    PageLimits::checkSize(utf8.size());
    const QByteArray page = PageLimits::checkedPage(utf8);

    static std::once_flag initialised;
    std::call_once(initialised, xmlInitParser);

    // Recovering from broken markup as a browser would, never reaching for
    // the network, quiet; without HTML_PARSE_HUGE, so that libxml2 keeps its
    // own limits on depth and on the size of a single text.
    // Short texts are kept inside their nodes (fewer allocations), and no
    // document type is made up for a page that has none.
    constexpr int options = HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR |
                            HTML_PARSE_NOWARNING | HTML_PARSE_COMPACT | HTML_PARSE_NODEFDTD;
    // An empty buffer gives no document at all; a page of nothing still has
    // its HTML element.
    const char *data = page.isEmpty() ? " " : page.constData();
    const int size = page.isEmpty() ? 1 : int(page.size());
    const TDocumentPtr document(htmlReadMemory(data, size, nullptr, "UTF-8", options));
    if (!document)
        throw KestranoError(QStringLiteral("The page cannot be read as HTML"));
    return TTreeBuilder().build(*document);
}
