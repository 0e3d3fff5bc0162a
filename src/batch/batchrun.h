// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A run of every corner of a corner table through the single-corner path — the trial
// calculation, the division count, the composition of the sheets and the export list — into one
// calculation document, one point file per format and one list of elements.
//
// Every output goes to a file that replaces the previous one only when the run ends: a run that
// is cancelled or fails leaves every previous file as it was. Corners are written as they are
// computed and then dropped, so memory does not grow with the length of the table.

#include "exchange/dxfdrawing.h"
#include "print/pagelayout.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace tovanel {

class Settings;

/// Where the run writes; an empty path writes nothing of that kind. "-" is standard output
/// (for the SIMA, CSV and elements outputs).
struct BatchOutputs {
    QString pdf;       ///< every corner's sheets in table order, each corner from a new page
    QString sima;      ///< SIMA coordinate file; point numbers go on from corner to corner
    QString csv;       ///< CSV point file, numbered likewise
    QString dxf;       ///< one drawing of every corner
    QString elements;  ///< UTF-8 CSV (a file with its byte-order mark): a header, then the IP number and the elements per corner
    int paper = kPaperA4;  ///< paper code the sheets are laid out for
    double dxfScale = kDefaultDxfScale;  ///< the DXF drawing at 1 : dxfScale (the names' height)
};

/// A line of the table that was not computed.
struct BatchRefusal {
    int line = 0;
    QString ipNumber;  ///< empty when the line could not be read that far
    QString reason;    ///< the message the window gives for the same input, or what is wrong with the line
};

/// A line whose corner was computed and written although its curve runs past BP or EP.
struct BatchWarning {
    int line = 0;
    QString ipNumber;
    QStringList lines;  ///< CornerWarnings of the corner, Japanese, one a line
};

struct BatchCallbacks {
    /// After each corner line: lines gone through of those the table holds.
    std::function<void(int done, int total)> progress;
    /// Asked after each corner line; true stops the run and discards every output.
    std::function<bool()> cancelled;
    /// Each refused line, as it is met.
    std::function<void(const BatchRefusal&)> refused;
    /// Each line computed with a warning, as it is met (after its corner is written).
    std::function<void(const BatchWarning&)> warned;
};

/// How many warned lines a result keeps by number; the summary names these and counts the rest.
inline constexpr int kListedWarnings = 20;

struct BatchResult {
    int total = 0;     ///< corner lines in the table
    int done = 0;      ///< corners computed and written
    int refused = 0;   ///< lines refused
    int warned = 0;    ///< of the corners computed, those with a warning (CornerWarnings)
    QList<int> warnedLines;  ///< the line numbers of the first kListedWarnings of them
    bool cancelled = false;
    /// Why the run stopped before its end (the table cannot be read, an output cannot be
    /// written); every previous output is then left as it was, unless replacing the files
    /// failed part-way: then `written` holds those replaced and the text names both sets.
    QString failure;
    QStringList written;  ///< the files replaced by the run
};

/// Runs every corner of the table at `table` under `settings`.
BatchResult RunBatch(const QString& table, const Settings& settings, const BatchOutputs& outputs,
                     const BatchCallbacks& callbacks = {});

/// The summary: corners computed, lines refused, the corners whose curve runs past BP or EP and
/// their lines, and whether the run was cancelled.
QString BatchSummary(const BatchResult& result);

/// The header line of the elements output (without its line end).
QString ElementsHeader();

}  // namespace tovanel
