#include "common/FontStandIns.h"

#include <QFont>
#include <QFontDatabase>

namespace {

struct StandIn
{
    const char16_t *named;
    const char16_t *servedBy;
};

// The Latin fonts name the Song face as the one for the Chinese characters
// they lack, as the Windows desktop falls back to SimSun; otherwise the
// machine's preferred sans-serif CJK font would print them.
const char16_t songFace[] = u"AR PL UMing CN";

const StandIn standIns[] = {
    {u"宋体", songFace},
    {u"SimSun", songFace},
    {u"Arial Narrow", u"Liberation Sans Narrow"},
    {u"TEC", u"Liberation Sans"},
    {u"Segoe MDL2 Assets", u"Liberation Sans"},
};

// The fonts that serve a name, the closest first; the Latin ones fall back on
// the Song face for the Chinese characters they lack.
QStringList servedBy(const StandIn &standIn)
{
    const QString song = QString::fromUtf16(songFace);
    QStringList families{QString::fromUtf16(standIn.servedBy)};
    if (families.constFirst() != song)
        families.append(song);
    return families;
}

} // namespace

void registerFontStandIns()
{
    for (const StandIn &standIn : standIns)
        QFont::insertSubstitutions(QString::fromUtf16(standIn.named), servedBy(standIn));
}

QStringList fontStandInNames()
{
    QStringList names;
    for (const StandIn &standIn : standIns)
        names.append(QString::fromUtf16(standIn.named));
    return names;
}

QString installedFamily(const QString &named)
{
    // Looked up in the list of installed families, not with
    // QFontDatabase::hasFamily: that one first runs the name through every
    // substitution rule of fontconfig, some milliseconds per name.
    const QStringList installed = QFontDatabase::families();
    const auto isInstalled = [&installed](const QString &family) {
        return installed.contains(family, Qt::CaseInsensitive);
    };
    if (isInstalled(named))
        return named;
    // Spelled as the table spells them: Qt keeps its substitutes in lower case.
    for (const StandIn &standIn : standIns) {
        if (named != QString::fromUtf16(standIn.named))
            continue;
        for (const QString &family : servedBy(standIn)) {
            if (isInstalled(family))
                return family;
        }
    }
    return named;
}
