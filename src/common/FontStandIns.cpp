#include "FontStandIns.h"

#include <QFont>

void registerFontStandIns()
{
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
    QFont::insertSubstitution(QStringLiteral("TEC"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Segoe MDL2 Assets"), QStringLiteral("Liberation Sans"));
}
