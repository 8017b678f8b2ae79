#include "print/PrintSettings.h"

#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace {

int sizeOr(std::optional<int> size, int fallback)
{
    return size && *size >= 1 ? *size : fallback;
}

} // namespace

TPrintSettings TPrintSettings::from(const TSettings &stored)
{
    TPrintSettings settings;
    settings.fontName = stored.fontName.isEmpty() ? SettingsKeys::defaultFontName : stored.fontName;
    settings.cnSize = sizeOr(stored.fontCnSize, SettingsKeys::defaultFontCnSize);
    settings.enSize = sizeOr(stored.fontEnSize, SettingsKeys::defaultFontEnSize);
    settings.colour = colourOf(stored.fontColor.value_or(SettingsKeys::defaultFontColor));
    settings.vpos = stored.vpos;
    settings.hpos = stored.hpos;
    return settings;
}

TPrintSettings TPrintSettings::read(const QString &settingsFolder)
{
    return from(TSettings::read(settingsFolder));
}

TPrintSettings TPrintSettings::defaults()
{
    TPrintSettings settings;
    settings.fontName = SettingsKeys::defaultFontName;
    settings.cnSize = SettingsKeys::defaultFontCnSize;
    settings.enSize = SettingsKeys::defaultFontEnSize;
    settings.colour = colourOf(SettingsKeys::defaultFontColor);
    return settings;
}

QColor TPrintSettings::colourOf(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
