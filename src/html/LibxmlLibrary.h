#pragma once

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/tree.h>

// libxml2, loaded when the first page is read rather than with the program:
// an agent who never queries the service should not pay for mapping and
// relocating it at every start. src/html calls libxml2 through this alone and
// links no libxml2; only its sources include this header.
class LibxmlLibrary
{
public:
    // The library loaded once for the whole process, its functions resolved
    // and its parser set up. Throws KestranoError when the library or one of
    // its functions is missing; the next call tries again.
    static const LibxmlLibrary &instance();

    LibxmlLibrary(const LibxmlLibrary &) = delete;
    LibxmlLibrary &operator=(const LibxmlLibrary &) = delete;

    // Each is the libxml2 function of the same name, typed as its headers
    // declare it.
    decltype(&::htmlReadIO) htmlReadIO = nullptr;
    decltype(&::htmlNewDocNoDtD) htmlNewDocNoDtD = nullptr;
    decltype(&::xmlFreeDoc) xmlFreeDoc = nullptr;
    decltype(&::xmlFreeNode) xmlFreeNode = nullptr;
    decltype(&::xmlNewDocNode) xmlNewDocNode = nullptr;
    decltype(&::xmlNewDocTextLen) xmlNewDocTextLen = nullptr;
    decltype(&::xmlDocCopyNode) xmlDocCopyNode = nullptr;
    decltype(&::xmlUnlinkNode) xmlUnlinkNode = nullptr;
    decltype(&::xmlAddChild) xmlAddChild = nullptr;
    decltype(&::xmlAddPrevSibling) xmlAddPrevSibling = nullptr;
    decltype(&::xmlSetProp) xmlSetProp = nullptr;

private:
    LibxmlLibrary();
};
