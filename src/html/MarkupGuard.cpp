#include "html/MarkupGuard.h"

#include "common/KestranoError.h"

#include <algorithm>
#include <array>

namespace {

enum Flag : unsigned {
    Void = 1u << 0,
    Special = 1u << 1,
    Scope = 1u << 2,       // bounds the default scope
    ButtonScope = 1u << 3, // bounds the button scope as well
    ListScope = 1u << 4,   // bounds the list item scope as well
    TableScope = 1u << 5,
    Formatting = 1u << 6,
    Marker = 1u << 7, // fences off the formatting elements opened before it
    ClosesP = 1u << 8,
    Heading = 1u << 9,
    RawText = 1u << 10,  // content is text up to the end tag
    Breakout = 1u << 11, // leaves SVG or MathML content
};

struct KnownTag
{
    const char *name;
    unsigned flags;
};

constexpr unsigned Block = Special | ClosesP;

// The tags whose HTML5 tree rules matter for depth; every other tag is an
// ordinary inline element.
constexpr std::array knownTags = {
    KnownTag{"html", Special | Scope | TableScope},
    KnownTag{"head", Special | Breakout},
    KnownTag{"body", Special | Breakout},
    KnownTag{"frameset", Special},
    KnownTag{"p", Block | Breakout},
    KnownTag{"li", Block | Breakout},
    KnownTag{"dd", Block | Breakout},
    KnownTag{"dt", Block | Breakout},
    KnownTag{"table", Block | Scope | TableScope | Breakout},
    KnownTag{"caption", Special | Scope | Marker},
    KnownTag{"colgroup", Special},
    KnownTag{"col", Special | Void},
    KnownTag{"tbody", Special},
    KnownTag{"thead", Special},
    KnownTag{"tfoot", Special},
    KnownTag{"tr", Special},
    KnownTag{"td", Special | Scope | Marker},
    KnownTag{"th", Special | Scope | Marker},
    KnownTag{"a", Formatting},
    KnownTag{"nobr", Formatting | Breakout},
    KnownTag{"b", Formatting | Breakout},
    KnownTag{"big", Formatting | Breakout},
    KnownTag{"code", Formatting | Breakout},
    KnownTag{"em", Formatting | Breakout},
    KnownTag{"font", Formatting},
    KnownTag{"i", Formatting | Breakout},
    KnownTag{"s", Formatting | Breakout},
    KnownTag{"small", Formatting | Breakout},
    KnownTag{"strike", Formatting | Breakout},
    KnownTag{"strong", Formatting | Breakout},
    KnownTag{"tt", Formatting | Breakout},
    KnownTag{"u", Formatting | Breakout},
    KnownTag{"option", 0},
    KnownTag{"optgroup", 0},
    KnownTag{"select", Special},
    KnownTag{"button", Special | ButtonScope},
    KnownTag{"svg", 0},
    KnownTag{"math", 0},
    KnownTag{"applet", Special | Scope | Marker},
    KnownTag{"object", Special | Scope | Marker},
    KnownTag{"marquee", Special | Scope | Marker},
    KnownTag{"template", Special | Scope | TableScope | Marker},
    KnownTag{"ol", Block | ListScope | Breakout},
    KnownTag{"ul", Block | ListScope | Breakout},
    KnownTag{"h1", Block | Heading | Breakout},
    KnownTag{"h2", Block | Heading | Breakout},
    KnownTag{"h3", Block | Heading | Breakout},
    KnownTag{"h4", Block | Heading | Breakout},
    KnownTag{"h5", Block | Heading | Breakout},
    KnownTag{"h6", Block | Heading | Breakout},
    KnownTag{"address", Block},
    KnownTag{"article", Block},
    KnownTag{"aside", Block},
    KnownTag{"blockquote", Block | Breakout},
    KnownTag{"center", Block | Breakout},
    KnownTag{"details", Block},
    KnownTag{"dialog", Block},
    KnownTag{"dir", Block},
    KnownTag{"div", Block | Breakout},
    KnownTag{"dl", Block | Breakout},
    KnownTag{"fieldset", Block},
    KnownTag{"figcaption", Block},
    KnownTag{"figure", Block},
    KnownTag{"footer", Block},
    KnownTag{"header", Block},
    KnownTag{"hgroup", Block},
    KnownTag{"main", Block},
    KnownTag{"menu", Block | Breakout},
    KnownTag{"nav", Block},
    KnownTag{"section", Block},
    KnownTag{"summary", Block},
    KnownTag{"pre", Block | Breakout},
    KnownTag{"listing", Block | Breakout},
    KnownTag{"form", Block},
    KnownTag{"plaintext", Block},
    KnownTag{"xmp", Block | RawText},
    KnownTag{"hr", Block | Void | Breakout},
    KnownTag{"script", Special | RawText},
    KnownTag{"style", Special | RawText},
    KnownTag{"title", Special | RawText},
    KnownTag{"textarea", Special | RawText},
    KnownTag{"iframe", Special | RawText},
    KnownTag{"noembed", Special | RawText},
    KnownTag{"noframes", Special | RawText},
    KnownTag{"noscript", Special},
    KnownTag{"br", Special | Void | Breakout},
    KnownTag{"img", Special | Void | Breakout},
    KnownTag{"image", Void},
    KnownTag{"embed", Special | Void | Breakout},
    KnownTag{"area", Special | Void},
    KnownTag{"base", Special | Void},
    KnownTag{"basefont", Special | Void},
    KnownTag{"bgsound", Special | Void},
    KnownTag{"frame", Special | Void},
    KnownTag{"input", Special | Void},
    KnownTag{"keygen", Void},
    KnownTag{"link", Special | Void},
    KnownTag{"meta", Special | Void | Breakout},
    KnownTag{"param", Special | Void},
    KnownTag{"source", Special | Void},
    KnownTag{"track", Special | Void},
    KnownTag{"wbr", Special | Void},
    KnownTag{"span", Breakout},
    KnownTag{"ruby", Breakout},
    KnownTag{"sub", Breakout},
    KnownTag{"sup", Breakout},
    KnownTag{"var", Breakout},
};

constexpr int known(const char *name)
{
    for (size_t i = 0; i < knownTags.size(); ++i) {
        if (std::string_view(knownTags[i].name) == name)
            return int(i);
    }
    return -1;
}

constexpr int tagHtml = known("html"), tagHead = known("head"), tagBody = known("body"),
              tagFrameset = known("frameset"), tagP = known("p"), tagLi = known("li"),
              tagDd = known("dd"), tagDt = known("dt"), tagTable = known("table"),
              tagCaption = known("caption"), tagColgroup = known("colgroup"),
              tagTbody = known("tbody"), tagThead = known("thead"), tagTfoot = known("tfoot"),
              tagTr = known("tr"), tagTd = known("td"), tagTh = known("th"), tagA = known("a"),
              tagNobr = known("nobr"), tagOption = known("option"), tagOptgroup = known("optgroup"),
              tagSelect = known("select"), tagButton = known("button"), tagSvg = known("svg"),
              tagMath = known("math"), tagTemplate = known("template"),
              tagAddress = known("address"), tagDiv = known("div"),
              tagPlaintext = known("plaintext"), tagXmp = known("xmp"), tagBr = known("br"),
              tagHr = known("hr");

bool isIntegrationPoint(const std::string &name)
{
    for (const char *point :
         {"foreignobject", "desc", "title", "mi", "mo", "mn", "ms", "mtext", "annotation-xml"}) {
        if (name == point)
            return true;
    }
    return false;
}

} // namespace

