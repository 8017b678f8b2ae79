#include "html/LibxmlLibrary.h"

#include "common/KestranoError.h"
#include "common/Messages.h"

#include <QLibrary>

namespace {

QLibrary &loadedLibrary()
{
    // The file of the ABI the program is built against, named in full, so
    // that a failure reports why that library could not be loaded.
#if defined(Q_OS_WIN)
    static QLibrary library(QStringLiteral("libxml2.dll"));
#elif defined(Q_OS_DARWIN)
    static QLibrary library(QStringLiteral("libxml2.2.dylib"));
#else
    static QLibrary library(QStringLiteral("libxml2.so.2"));
#endif
    if (!library.isLoaded()) {
        // Every symbol bound at once, so a broken library fails here and not
        // in the middle of a page; its symbols stay out of the global scope.
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library.load())
            throw KestranoError(Messages::libraryMissing(library.fileName(),
                                                         QStringLiteral("读取网页")));
    }
    return library;
}

template <typename Function> void resolve(QLibrary &library, Function &function, const char *name)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        throw KestranoError(
            Messages::libraryLacksFunction(library.fileName(), QString::fromLatin1(name)));
}

} // namespace

const TLibxmlLibrary &TLibxmlLibrary::instance()
{
    // Made by the first caller, also when two threads come at once; when the
    // constructor throws, the next call makes it again.
    static const TLibxmlLibrary libxml;
    return libxml;
}

TLibxmlLibrary::TLibxmlLibrary()
{
    QLibrary &library = loadedLibrary();
    resolve(library, htmlReadIO, "htmlReadIO");
    resolve(library, htmlNewDocNoDtD, "htmlNewDocNoDtD");
    resolve(library, xmlFreeDoc, "xmlFreeDoc");
    resolve(library, xmlFreeNode, "xmlFreeNode");
    resolve(library, xmlNewDocNode, "xmlNewDocNode");
    resolve(library, xmlNewDocTextLen, "xmlNewDocTextLen");
    resolve(library, xmlDocCopyNode, "xmlDocCopyNode");
    resolve(library, xmlUnlinkNode, "xmlUnlinkNode");
    resolve(library, xmlAddChild, "xmlAddChild");
    resolve(library, xmlAddPrevSibling, "xmlAddPrevSibling");
    resolve(library, xmlSetProp, "xmlSetProp");

    // Once, before the first page: the parser's global tables are set up
    // here rather than by whichever thread happens to parse first.
    decltype(&::xmlInitParser) initParser = nullptr;
    resolve(library, initParser, "xmlInitParser");
    initParser();
}
