// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Point files coming in: a SIMA coordinate file (its A01 records) or a CSV point file (number,
// name, X, Y; a header line allowed), in CP932 or UTF-8 with or without a byte-order mark, with
// CR LF, LF or CR line ends. The readers are plain functions from bytes to points or to the first
// problem and its line: no input makes them hang, crash, or hold more than a few times its size.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

namespace tovanel {

/// One point of a file. The coordinates keep the text they have in the file (blanks around it
/// dropped), so a box filled from it shows the file's own digits; x and y are its values.
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

/// Decodes the file's bytes: UTF-8 after a byte-order mark or when the bytes are valid UTF-8,
/// otherwise CP932. On failure returns false with the reason and the line of the first byte that
/// decodes in neither.
bool DecodePointText(const QByteArray& bytes, QString& text, QString& error, int& line);

/// A SIMA file when its first non-blank line is a record (a letter, two digits, a comma: G00,
/// Z00, A00, A01 …), otherwise a CSV point file.
PointFileRead ReadPointFile(const QByteArray& bytes);

/// The A01 records of decoded SIMA text (A01, number, name, X, Y[, elevation …]); every other
/// record is passed over.
PointFileRead ReadSima(QStringView text);

/// The rows of decoded CSV text: number, name, X, Y, further columns ignored. The first
/// non-blank line is a header when its X or Y is not a number; blank rows are passed over.
PointFileRead ReadCsv(QStringView text);

/// Reads and decodes the file at `path` (at most kMaxPointFileBytes; only a regular file, so a
/// pipe or a device never blocks). The error names the file and the line.
PointFileRead LoadPointFile(const QString& path);

/// The error of `read` as the user sees it: the file, the line when there is one, the reason.
QString PointFileMessage(const QString& path, const PointFileRead& read);

/// A coordinate text as the readers accept it: blanks around it, an optional sign, digits with
/// an optional '.', an optional exponent; a finite value. False for anything else.
bool ParseCoordinate(QStringView text, double& value);

// --- the pieces every CSV-like file of the program is read with

/// Offset of the first byte that does not belong to well-formed UTF-8, or −1 when all do.
qsizetype InvalidUtf8At(const QByteArray& b);

/// Splits one CSV line into fields: commas separate, a field in double quotes may hold commas
/// and doubled quotes; blanks around a field are dropped. False with the reason on a quote that
/// is not closed or is followed by more than blanks.
bool SplitCsv(QStringView line, std::vector<QString>& fields, QString& why);

}  // namespace tovanel