void TMarkupGuard::check(QByteArrayView page)
{
    checkSize(page.size());
    TMarkupGuard guard(page);
    guard.run();
}

void TMarkupGuard::checkSize(qsizetype bytes)
{
    if (bytes > HtmlLimits::maxPageBytes)
        throw KestranoError(QStringLiteral("The page is larger than 4 MiB and is not read"));
}

TMarkupGuard::TMarkupGuard(QByteArrayView page)
    : FTokens(page), FPositions(knownTags.size()),
      // A page reopens an unclosed FONT or B now and then, at most once for
      // every few bytes of its own.
      FReconstructionBudget(16384 + page.size() / 4)
{}

void TMarkupGuard::run()
{
    for (;;) {
        const TMarkupTokenizer::Token &token = FTokens.next();
        switch (token.kind) {
        case TMarkupTokenizer::Kind::End:
            return;
        case TMarkupTokenizer::Kind::Text:
            reconstruct();
            break;
        case TMarkupTokenizer::Kind::StartTag:
        case TMarkupTokenizer::Kind::EndTag:
            if (token.attributeCount > HtmlLimits::maxAttributes) {
                throw KestranoError(
                    QStringLiteral(
                        "The page has a tag with more than %1 attributes and is not read")
                        .arg(HtmlLimits::maxAttributes));
            }
            if (token.kind == TMarkupTokenizer::Kind::StartTag)
                startTag(token, tagId(token.name));
            else
                endTag(tagId(token.name));
            break;
        }
    }
}

