// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Font names the sheets, the listing and the windows ask for, mapped onto the installed IPA fonts.

#include <QString>

namespace tovanel {

/// Names the program asks for.
inline const QString kMinchoFont = QStringLiteral("ＭＳ 明朝");
inline const QString kPGothicFont = QStringLiteral("ＭＳ Ｐゴシック");

/// Maps the Mincho and Gothic names onto IPAMincho, IPAGothic, IPAPGothic and IPAPMincho. Call once
/// after the QGuiApplication exists and before any of these fonts is used.
void InstallFontSubstitutions();

/// True when the sheet font resolves to IPAMincho, whose blank, digits, '.' and '-' share one
/// advance: the sheets' columns line up only then.
bool SheetFontAvailable();

}  // namespace tovanel
