#include "print/CupsLibrary.h"

#include "common/LateLibrary.h"

const CupsLibrary &CupsLibrary::instance()
{
    // A throwing constructor leaves the static unmade: the next print tries again.
    static const CupsLibrary library("libcups.so.2");
    return library;
}

CupsLibrary::CupsLibrary(const char *fileName)
{
    LateLibrary library(QString::fromLatin1(fileName), QStringLiteral("打印"));
    library.resolve(cupsLastError, "cupsLastError");
    library.resolve(cupsUser, "cupsUser");
    library.resolve(cupsDoRequest, "cupsDoRequest");
    library.resolve(cupsGetNamedDest, "cupsGetNamedDest");
    library.resolve(cupsFreeDests, "cupsFreeDests");
    library.resolve(cupsAddOption, "cupsAddOption");
    library.resolve(cupsFreeOptions, "cupsFreeOptions");
    library.resolve(cupsEncodeOptions2, "cupsEncodeOptions2");
    library.resolve(cupsSendRequest, "cupsSendRequest");
    library.resolve(cupsWriteRequestData, "cupsWriteRequestData");
    library.resolve(cupsGetResponse, "cupsGetResponse");
    library.resolve(cupsCancelJob2, "cupsCancelJob2");
    library.resolve(httpAssembleURI, "httpAssembleURI");
    library.resolve(ippNewRequest, "ippNewRequest");
    library.resolve(ippDelete, "ippDelete");
    library.resolve(ippPort, "ippPort");
    library.resolve(ippAddString, "ippAddString");
    library.resolve(ippAddStrings, "ippAddStrings");
    library.resolve(ippLength, "ippLength");
    library.resolve(ippFindAttribute, "ippFindAttribute");
    library.resolve(ippFirstAttribute, "ippFirstAttribute");
    library.resolve(ippNextAttribute, "ippNextAttribute");
    library.resolve(ippGetName, "ippGetName");
    library.resolve(ippGetGroupTag, "ippGetGroupTag");
    library.resolve(ippGetString, "ippGetString");
    library.resolve(ippGetInteger, "ippGetInteger");
    library.resolve(ippGetBoolean, "ippGetBoolean");
    library.resolve(ippAddBoolean, "ippAddBoolean");
}
