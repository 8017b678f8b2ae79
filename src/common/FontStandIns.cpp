#include "common/FontStandIns.h"

#include <QFont>

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

} // namespace

void registerFontStandIns()
{
    const QString song = QString::fromUtf16(songFace);
    for (const StandIn &standIn : standIns) {
        QStringList servedBy{QString::fromUtf16(standIn.servedBy)};
        if (servedBy.constFirst() != song)
            servedBy.append(song);
        QFont::insertSubstitutions(QString::fromUtf16(standIn.named), servedBy);
    }
}

QStringList fontStandInNames()
{
    QStringList names;
    for (const StandIn &standIn : standIns)
        names.append(QString::fromUtf16(standIn.named));
    return names;
}
