// SPDX-License-Identifier: GPL-3.0-or-later
// The document from any corner, settings and paper: a one-line refusal with nothing to export, or
// sheets without inf or nan, the type's points, export lines of exactly their fields; a whole PDF.

#include "corner.h"
#include "fuzzcheck.h"

#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/exportlist.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"

#include <QFile>

namespace {

using namespace tovanel;

// Points per curve (centre, inner, outer): N + 1 for chords, N + 3 for polygons and halves; type 1
// draws the outer curve as a polygon, types 2 and 3 all three.
int ExpectedPoints(int type, int n)
{
    const int curvesOfTwoMore[4] = {0, 1, 3, 3};
    return 4 + 3 * (n + 1) + 2 * curvesOfTwoMore[type];
}

constexpr double kLargestFuzzedCount = 64;  // larger ones only add pages of the same rows

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnsureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Corner c = fuzz::ReadCorner(fuzz::Bytes(data, size));
    tovanel::Corner k{c.in, {}};
    const CornerElements& s = k.el;
    Listing listing;
    if (!S_CRT(k.in, c.st, k.el, listing).isEmpty() || s.DivCount > kLargestFuzzedCount) return 0;
    PageLayout pl;
    pl.setPaperSize(c.paper);
    const Composition composed = ComposeDocument(k, c.st, pl);
    const QString& why = composed.refusal;
    const int listed = composed.exports.count();
    if (!why.isEmpty()) {
        FUZZ_CHECK(pl.pageCount() == 0 && listed == 0) << why;
        FUZZ_CHECK(!why.contains(QLatin1Char('\n'))) << why;
        return 0;
    }
    const int n = static_cast<int>(s.DivCount);
    FUZZ_CHECK(pl.documentEnded() && pl.pageCount() >= 4) << pl.pageCount() << " pages";
    FUZZ_CHECK(listed == ExpectedPoints(k.in.CalcType, n)) << listed << " points, type " << k.in.CalcType << ", N " << n;

    const QStringList names{k.in.IPNo, c.st.centrePrefix(), c.st.innerPrefix(), c.st.outerPrefix()};
    const bool namesShowNonFinite = fuzz::ShowsNonFinite(names.join(u'\n'));
    for (const Page& page : pl.pages())
        for (const PageItem& it : page)
            FUZZ_CHECK(namesShowNonFinite || !fuzz::ShowsNonFinite(it.text)) << it.text;

    const ExportText out = BuildExportText(composed.exports, c.st);
    const bool leadIn = !c.st.nameInFirstField();
    QStringList lines = out.text.split(QStringLiteral("\r\n"));
    FUZZ_CHECK(lines.takeLast().isEmpty()) << "every line ends in CR LF";
    FUZZ_CHECK(lines.size() == out.count && out.count <= listed) << lines.size() << " lines, count " << out.count;
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        FUZZ_CHECK(fields.size() == (leadIn ? 4 : 3) && (!leadIn || fields[0].isEmpty())) << line;
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n'))) << line;
        bool xOk = false, yOk = false;
        fields[fields.size() - 2].toDouble(&xOk);
        fields[fields.size() - 1].toDouble(&yOk);
        FUZZ_CHECK(xOk && yOk) << "coordinates that read back: " << line;
    }

    if (c.pdf) {
        const QString path = fuzz::ScratchFolder() + QStringLiteral("/sheets.pdf");
        FUZZ_CHECK(pl.writePdf(path).isEmpty()) << pl.writePdf(path);
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::ReadOnly)) << path;
        const QByteArray pdf = f.readAll();
        FUZZ_CHECK(pdf.startsWith("%PDF-") && pdf.endsWith("%%EOF\n")) << pdf.size() << " bytes";
        FUZZ_CHECK(pdf.count("/Type /Page\n") == pl.pageCount()) << "every page written";
    }
    return 0;
}