void TMarkupGuard::startTag(const TMarkupTokenizer::Token &token, int tag)
{
    const unsigned tagFlags = flags(tag);
    if (inForeign()) {
        if (!(tagFlags & Breakout)) {
            if (!token.selfClosing)
                push(tag, true, isIntegrationPoint(token.name));
            return;
        }
        while (inForeign())
            popTop();
    }

    if (tag == tagHtml || tag == tagHead || tag == tagBody || tag == tagFrameset)
        return;
    if (tag == tagSvg || tag == tagMath) {
        reconstruct();
        if (!token.selfClosing)
            push(tag, true);
        return;
    }
    if (tagFlags & RawText) {
        if (tag == tagXmp)
            closeP();
        reconstruct();
        // Opened and closed again: the text in between holds no tags.
        FTokens.skipTextUntilEndTag(token.name);
        return;
    }
    if (tag == tagPlaintext) {
        closeP();
        FTokens.skipToEnd();
        return;
    }
    if (tagFlags & Void) {
        if (tag == tagHr)
            closeP();
        else
            reconstruct();
        return;
    }

    if (tag == tagTable) {
        // A TABLE straight inside a table (not inside one of its cells)
        // closes that table before it opens.
        const int current = FOpen.empty() ? -1 : FOpen.back().tag;
        if (top(tagTable) >= 0 && (current == tagTable || current == tagTbody ||
                                   current == tagThead || current == tagTfoot || current == tagTr ||
                                   current == tagCaption || current == tagColgroup))
            popTo(top(tagTable));
        closeP();
        push(tag);
        return;
    }
    if (tag == tagCaption || tag == tagColgroup || tag == tagTbody || tag == tagThead ||
        tag == tagTfoot || tag == tagTr || tag == tagTd || tag == tagTh) {
        // Outside a table these are dropped. Inside a TEMPLATE the parser's
        // mode depends on what came first; they are taken as dropped there,
        // which never closes more than the parser does.
        if (top(tagTable) < 0 || inTemplate())
            return;
        int keep = topOf(&Open::tableScope);
        if (tag == tagTd || tag == tagTh) {
            keep = std::max(keep, top(tagTr));
        } else if (tag == tagTr) {
            keep = std::max({keep, top(tagTbody), top(tagThead), top(tagTfoot)});
        }
        if (keep >= 0)
            popTo(keep + 1);
        if (flags(tag) & Marker)
            pushMarker(tag);
        else
            push(tag);
        return;
    }
    if (tag == tagLi || tag == tagDd || tag == tagDt) {
        const int block = topOf(&Open::block);
        if (block >= 0) {
            const int blockTag = FOpen[size_t(block)].tag;
            if (tag == tagLi ? blockTag == tagLi : (blockTag == tagDd || blockTag == tagDt))
                popTo(block);
        }
        closeP();
        push(tag);
        return;
    }
    if (tagFlags & ClosesP) {
        closeP();
        if ((tagFlags & Heading) && !FOpen.empty() && (flags(FOpen.back().tag) & Heading))
            popTop();
        push(tag);
        return;
    }
    if (tag == tagOption || tag == tagOptgroup) {
        if (!FOpen.empty() && FOpen.back().tag == tagOption)
            popTop();
        if (tag == tagOptgroup && !FOpen.empty() && FOpen.back().tag == tagOptgroup)
            popTop();
        reconstruct();
        push(tag);
        return;
    }
    if (tag == tagSelect) {
        reconstruct();
        // A SELECT inside a SELECT closes the outer one.
        if (const int open = top(tagSelect); open >= 0)
            popTo(open);
        else
            push(tag);
        return;
    }
    if (tag == tagButton) {
        if (const int open = inScope(tagButton, &Open::scope); open >= 0)
            popTo(open);
        reconstruct();
        push(tag);
        return;
    }
    if (tag == tagA) {
        // An A inside an A closes the outer one first; what that closes is
        // reopened below the new one.
        if (lastActive(tag) != FActive.end()) {
            adoptionAgency(tag);
            const ActiveIt left = lastActive(tag);
            if (left != FActive.end()) {
                if (left->position >= 0)
                    remove(left->position);
                eraseActive(left);
            }
        }
        reconstruct();
        pushFormatting(tag, token.attributes);
        return;
    }
    if (tag == tagNobr) {
        reconstruct();
        if (inScope(tag, &Open::scope) >= 0) {
            adoptionAgency(tag);
            reconstruct();
        }
        pushFormatting(tag, token.attributes);
        return;
    }
    if (tagFlags & Formatting) {
        reconstruct();
        pushFormatting(tag, token.attributes);
        return;
    }
    if (tagFlags & Marker) {
        if (tag != tagTemplate)
            reconstruct();
        pushMarker(tag);
        return;
    }
    reconstruct();
    push(tag);
}

