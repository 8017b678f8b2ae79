#include "html/GumboTree.h"

#include "html/GumboArena.h"
#include "common/KestranoError.h"
#include "html/MarkupGuard.h"

#include <gumbo.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

// Gumbo's trees take up to some 70 times the bytes of the page (a page made
// of nothing but tiny paragraphs); beyond that the page is out to exhaust
// memory.
std::size_t budgetFor(qsizetype pageBytes)
{
    return std::size_t(32) * 1024 * 1024 + std::size_t(pageBytes) * 80;
}

// Nothing with a destructor may live in this frame: the arena's allocator
// jumps back into it when the budget is spent.
GumboOutput *runGumbo(TGumboArena &arena, const GumboOptions *options, const char *data,
                      std::size_t size)
{
    if (setjmp(arena.escape()) != 0)
        return nullptr;
    return gumbo_parse_with_options(options, data, size);
}

QString upperCaseName(const char *name, std::size_t length)
{
    QString upper = QString::fromUtf8(name, qsizetype(length));
    for (QChar &c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return upper;
}

QString tagNameOf(const GumboElement &element)
{
    static const std::array<QString, GUMBO_TAG_UNKNOWN> knownNames = [] {
        std::array<QString, GUMBO_TAG_UNKNOWN> names;
        for (int tag = 0; tag < GUMBO_TAG_UNKNOWN; ++tag) {
            const char *name = gumbo_normalized_tagname(GumboTag(tag));
            names[size_t(tag)] = upperCaseName(name, std::strlen(name));
        }
        return names;
    }();
    if (element.tag < GUMBO_TAG_UNKNOWN)
        return knownNames[size_t(element.tag)];
    GumboStringPiece name = element.original_tag;
    gumbo_tag_from_original_text(&name);
    return upperCaseName(name.data, name.length);
}

THtmlNode::Ptr elementOf(const GumboElement &source)
{
    auto element = std::make_shared<THtmlNode>(THtmlNode::Kind::Element, tagNameOf(source));
    for (unsigned i = 0; i < source.attributes.length; ++i) {
        const auto *attribute = static_cast<const GumboAttribute *>(source.attributes.data[i]);
        element->setAttribute(QString::fromUtf8(attribute->name),
                              QString::fromUtf8(attribute->value));
    }
    if (element->isElement(u"OPTION"))
        element->setSelected(element->hasAttribute(u"selected"));
    return element;
}

// Without recursion: the tree may be as deep as the limits allow and more.
THtmlNode::Ptr convert(const GumboNode &root)
{
    auto document = std::make_shared<THtmlNode>(THtmlNode::Kind::Document, QString());
    struct Level
    {
        const GumboVector *children;
        unsigned next;
        THtmlNode *parent;
    };
    std::vector<Level> levels{{&root.v.document.children, 0, document.get()}};
    while (!levels.empty()) {
        Level &level = levels.back();
        if (level.next == level.children->length) {
            levels.pop_back();
            continue;
        }
        const auto &node = *static_cast<const GumboNode *>(level.children->data[level.next++]);
        THtmlNode &parent = *level.parent;
        switch (node.type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE: {
            THtmlNode::Ptr element = elementOf(node.v.element);
            parent.appendChild(element);
            levels.push_back({&node.v.element.children, 0, element.get()});
            break;
        }
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            parent.appendChild(std::make_shared<THtmlNode>(THtmlNode::Kind::Text,
                                                           QString::fromUtf8(node.v.text.text)));
            break;
        case GUMBO_NODE_COMMENT:
            parent.appendChild(std::make_shared<THtmlNode>(THtmlNode::Kind::Comment,
                                                           QString::fromUtf8(node.v.text.text)));
            break;
        case GUMBO_NODE_DOCUMENT:
            break;
        }
    }
    return document;
}

} // namespace

THtmlNode::Ptr parsePage(QByteArrayView utf8)
{
    return parsePage(utf8, budgetFor(utf8.size()));
}

THtmlNode::Ptr parsePage(QByteArrayView utf8, std::size_t memoryBudget)
{
    TMarkupGuard::check(utf8);

    TGumboArena arena(memoryBudget);
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &TGumboArena::allocate;
    options.deallocator = &TGumboArena::deallocate;
    options.userdata = &arena;
    // Each recorded error copies the stack of open elements; nobody reads
    // them here.
    options.max_errors = 0;
    const char *data = utf8.isEmpty() ? "" : utf8.data();
    const GumboOutput *output = runGumbo(arena, &options, data, std::size_t(utf8.size()));
    if (!output) {
        throw KestranoError(
            QStringLiteral("The page would take more memory than a page of its size should and "
                           "is not read"));
    }
    return convert(*output->document);
}
