#pragma once

#include <QString>
#include <QStringList>

// The PNR display shown by "示例", as the reservation terminal prints it
// (trailing blanks are part of the display). Each line ends with CR LF.
inline QString samplePnrText()
{
    static const QStringList lines = {
        QStringLiteral("RTXXXXXX "),
        QStringLiteral("**ELECTRONIC TICKET PNR** "),
        QStringLiteral("1.张三 2.李四 XXXXXX "),
        QStringLiteral("3.  MU5132 Y   WE26AUG  PEKHGH RR2   1055 1315          E T2-- "),
        QStringLiteral("4.BJS/T BJS/T-5129XXXX/BEIJING XXXXXX AIR-TICKETS SERVICE CO.,LTD/TAN YUELU      ABCDEFG    "),
        QStringLiteral("5.T"),
        QStringLiteral("6.SSR ADTK 1E BY BJS26AUG15/0855 OR CXL MU5132 Y26AUG "),
        QStringLiteral("7.SSR TKNE MU HK1 PEKHGH 5132 Y26AUG 7819631900XXX/1/P2  "),
        QStringLiteral("8.SSR TKNE MU HK1 PEKHGH 5132 Y26AUG 781963190XXX1/1/P1  "),
        QStringLiteral(">pn"),
        QStringLiteral("9.RMK AUTOMATIC FARE QUOTE  "),
        QStringLiteral("10.FN/A/FCNY1860.00/SCNY1860.00/C0.00/XCNY50.00/TCNY50.00CN/TEXEMPTYQ/ "),
        QStringLiteral("  ACNY1910.00  "),
        QStringLiteral("11.FP/CASH,CNY    "),
        QStringLiteral("12.BJSXXX "),
    };
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}
