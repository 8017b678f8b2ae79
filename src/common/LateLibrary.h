#pragma once

#include "common/KestranoError.h"
#include "common/Messages.h"

#include <QLibrary>
#include <QString>

// A shared library loaded the first time the program needs it rather than
// at start, so that a start maps none of its chain and a missing library
// only keeps its own feature from working. Named by the file of the ABI the
// program is built against (given a bare name, QLibrary tries other names
// after it and reports why the last of them failed). Every symbol is bound
// at load, so that a broken library fails here and not in the middle of a
// task; its symbols stay out of the global scope; it is never unloaded.
class LateLibrary
{
public:
    // Raises KestranoError naming the file and what it is needed for when it
    // cannot be loaded.
    LateLibrary(const QString &fileName, const QString &neededFor);

    LateLibrary(const LateLibrary &) = delete;
    LateLibrary &operator=(const LateLibrary &) = delete;

    QString fileName() const { return m_library.fileName(); }

    // Binds function to the library's symbol name; raises KestranoError naming
    // the library and the function when it has no such symbol.
    template <typename Function> void resolve(Function &function, const char *name)
    {
        function = reinterpret_cast<Function>(m_library.resolve(name));
        if (!function)
            throw KestranoError(
                Messages::libraryLacksFunction(fileName(), QString::fromLatin1(name)));
    }

private:
    QLibrary m_library;
};
