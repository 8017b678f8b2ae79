#pragma once

#include <QString>

// The keys of section "COF" other than the remembered fields (which are named
// like the fields themselves), and the values used when a key is absent.
namespace SettingsKeys {

inline const QString vpos = QStringLiteral("vpos");               // vertical print offset, 1/96 inch
inline const QString hpos = QStringLiteral("hpos");               // horizontal print offset
inline const QString fontcnsize = QStringLiteral("fontcnsize");   // point size of Chinese characters
inline const QString fontensize = QStringLiteral("fontensize");   // point size of other characters
inline const QString fontname = QStringLiteral("fontname");       // print font family
inline const QString fontcolor = QStringLiteral("fontcolor");     // 0x00BBGGRR
inline const QString MakeText = QStringLiteral("MakeText");       // endorsement pick-list
inline const QString company = QStringLiteral("company");         // issuing office pick-list
inline const QString OfficeNo = QStringLiteral("OfficeNo");       // first agent code pick-list
inline const QString CompanyCode = QStringLiteral("CompanyCode"); // second agent code pick-list
inline const QString information = QStringLiteral("information"); // information pick-list
inline const QString Storage = QStringLiteral("Storage");         // remember the receipt between runs
inline const QString server = QStringLiteral("server");           // root URL of the verification service

inline constexpr int defaultFontCnSize = 18;
inline constexpr int defaultFontEnSize = 16;
inline const QString defaultFontName = QStringLiteral("TEC");
inline constexpr int defaultFontColor = 8421504; // 0x808080, mid grey
inline const QString defaultServer = QStringLiteral("https://www.travelsky.com");

} // namespace SettingsKeys
