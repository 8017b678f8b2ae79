#pragma once

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <dlfcn.h>
#endif

// Whether the process has the shared library of this name loaded, asked
// without loading it.
inline bool isLibraryLoaded(const char *soname)
{
#ifdef Q_OS_LINUX
    void *library = dlopen(soname, RTLD_LAZY | RTLD_NOLOAD);
    if (library)
        dlclose(library); // gives back only the reference the question took
    return library != nullptr;
#else
    Q_UNUSED(soname);
    return false;
#endif
}