void TMarkupGuard::endTag(int tag)
{
    if (inForeign()) {
        const int open = top(tag);
        if (open >= 0 && FOpen[size_t(open)].foreign) {
            popTo(open);
            return;
        }
    }

    const unsigned tagFlags = flags(tag);
    const bool tablePart = tag == tagTable || tag == tagCaption || tag == tagColgroup ||
                           tag == tagTbody || tag == tagThead || tag == tagTfoot || tag == tagTr ||
                           tag == tagTd || tag == tagTh;
    int open = -1;
    if (tag == tagHtml || tag == tagHead || tag == tagBody || tag == tagFrameset) {
        return;
    } else if (tag == tagBr) {
        reconstruct(); // read as <br>
        return;
    } else if (tag == tagP) {
        open = inScope(tag, &Open::buttonScope);
    } else if (tag == tagLi) {
        open = inScope(tag, &Open::listScope);
    } else if (tablePart && !inTemplate()) {
        open = inScope(tag, &Open::tableScope);
    } else if (tag == tagSelect) {
        open = top(tag);
    } else if (tagFlags & Formatting) {
        adoptionAgency(tag);
        return;
    } else if ((tagFlags & Special) && !tablePart) {
        open = inScope(tag, &Open::scope);
    } else {
        // Any other end tag closes the nearest open element of its name,
        // unless a special element is open above that one.
        open = top(tag);
        if (open >= 0 && topOf(&Open::special) > open)
            open = -1;
    }
    if (open >= 0)
        popTo(open);
}

