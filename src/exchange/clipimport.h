// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Import of the three curve points (BP, IP, EP) from text copied in the survey CAD system: one
// line per point, TAB-separated fields, the point name in field 1 (DentaⅡ) or field 2 (Stravon),
// followed by X and Y. Fields are taken as text exactly as they stand.

#include <QString>
#include <array>

namespace tovanel {


/// Fields of a line that are looked at; the rest of the line is ignored.
inline constexpr int kClipFieldCount = 30;
/// Lines of the text that are used: BP, IP, EP.
inline constexpr int kClipPointLines = 3;

inline const QString kNoDataTitle = QStringLiteral("データ無し");
/// The clipboard holds no text at all.
inline const QString kNoClipboardText =
    QStringLiteral("クリップボード内にデータが存在しません。３点を指示しコピーを行って下さい。");
/// The text has fewer than three lines.
inline const QString kTooFewLines = QStringLiteral("データが存在しません。");

/// Splits a line at TABs into fields 1..30 (element 0 unused and empty; missing fields are empty,
/// fields beyond the 30th are dropped).
QStringList SplitFields(QString line);

/// Name, X and Y of one imported point, as text.
struct ImportedPoint {
    QString name, x, y;
};

/// Splits `text` into lines and fields. A line ends at LF; a CR right before the LF belongs to the
/// line end, so CR LF text (Windows programs) and LF text (Linux programs) split alike. A last
/// piece without a line end counts as a line when it is not empty. Only the first three lines are
/// looked at. `nameInFirstField` is the CAD edition that puts the name in field 1; the other puts
/// it in field 2. Returns kTooFewLines (and leaves `out` alone) for fewer than three lines,
/// otherwise empty.
QString ImportPoints(bool nameInFirstField, const QString& text, std::array<ImportedPoint, 3>& out);

}  // namespace tovanel
