// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/composition.h"

#include "calc/curve.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"
#include "sheets/blocksheet.h"
#include "sheets/elementsheet.h"
#include "sheets/sheetcontext.h"

#include <cmath>

namespace tovanel {

QString ComposeRefusal(const Corner& corner)
{
    const int type = corner.in.CalcType;
    const double n = corner.el.DivCount;
    if (type < 0 || type > 3)
        return QStringLiteral("計算方式が選択されていません。計算方式を選んでから印刷してください。");
    if (!std::isfinite(n) || n <= 0)
        return QStringLiteral("分割数試算を実行して分割の数を確定してください。");
    if (n > kMaxDivCount)
        return QStringLiteral("分割数が多すぎます。%1 以下にしてください。").arg(kMaxDivCount);
    // The block points step through whole divisions: with a fraction the rows would run past EC
    // and the sheet would never reach it.
    if (n != std::floor(n))
        return QStringLiteral("分割数が整数ではありません。分割数は整数で入力してください。");
    return {};
}

QString out1(SheetContext& c)
{
    // Emptied first: a refused composition must not leave the previous corner's points for export.
    c.w.LineY = 0;
    c.exports.clear();
    if (QString why = ComposeRefusal({c.in, c.el}); !why.isEmpty()) return why;
    c.w.OrgX = 25;
    c.w.OrgY = 15;
    c.w.pl.startDoc();
    f_overl(c);
    BlockSheet(c);
    c.w.pl.endDoc();
    if (c.unprintable) {
        c.exports.clear();
        c.w.pl.clearDoc();
        return TooLargeToPrint();
    }
    return {};
}

QString ComposeSheets(const Corner& corner, const Settings& settings, PageWriter& w, ExportList& exports)
{
    SheetContext c{corner.in, corner.el, settings, w, exports, {}, {}};
    return out1(c);
}

Composition ComposeDocument(const Corner& corner, const Settings& settings, PageLayout& pl)
{
    PageWriter w(pl);
    PageSetup(w);
    Composition out;
    out.refusal = ComposeSheets(corner, settings, w, out.exports);
    return out;
}

}  // namespace tovanel
