#include "html/LibxmlLibrary.h"

#include "common/LateLibrary.h"

namespace {

// The file of the ABI the program is built against.
#if defined(Q_OS_WIN)
const char *const fileName = "libxml2.dll";
#elif defined(Q_OS_DARWIN)
const char *const fileName = "libxml2.2.dylib";
#else
const char *const fileName = "libxml2.so.2";
#endif

} // namespace

const LibxmlLibrary &LibxmlLibrary::instance()
{
    // Made by the first caller, also when two threads come at once; when the
    // constructor throws, the next call makes it again.
    static const LibxmlLibrary libxml;
    return libxml;
}

LibxmlLibrary::LibxmlLibrary()
{
    LateLibrary library(QString::fromLatin1(fileName), QStringLiteral("读取网页"));
    library.resolve(htmlReadIO, "htmlReadIO");
    library.resolve(htmlNewDocNoDtD, "htmlNewDocNoDtD");
    library.resolve(xmlFreeDoc, "xmlFreeDoc");
    library.resolve(xmlFreeNode, "xmlFreeNode");
    library.resolve(xmlNewDocNode, "xmlNewDocNode");
    library.resolve(xmlNewDocTextLen, "xmlNewDocTextLen");
    library.resolve(xmlDocCopyNode, "xmlDocCopyNode");
    library.resolve(xmlUnlinkNode, "xmlUnlinkNode");
    library.resolve(xmlAddChild, "xmlAddChild");
    library.resolve(xmlAddPrevSibling, "xmlAddPrevSibling");
    library.resolve(xmlSetProp, "xmlSetProp");

    // Once, before the first page: the parser's global tables are set up
    // here rather than by whichever thread happens to parse first.
    decltype(&::xmlInitParser) initParser = nullptr;
    library.resolve(initParser, "xmlInitParser");
    initParser();
}