void TMarkupGuard::adoptionAgency(int tag)
{
    // An element of that name on top that is no longer among the open
    // formatting elements is simply closed; with no such element open at
    // all, the end tag is dropped (Gumbo tries no other rule then).
    if (!FOpen.empty() && FOpen.back().tag == tag && !FOpen.back().foreign &&
        !FOpen.back().hasActive) {
        popTop();
        return;
    }
    const ActiveIt entry = lastActive(tag);
    if (entry == FActive.end())
        return;
    const int element = entry->position;
    if (element < 0) {
        eraseActive(entry);
        return;
    }
    if (element < topOf(&Open::scope))
        return;
    // Each block opened inside the element (a special element above it)
    // gets the element's content and a copy of the element, and the parser
    // takes out of the stack whatever lies between that is neither formatting
    // nor special. It moves on block by block, up to eight times; above the
    // last block the copy is closed with everything opened after it.
    int block = element;
    for (int round = 0; round < 8; ++round) {
        int next = block + 1;
        while (next < int(FOpen.size()) && FOpen[size_t(next)].special != next)
            ++next;
        if (next == int(FOpen.size())) {
            popTo(block == element ? element : block + 1);
            eraseActive(entry);
            return;
        }
        for (int between = next - 1; between > block; --between) {
            if (!FOpen[size_t(between)].dead && !FOpen[size_t(between)].hasActive)
                remove(between);
        }
        if (block == element)
            remove(element);
        block = next;
        countReconstructed(4); // the copies
    }
    // The last copy stays open inside the last block: counted as closed, so
    // that the next text opens it again on top, where it is closed with the
    // block as the parser's copy is.
}

int TMarkupGuard::tagId(const std::string &name)
{
    static const std::unordered_map<std::string_view, int> knownIds = [] {
        std::unordered_map<std::string_view, int> ids;
        for (size_t i = 0; i < knownTags.size(); ++i)
            ids.emplace(knownTags[i].name, int(i));
        return ids;
    }();
    if (const auto it = knownIds.find(name); it != knownIds.end())
        return it->second;
    const auto [it, added] = FUnknownTags.try_emplace(name, int(FPositions.size()));
    if (added)
        FPositions.emplace_back();
    return it->second;
}

unsigned TMarkupGuard::flags(int tag) const
{
    return tag < int(knownTags.size()) ? knownTags[size_t(tag)].flags : 0u;
}

void TMarkupGuard::push(int tag, bool foreign, bool integration)
{
    const int position = int(FOpen.size());
    // A foreign element takes none of the HTML rules of its name; only the
    // points where HTML content starts again bound the scopes.
    const unsigned tagFlags = foreign ? (integration ? Special | Scope : 0u) : flags(tag);
    const auto nearest = [&](int Open::*field, bool bounds) {
        return bounds ? position : topOf(field);
    };
    Open open{};
    open.tag = tag;
    open.foreign = foreign;
    open.integration = integration;
    open.scope = nearest(&Open::scope, tagFlags & Scope);
    open.buttonScope = nearest(&Open::buttonScope, tagFlags & (Scope | ButtonScope));
    open.listScope = nearest(&Open::listScope, tagFlags & (Scope | ListScope));
    open.tableScope = nearest(&Open::tableScope, tagFlags & TableScope);
    open.special = nearest(&Open::special, tagFlags & Special);
    open.block = nearest(&Open::block,
                         (tagFlags & Special) && tag != tagAddress && tag != tagDiv && tag != tagP);
    open.dead = false;
    open.hasActive = false;
    FOpen.push_back(open);
    FPositions[size_t(tag)].push_back(position);
    if (++FLive > HtmlLimits::maxDepth) {
        throw KestranoError(
            QStringLiteral("The page nests its elements more than %1 deep and is not read")
                .arg(HtmlLimits::maxDepth));
    }
}

void TMarkupGuard::pushFormatting(int tag, QByteArrayView attributes)
{
    // The parser keeps at most three equal formatting elements open after
    // the last fence, dropping the earliest.
    int equal = 0;
    ActiveIt earliest = FActive.end();
    for (auto it = FActive.end(); it != FActive.begin();) {
        --it;
        if (it->marker)
            break;
        if (it->tag == tag && QByteArrayView(it->attributes) == attributes) {
            ++equal;
            earliest = it;
        }
    }
    if (equal >= 3)
        eraseActive(earliest);

    push(tag);
    FActive.push_back({tag, false, int(FOpen.size()) - 1, attributes.toByteArray().toStdString()});
    FOpen.back().hasActive = true;
    FOpen.back().active = std::prev(FActive.end());
    if (++FFormatting > HtmlLimits::maxOpenFormatting) {
        throw KestranoError(
            QStringLiteral("The page leaves more than %1 formatting elements open and is not read")
                .arg(HtmlLimits::maxOpenFormatting));
    }
}

