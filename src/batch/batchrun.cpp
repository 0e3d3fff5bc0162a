// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/batchrun.h"

#include "batch/cornertable.h"
#include "calc/atomicfile.h"
#include "calc/corner.h"
#include "calc/curve.h"
#include "calc/settings.h"
#include "calc/elementlist.h"
#include "calc/listing.h"
#include "calc/numeric.h"
#include "exchange/dxfdrawing.h"
#include "exchange/pointwriter.h"
#include "calc/exportlist.h"
#include "print/pdfstream.h"
#include "sheets/blocksheet.h"
#include "sheets/composition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <optional>
#include <unistd.h>

namespace tovanel {

namespace {

constexpr qsizetype kFlushBytes = 256 * 1024;

/// One output of the run: a file that replaces the previous one only when committed, or standard
/// output. What is written is gathered and handed on in large pieces.
class Output : public QIODevice {
public:
    /// Opens `target` ("-": standard output). Empty, or why it cannot be written.
    QString openTarget(const QString& target)
    {
        m_target = target;
        if (target == QLatin1String("-")) {
            auto out = std::make_unique<QFile>();
            if (!out->open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
                return QStringLiteral("標準出力に書けません。");
            m_inner = std::move(out);
        } else {
            auto file = std::make_unique<AtomicFile>(target);
            if (!file->open()) return label() + file->reason();
            m_atomic = file.get();
            m_inner = std::move(file);
        }
        QIODevice::open(QIODevice::WriteOnly);
        m_buffer.reserve(kFlushBytes + kFlushBytes / 4);
        return {};
    }
    /// The first write that failed, or empty.
    QString failure() const { return m_failure; }
    /// Hands on what is gathered; returns the first failure.
    QString finish()
    {
        flush();
        return m_failure;
    }
    /// The file to commit; null for standard output.
    AtomicFile* file() const { return m_atomic; }
    QString target() const { return m_target; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override
    {
        if (!m_failure.isEmpty()) return -1;
        m_buffer.append(data, len);
        if (m_buffer.size() >= kFlushBytes) flush();
        return m_failure.isEmpty() ? len : -1;
    }

private:
    QString label() const { return QStringLiteral("%1 に書けません: ").arg(QDir::toNativeSeparators(m_target)); }
    void flush()
    {
        if (m_buffer.isEmpty() || !m_failure.isEmpty() || !m_inner) return;
        if (m_inner->write(m_buffer) != m_buffer.size()) {
            m_failure = m_target == QLatin1String("-") ? QStringLiteral("標準出力に書けません。")
                                                      : label() + m_inner->errorString();
            setErrorString(m_inner->errorString());  // what a writer into this output reports
        }
        m_buffer.resize(0);  // keeps its room for the next piece
    }

    QString m_target;
    std::unique_ptr<QIODevice> m_inner;
    AtomicFile* m_atomic = nullptr;  // m_inner when it is a file
    QByteArray m_buffer;
    QString m_failure;
};

/// The state of one run: its outputs and the streams that write into them.
class Run {
public:
    Run(const QString& table, const Settings& settings, const BatchOutputs& outputs)
        : m_table(table), m_settings(settings), m_paper(outputs.paper), m_dxfFile(outputs.dxfScale)
    {
        m_sheets = !(outputs.pdf.isEmpty() && outputs.sima.isEmpty() && outputs.csv.isEmpty() && outputs.dxf.isEmpty());
        m_targets = {{&m_pdf, outputs.pdf}, {&m_sima, outputs.sima}, {&m_csv, outputs.csv},
                     {&m_dxf, outputs.dxf}, {&m_elements, outputs.elements}};
    }

    /// Opens every output and writes what comes before the first corner.
    QString begin()
    {
        for (auto& [out, target] : m_targets) {
            if (target.isEmpty()) continue;
            *out = std::make_unique<Output>();
            if (QString why = (*out)->openTarget(target); !why.isEmpty()) return why;
        }
        QByteArray bytes;
        if (m_sima) {
            // The site is named after the table when SIMA can hold its name.
            QString site = QFileInfo(m_table).completeBaseName();
            if (!PointNameProblem(site, PointFileKind::Sima).isEmpty()) site.clear();
            (void)m_simaFile.head(site, bytes);
            m_sima->write(bytes);
        }
        if (m_csv) {
            bytes.clear();
            (void)m_csvFile.head({}, bytes);
            m_csv->write(bytes);
        }
        if (m_dxf)
            if (QString why = m_dxfFile.begin(); !why.isEmpty()) return why;
        // A file starts with the byte-order mark, by which a spreadsheet knows it is UTF-8; a
        // program reading standard output gets the lines alone.
        if (m_elements)
            m_elements->write((m_elements->file() ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + ElementsHeader().toUtf8() + '\n');
        return failure();
    }

    /// Computes one corner and writes it to every output; returns why it was refused (nothing of
    /// it is then written). `warnings` receives the corner's CornerWarnings once it is computed.
    QString corner(const TableCorner& c, QStringList& warnings)
    {
        Corner k{CornerInputOf(c), {}};
        warnings.clear();
        if (QString why = TrialCalculation(k.in, m_settings, k.el); !why.isEmpty()) return why;
        warnings = CornerWarnings(k.in, k.el);
        if (m_sheets)
            if (QString why = ComposeRefusal(k); !why.isEmpty()) return why;
        m_line.clear();
        if (m_elements) {
            m_line += CsvField(c.ipNumber).toUtf8().toStdString();
            for (const NamedValue& e : ElementList(k.el)) {
                m_line += ',';
                AppendFullDigits(m_line, e.value);
            }
            m_line += '\n';
        }
        if (!m_sheets) {
            if (m_elements) m_elements->write(m_line.data(), static_cast<qint64>(m_line.size()));
            return {};
        }

        PageLayout pl;
        pl.setPaperSize(m_paper);
        pl.setDocName(QFileInfo(m_table).completeBaseName());
        const Composition composed = ComposeDocument(k, m_settings, pl);
        if (!composed.refusal.isEmpty()) return composed.refusal;
        const std::vector<ExportPoint> points = ExportPoints(composed.exports);
        // Every piece is made before any is written: a name one file cannot hold refuses the
        // corner in all of them, and the point numbers run on without a gap.
        PointFileStream sima = m_simaFile, csv = m_csvFile;
        QByteArray simaBytes, csvBytes;
        if (m_sima)
            if (QString why = sima.points(points, simaBytes); !why.isEmpty()) return why;
        if (m_csv)
            if (QString why = csv.points(points, csvBytes); !why.isEmpty()) return why;
        if (m_dxf)
            if (QString why = m_dxfFile.add(CornerOf(k, composed.exports, BlockExportCounts(k))); !why.isEmpty()) return why;
        m_simaFile = sima;
        m_csvFile = csv;
        if (m_sima) m_sima->write(simaBytes);
        if (m_csv) m_csv->write(csvBytes);
        if (m_elements) m_elements->write(m_line.data(), static_cast<qint64>(m_line.size()));
        if (m_pdf) {
            if (!m_pdfFile) m_pdfFile.emplace(*m_pdf, pl, pl.docName());
            if (!m_pdfFile->add(pl)) m_pdfFailure = QStringLiteral("%1 に書けません: PDF を描けません。").arg(QDir::toNativeSeparators(m_pdf->target()));
        }
        return {};
    }

    /// The first output that could not be written, or empty.
    QString failure() const
    {
        if (!m_pdfFailure.isEmpty()) return m_pdfFailure;
        for (const auto& [out, target] : m_targets)
            if (*out && !(*out)->failure().isEmpty()) return (*out)->failure();
        return {};
    }

    /// Writes what comes after the last corner and replaces the files. Returns the files
    /// written, or the failure in `why`.
    QStringList end(QString& why)
    {
        if (m_sima) m_sima->write(m_simaFile.tail());
        if (m_dxf) why = m_dxfFile.end(*m_dxf);
        if (why.isEmpty() && m_pdfFile && !m_pdfFile->finish())
            why = QStringLiteral("%1 に書けません: PDF を書き終えられません。").arg(QDir::toNativeSeparators(m_pdf->target()));
        if (why.isEmpty()) why = failure();
        // Every file written out and on the disk before any replaces its previous one: one that
        // cannot be written leaves all of them as they were. Past the first rename, the message
        // names the files replaced and those kept.
        std::vector<AtomicFile*> files;
        for (auto& [out, target] : m_targets) {
            if (*out && why.isEmpty()) why = (*out)->finish();
            if (*out) files.push_back((*out)->file());
        }
        if (!why.isEmpty()) return {};
        const CommitReport report = CommitAll(files);
        why = report.message();
        return report.replaced;
    }

private:
    QString m_table;
    const Settings& m_settings;
    int m_paper;
    bool m_sheets = false;
    std::unique_ptr<Output> m_pdf, m_sima, m_csv, m_dxf, m_elements;
    std::vector<std::pair<std::unique_ptr<Output>*, QString>> m_targets;
    PointFileStream m_simaFile{PointFileKind::Sima};
    PointFileStream m_csvFile{PointFileKind::Csv};
    DxfStream m_dxfFile;
    std::optional<PdfStream> m_pdfFile;  // begun with the first corner's paper
    QString m_pdfFailure;
    std::string m_line;
};

}  // namespace

QString ElementsHeader()
{
    QString header = QStringLiteral("IPNo");
    for (const NamedValue& e : ElementList(CornerElements{})) header += QLatin1Char(',') + QLatin1String(e.name);
    return header;
}

BatchResult RunBatch(const QString& tablePath, const Settings& settings, const BatchOutputs& outputs,
                     const BatchCallbacks& callbacks)
{
    BatchResult r;
    CornerTable table;
    if (r.failure = table.open(tablePath); !r.failure.isEmpty()) return r;
    r.total = table.cornerLines();
    Run run(tablePath, settings, outputs);
    if (r.failure = run.begin(); !r.failure.isEmpty()) return r;

    TableLine line;
    QStringList warnings;
    int seen = 0;
    while (table.next(line)) {
        warnings.clear();
        QString why = line.kind == TableLineKind::Bad ? line.error : run.corner(line.corner, warnings);
        if (why.isEmpty()) {
            ++r.done;
            if (!warnings.isEmpty()) {
                if (r.warned++ < kListedWarnings) r.warnedLines << line.corner.line;
                if (callbacks.warned) callbacks.warned({line.corner.line, line.corner.ipNumber, warnings});
            }
        } else {
            ++r.refused;
            if (callbacks.refused) callbacks.refused({line.corner.line, line.corner.ipNumber, why});
        }
        if (r.failure = run.failure(); !r.failure.isEmpty()) return r;
        ++seen;
        if (callbacks.progress) callbacks.progress(seen, std::max(seen, r.total));
        if (callbacks.cancelled && callbacks.cancelled()) {
            r.cancelled = true;
            return r;
        }
    }
    if (r.failure = table.error(); !r.failure.isEmpty()) return r;
    // Nothing computed: the previous files are worth more than empty ones.
    if (r.done == 0) return r;
    r.written = run.end(r.failure);
    return r;
}

QString BatchSummary(const BatchResult& r)
{
    if (r.cancelled)
        return QStringLiteral("%1 / %2 箇所目で中止しました。ファイルは書いていません（前のファイルはそのままです）。")
            .arg(r.done + r.refused)
            .arg(r.total);
    QString text = QStringLiteral("%1 箇所の隅切りを計算しました。").arg(r.done);
    if (r.warned > 0) {
        QStringList lines;
        for (int line : r.warnedLines) lines << QString::number(line);
        QString more;
        if (r.warned > r.warnedLines.size()) more = QStringLiteral("ほか %1 行").arg(r.warned - r.warnedLines.size());
        text += QStringLiteral("うち %1 箇所は曲線がBP・EPの外まで延びています（%2 行目%3）。")
                    .arg(r.warned)
                    .arg(lines.join(QStringLiteral("、")), more.isEmpty() ? more : QStringLiteral("、") + more);
    }
    if (r.refused > 0) text += QStringLiteral("計算できなかった行が %1 行あります。").arg(r.refused);
    if (!r.failure.isEmpty() && r.written.isEmpty())
        text += QStringLiteral("ファイルは書いていません（前のファイルはそのままです）。");
    else if (r.done == 0)
        text += QStringLiteral("書くものがないので、ファイルは書いていません。");
    return text;
}

}  // namespace tovanel
