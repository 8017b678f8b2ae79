#include "FontStandIns.h"

#include <QFont>

namespace {

struct StandIn
{
    const char16_t *named;
    const char16_t *servedBy;
};

const StandIn standIns[] = {
    {u"宋体", u"AR PL UMing CN"},
    {u"SimSun", u"AR PL UMing CN"},
    {u"Arial Narrow", u"Liberation Sans Narrow"},
    {u"TEC", u"Liberation Sans"},
    {u"Segoe MDL2 Assets", u"Liberation Sans"},
};

} // namespace

void registerFontStandIns()
{
    for (const StandIn &standIn : standIns)
        QFont::insertSubstitution(QString::fromUtf16(standIn.named), QString::fromUtf16(standIn.servedBy));
}

QStringList fontStandInNames()
{
    QStringList names;
    for (const StandIn &standIn : standIns)
        names.append(QString::fromUtf16(standIn.named));
    return names;
}
