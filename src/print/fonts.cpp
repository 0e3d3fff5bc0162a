// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/fonts.h"

#include <QFont>
#include <QFontDatabase>
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
    // fontconfig names a font in the user's language ("IPA明朝" under ja_JP, "IPAMincho"
    // elsewhere): the font is recognised by what the sheet font matched, compared with what the
    // name IPAMincho matches, which must be a font of that name and not a fallback.
    const QString ipaMincho = QStringLiteral("IPAMincho");
    if (!QFontDatabase::hasFamily(ipaMincho)) return false;
    return QFontInfo(QFont(kMinchoFont)).family() == QFontInfo(QFont(ipaMincho)).family();
}

}  // namespace tovanel