void TMarkupGuard::pushMarker(int tag)
{
    push(tag);
    FActive.push_back({tag, true, int(FOpen.size()) - 1, {}});
    FOpen.back().hasActive = true;
    FOpen.back().active = std::prev(FActive.end());
}

void TMarkupGuard::popTop()
{
    const Open open = FOpen.back();
    FOpen.pop_back();
    if (!open.dead) {
        --FLive;
        FPositions[size_t(open.tag)].pop_back();
    }
    if (open.hasActive) {
        open.active->position = -1;
        if (open.active->marker) {
            // Closing a fence forgets the formatting elements opened after it.
            for (;;) {
                const ActiveIt last = std::prev(FActive.end());
                const bool fence = last == open.active;
                eraseActive(last);
                if (fence)
                    break;
            }
        }
    }
    while (!FOpen.empty() && FOpen.back().dead)
        FOpen.pop_back();
}

void TMarkupGuard::remove(int position)
{
    Open &open = FOpen[size_t(position)];
    if (open.dead)
        return;
    open.dead = true;
    --FLive;
    std::vector<int> &positions = FPositions[size_t(open.tag)];
    positions.erase(std::find(positions.begin(), positions.end(), position));
    if (open.hasActive) {
        open.active->position = -1;
        open.hasActive = false;
    }
    while (!FOpen.empty() && FOpen.back().dead)
        FOpen.pop_back();
}

void TMarkupGuard::popTo(int position)
{
    while (int(FOpen.size()) > position)
        popTop();
}

int TMarkupGuard::top(int tag) const
{
    const std::vector<int> &positions = FPositions[size_t(tag)];
    return positions.empty() ? -1 : positions.back();
}

int TMarkupGuard::topOf(int Open::*scope) const
{
    return FOpen.empty() ? -1 : FOpen.back().*scope;
}

int TMarkupGuard::inScope(int tag, int Open::*scope) const
{
    const int open = top(tag);
    return open >= 0 && open >= topOf(scope) ? open : -1;
}

bool TMarkupGuard::inTemplate() const
{
    const int boundary = topOf(&Open::tableScope);
    return boundary >= 0 && FOpen[size_t(boundary)].tag == tagTemplate;
}

bool TMarkupGuard::inForeign() const
{
    return !FOpen.empty() && FOpen.back().foreign && !FOpen.back().integration;
}

void TMarkupGuard::closeP()
{
    if (const int open = inScope(tagP, &Open::buttonScope); open >= 0)
        popTo(open);
}

void TMarkupGuard::reconstruct()
{
    if (FActive.empty())
        return;
    ActiveIt first = std::prev(FActive.end());
    if (first->marker || first->position >= 0)
        return;
    while (first != FActive.begin()) {
        const ActiveIt before = std::prev(first);
        if (before->marker || before->position >= 0)
            break;
        first = before;
    }
    for (ActiveIt it = first; it != FActive.end(); ++it) {
        countReconstructed(1);
        push(it->tag);
        it->position = int(FOpen.size()) - 1;
        FOpen.back().hasActive = true;
        FOpen.back().active = it;
    }
}

TMarkupGuard::ActiveIt TMarkupGuard::lastActive(int tag)
{
    for (auto it = FActive.end(); it != FActive.begin();) {
        --it;
        if (it->marker)
            break;
        if (it->tag == tag)
            return it;
    }
    return FActive.end();
}

void TMarkupGuard::eraseActive(ActiveIt entry)
{
    if (entry->position >= 0)
        FOpen[size_t(entry->position)].hasActive = false;
    if (!entry->marker)
        --FFormatting;
    FActive.erase(entry);
}

void TMarkupGuard::countReconstructed(qint64 elements)
{
    FReconstructed += elements;
    if (FReconstructed > FReconstructionBudget) {
        throw KestranoError(QStringLiteral("The page reopens its unclosed formatting elements too "
                                           "often and is not read"));
    }
}
