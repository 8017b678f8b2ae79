#pragma once

#include <curl/curl.h>

// libcurl, loaded when the first request needs it rather than with the
// program: the library and everything it brings (TLS, Kerberos, LDAP, SSH,
// ...) would otherwise be mapped and relocated before the window shows, and
// its global set-up would read the TLS configuration, for an agent who may
// never query the service. The net library calls curl through this alone and
// links no curl; only it includes this header.
class CurlLibrary
{
public:
    // The library loaded once for the whole process (a loaded library is
    // process-wide whatever we do), its functions resolved and
    // curl_global_init() done. Throws KestranoError when the library, one of
    // its functions or its set-up is missing or fails; the next call tries
    // again.
    static const CurlLibrary &instance();

    CurlLibrary(const CurlLibrary &) = delete;
    CurlLibrary &operator=(const CurlLibrary &) = delete;

    // Each is the function of the same name without the "curl_" prefix, typed
    // as curl.h declares it.
    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&curl_easy_setopt) easySetopt = nullptr;
    decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&curl_multi_init) multiInit = nullptr;
    decltype(&curl_multi_cleanup) multiCleanup = nullptr;
    decltype(&curl_multi_setopt) multiSetopt = nullptr;
    decltype(&curl_multi_add_handle) multiAddHandle = nullptr;
    decltype(&curl_multi_remove_handle) multiRemoveHandle = nullptr;
    decltype(&curl_multi_socket_action) multiSocketAction = nullptr;
    decltype(&curl_multi_info_read) multiInfoRead = nullptr;
    decltype(&curl_slist_append) slistAppend = nullptr;
    decltype(&curl_slist_free_all) slistFreeAll = nullptr;
    decltype(&curl_getdate) getdate = nullptr;

private:
    CurlLibrary();
};
