#include "net/CurlLibrary.h"

#include "common/KestranoError.h"
#include "common/LateLibrary.h"
#include "common/Messages.h"

namespace {

// The oldest libcurl that knows every option the client sets
// (CURLOPT_PROTOCOLS_STR); an older one would ignore it without a word.
constexpr unsigned int oldestVersion = 0x075500; // 7.85.0
const char *const oldestVersionText = "7.85.0";

// The file of the ABI the program is built against.
#if defined(Q_OS_WIN)
const char *const fileName = "libcurl.dll";
#elif defined(Q_OS_DARWIN)
const char *const fileName = "libcurl.4.dylib";
#else
const char *const fileName = "libcurl.so.4";
#endif

} // namespace

const CurlLibrary &CurlLibrary::instance()
{
    // Made by the first caller, also when two threads come at once; when the
    // constructor throws, the next call makes it again.
    static const CurlLibrary curl;
    return curl;
}

CurlLibrary::CurlLibrary()
{
    LateLibrary library(QString::fromLatin1(fileName), QStringLiteral("查询行程单验证网站"));

    decltype(&curl_version_info) versionInfo = nullptr;
    library.resolve(versionInfo, "curl_version_info");
    const curl_version_info_data *version = versionInfo(CURLVERSION_NOW);
    if (!version || version->version_num < oldestVersion)
        throw KestranoError(Messages::libraryTooOld(library.fileName(),
                                                    version ? QString::fromLatin1(version->version)
                                                            : QStringLiteral("?"),
                                                    QString::fromLatin1(oldestVersionText)));

    library.resolve(easyInit, "curl_easy_init");
    library.resolve(easyCleanup, "curl_easy_cleanup");
    library.resolve(easySetopt, "curl_easy_setopt");
    library.resolve(easyGetinfo, "curl_easy_getinfo");
    library.resolve(multiInit, "curl_multi_init");
    library.resolve(multiCleanup, "curl_multi_cleanup");
    library.resolve(multiSetopt, "curl_multi_setopt");
    library.resolve(multiAddHandle, "curl_multi_add_handle");
    library.resolve(multiRemoveHandle, "curl_multi_remove_handle");
    library.resolve(multiSocketAction, "curl_multi_socket_action");
    library.resolve(multiInfoRead, "curl_multi_info_read");
    library.resolve(slistAppend, "curl_slist_append");
    library.resolve(slistFreeAll, "curl_slist_free_all");
    library.resolve(getdate, "curl_getdate");

    // Once, before any handle is made: curl_easy_init() would do it itself,
    // but without a word when it fails. Never undone: handles may live until
    // the process ends.
    decltype(&curl_global_init) globalInit = nullptr;
    library.resolve(globalInit, "curl_global_init");
    const CURLcode code = globalInit(CURL_GLOBAL_DEFAULT);
    if (code != CURLE_OK)
        throw KestranoError(Messages::librarySetUpFailed(
            library.fileName(), QStringLiteral("libcurl 错误 %1").arg(int(code))));
}
