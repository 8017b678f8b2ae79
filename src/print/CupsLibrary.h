#pragma once

#include <QString>
#include <cups/cups.h>

// The CUPS client library, loaded the first time printing needs it rather
// than at start: libcups brings a long chain of libraries (TLS, Kerberos,
// Avahi) that a start which prints nothing should not have to map. Loaded
// once for the life of the process and never unloaded; the functions are
// those that printing calls, under their own names.
class CupsLibrary
{
public:
    // The library every print goes through, loaded at the first call; raises
    // KestranoError when it is missing or lacks a function (a later call
    // tries again). Safe from any thread.
    static const CupsLibrary &instance();

    // Loads fileName and resolves every function; raises KestranoError naming
    // the file, and the function that is missing when one is.
    explicit CupsLibrary(const char *fileName);

    CupsLibrary(const CupsLibrary &) = delete;
    CupsLibrary &operator=(const CupsLibrary &) = delete;

    decltype(&::cupsLastError) cupsLastError = nullptr;
    decltype(&::cupsUser) cupsUser = nullptr;
    decltype(&::cupsDoRequest) cupsDoRequest = nullptr;
    decltype(&::cupsGetNamedDest) cupsGetNamedDest = nullptr;
    decltype(&::cupsFreeDests) cupsFreeDests = nullptr;
    decltype(&::cupsAddOption) cupsAddOption = nullptr;
    decltype(&::cupsFreeOptions) cupsFreeOptions = nullptr;
    decltype(&::cupsEncodeOptions2) cupsEncodeOptions2 = nullptr;
    decltype(&::cupsSendRequest) cupsSendRequest = nullptr;
    decltype(&::cupsWriteRequestData) cupsWriteRequestData = nullptr;
    decltype(&::cupsGetResponse) cupsGetResponse = nullptr;
    decltype(&::cupsCancelJob2) cupsCancelJob2 = nullptr;
    decltype(&::httpAssembleURI) httpAssembleURI = nullptr;
    decltype(&::ippNewRequest) ippNewRequest = nullptr;
    decltype(&::ippDelete) ippDelete = nullptr;
    decltype(&::ippPort) ippPort = nullptr;
    decltype(&::ippAddString) ippAddString = nullptr;
    decltype(&::ippAddStrings) ippAddStrings = nullptr;
    decltype(&::ippLength) ippLength = nullptr;
    decltype(&::ippFindAttribute) ippFindAttribute = nullptr;
    decltype(&::ippFirstAttribute) ippFirstAttribute = nullptr;
    decltype(&::ippNextAttribute) ippNextAttribute = nullptr;
    decltype(&::ippGetName) ippGetName = nullptr;
    decltype(&::ippGetGroupTag) ippGetGroupTag = nullptr;
    decltype(&::ippGetString) ippGetString = nullptr;
    decltype(&::ippGetInteger) ippGetInteger = nullptr;
    decltype(&::ippGetBoolean) ippGetBoolean = nullptr;
    decltype(&::ippAddBoolean) ippAddBoolean = nullptr;
};
