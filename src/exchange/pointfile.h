// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Point files coming in: a SIMA coordinate file (its A01 records) or a CSV point file (number,
// name, X, Y, comma- or TAB-separated; a header line may order the columns), read as every text
// file is (textfile.h). Coordinates are read whole or refused (StrictNumber). The readers are
// plain functions from bytes to points or to the first problem and its line: no input makes them
// hang, crash, or hold more than a few times its size.

#include "calc/textfile.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

namespace tovanel {

/// One point of a file. The coordinates keep the digits they have in the file, in ASCII and without
/// blanks or thousands separators (StrictNumber's plain text), so a box filled from them shows the
/// file's own digits and reads them as the same value; x and y are their values.
struct FilePoint {
    QString number;  ///< the point-number field as written (may be empty)
    QString name;
    QString xText, yText;
    double x = 0, y = 0;
    int line = 0;  ///< line of the file it stands on, from 1
};

enum class PointFormat { Unknown, Sima, Csv };

struct PointFileRead {
    PointFormat format = PointFormat::Unknown;
    std::vector<FilePoint> points;
    QString error;  ///< empty when read; otherwise the reason, without file or line
    int line = 0;   ///< the line the error is on; 0 when it concerns the whole file
    bool ok() const { return error.isEmpty(); }
};

/// Largest point file read (bytes); larger files are refused before anything is decoded.
inline constexpr qsizetype kMaxPointFileBytes = 64 * 1024 * 1024;

/// A SIMA file when its first non-blank line is a record (a letter, two digits, a comma: G00,
/// Z00, A00, A01 …), otherwise a CSV point file.
PointFileRead ReadPointFile(const QByteArray& bytes);

/// The A01 records of decoded SIMA text (A01, number, name, X, Y[, elevation …]); every other
/// record is passed over.
PointFileRead ReadSima(QStringView text);

/// The rows of decoded CSV text: number, name, X, Y, further columns ignored; TAB-separated when
/// the first line that is not blank is (FieldSeparator). That line is a header when its X or Y is
/// not a number; then the columns it names decide where number, name, X and Y stand (点番号 /
/// 番号 / No / number, 点名 / 名称 / 名前 / name, X / X座標, Y / Y座標; full-width or half-width,
/// any case). A header naming none of them, or not both X and Y, is refused. Blank rows are
/// passed over.
PointFileRead ReadCsv(QStringView text);

/// Reads and decodes the file at `path` (at most kMaxPointFileBytes; only a regular file, so a
/// pipe or a device never blocks). The error names the file and the line.
PointFileRead LoadPointFile(const QString& path);

/// The error of `read` as the user sees it: the file, the line when there is one, the reason.
QString PointFileMessage(const QString& path, const PointFileRead& read);

/// Whether two point names are the same name: equal once the characters code page 932 gives
/// back in another form (〜 as ～, − as －, ‖ ∥, ¢ ￠, £ ￡, ¬ ￢, — ―) are taken as that form, so a
/// name typed through an input method finds the point a CP932 file holds, and the other way round.
bool SamePointName(QStringView a, QStringView b);

/// A name or search text as the point list compares them: the CP932 forms above, full-width and
/// half-width forms alike (NFKC), any case.
QString PointSearchKey(QStringView text);

/// The point of `read` named `name` (SamePointName), or why there is none to take: no such name,
/// or more than one point of it (their lines named). `file` is the file as messages name it.
QString FindPoint(const QString& file, const PointFileRead& read, const QString& name, const FilePoint*& found);

}  // namespace tovanel
