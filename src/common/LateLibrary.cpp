#include "common/LateLibrary.h"

LateLibrary::LateLibrary(const QString &fileName, const QString &neededFor) : m_library(fileName)
{
    m_library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!m_library.load())
        throw KestranoError(Messages::libraryMissing(fileName, neededFor));
}
