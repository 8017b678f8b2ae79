#include "print/CupsLibrary.h"

#include "common/KestranoError.h"
#include "common/Messages.h"

#include <dlfcn.h>

const TCupsLibrary &TCupsLibrary::instance()
{
    // A throwing constructor leaves the static unmade: the next print tries again.
    static const TCupsLibrary library("libcups.so.2");
    return library;
}

TCupsLibrary::TCupsLibrary(const char *fileName) : FFileName(QString::fromLocal8Bit(fileName))
{
    // Local, so that none of its symbols (or those of its chain) can stand
    // in for another library's; every function is bound now, so that a
    // library lacking one fails here and not halfway through a print.
    FHandle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!FHandle)
        throw KestranoError(Messages::libraryMissing(FFileName, QStringLiteral("打印")));
    try {
        resolve(cupsLastError, "cupsLastError");
        resolve(cupsUser, "cupsUser");
        resolve(cupsDoRequest, "cupsDoRequest");
        resolve(cupsGetNamedDest, "cupsGetNamedDest");
        resolve(cupsFreeDests, "cupsFreeDests");
        resolve(cupsAddOption, "cupsAddOption");
        resolve(cupsFreeOptions, "cupsFreeOptions");
        resolve(cupsEncodeOptions2, "cupsEncodeOptions2");
        resolve(cupsSendRequest, "cupsSendRequest");
        resolve(cupsWriteRequestData, "cupsWriteRequestData");
        resolve(cupsGetResponse, "cupsGetResponse");
        resolve(cupsCancelJob2, "cupsCancelJob2");
        resolve(httpAssembleURI, "httpAssembleURI");
        resolve(ippNewRequest, "ippNewRequest");
        resolve(ippDelete, "ippDelete");
        resolve(ippPort, "ippPort");
        resolve(ippAddString, "ippAddString");
        resolve(ippAddStrings, "ippAddStrings");
        resolve(ippLength, "ippLength");
        resolve(ippFindAttribute, "ippFindAttribute");
        resolve(ippFirstAttribute, "ippFirstAttribute");
        resolve(ippNextAttribute, "ippNextAttribute");
        resolve(ippGetName, "ippGetName");
        resolve(ippGetGroupTag, "ippGetGroupTag");
        resolve(ippGetString, "ippGetString");
        resolve(ippGetInteger, "ippGetInteger");
        resolve(ippGetBoolean, "ippGetBoolean");
        resolve(ippAddBoolean, "ippAddBoolean");
    } catch (...) {
        dlclose(FHandle);
        throw;
    }
}

template <typename Function> void TCupsLibrary::resolve(Function &function, const char *name)
{
    dlerror();
    function = reinterpret_cast<Function>(dlsym(FHandle, name));
    if (!function)
        throw KestranoError(Messages::libraryLacksFunction(FFileName, QLatin1String(name)));
}
