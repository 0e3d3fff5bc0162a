// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/fonts.h"

#include <QFont>
#include <QFontInfo>

namespace tovanel {

void InstallFontSubstitutions()
{
    const struct {
        const char* asked;
        const char* installed;
    } map[] = {
        {"ＭＳ 明朝", "IPAMincho"},     {"MS Mincho", "IPAMincho"},
        {"ＭＳ ゴシック", "IPAGothic"}, {"MS Gothic", "IPAGothic"},
        {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},  {"MS PMincho", "IPAPMincho"},
    };
    for (const auto& m : map)
        QFont::insertSubstitution(QString::fromUtf8(m.asked), QString::fromUtf8(m.installed));
}

bool SheetFontAvailable()
{
    return QFontInfo(QFont(kMinchoFont)).family() == QLatin1String("IPAMincho");
}

}  // namespace tovanel
