#include "net/CurlLibrary.h"

#include "common/KestranoError.h"
#include "common/Messages.h"

#include <QLibrary>

namespace {

// The oldest libcurl that knows every option the client sets
// (CURLOPT_PROTOCOLS_STR); an older one would ignore it without a word.
constexpr unsigned int oldestVersion = 0x075500; // 7.85.0
const char *const oldestVersionText = "7.85.0";

QLibrary &loadedLibrary()
{
    // The file of the ABI the program is built against, named in full: given
    // a bare name, QLibrary tries other names after it and reports why the
    // last of them failed, not why the library itself could not be loaded.
#if defined(Q_OS_WIN)
    static QLibrary library(QStringLiteral("libcurl.dll"));
#elif defined(Q_OS_DARWIN)
    static QLibrary library(QStringLiteral("libcurl.4.dylib"));
#else
    static QLibrary library(QStringLiteral("libcurl.so.4"));
#endif
    if (!library.isLoaded()) {
        // Every symbol bound at once, so a broken library fails here and not
        // in the middle of a request; its symbols stay out of the global scope.
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library.load())
            throw KestranoError(Messages::libraryMissing(library.fileName(),
                                                         QStringLiteral("查询行程单验证网站")));
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

const TCurlLibrary &TCurlLibrary::instance()
{
    // Made by the first caller, also when two threads come at once; when the
    // constructor throws, the next call makes it again.
    static const TCurlLibrary curl;
    return curl;
}

TCurlLibrary::TCurlLibrary()
{
    QLibrary &library = loadedLibrary();

    decltype(&curl_version_info) versionInfo = nullptr;
    resolve(library, versionInfo, "curl_version_info");
    const curl_version_info_data *version = versionInfo(CURLVERSION_NOW);
    if (!version || version->version_num < oldestVersion)
        throw KestranoError(Messages::libraryTooOld(
            library.fileName(), version ? QString::fromLatin1(version->version) : QStringLiteral("?"),
            QString::fromLatin1(oldestVersionText)));

    resolve(library, easyInit, "curl_easy_init");
    resolve(library, easyCleanup, "curl_easy_cleanup");
    resolve(library, easySetopt, "curl_easy_setopt");
    resolve(library, easyGetinfo, "curl_easy_getinfo");
    resolve(library, multiInit, "curl_multi_init");
    resolve(library, multiCleanup, "curl_multi_cleanup");
    resolve(library, multiSetopt, "curl_multi_setopt");
    resolve(library, multiAddHandle, "curl_multi_add_handle");
    resolve(library, multiRemoveHandle, "curl_multi_remove_handle");
    resolve(library, multiSocketAction, "curl_multi_socket_action");
    resolve(library, multiInfoRead, "curl_multi_info_read");
    resolve(library, slistAppend, "curl_slist_append");
    resolve(library, slistFreeAll, "curl_slist_free_all");
    resolve(library, getdate, "curl_getdate");

    // Once, before any handle is made: curl_easy_init() would do it itself,
    // but without a word when it fails. Never undone: handles may live until
    // the process ends.
    decltype(&curl_global_init) globalInit = nullptr;
    resolve(library, globalInit, "curl_global_init");
    const CURLcode code = globalInit(CURL_GLOBAL_DEFAULT);
    if (code != CURLE_OK)
        throw KestranoError(Messages::librarySetUpFailed(
            library.fileName(), QStringLiteral("libcurl 错误 %1").arg(int(code))));
}
