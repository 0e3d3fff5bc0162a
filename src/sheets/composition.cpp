// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/composition.h"

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "print/exportlist.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"
#include "sheets/blocksheet.h"
#include "sheets/elementsheet.h"
#include "sheets/sheetcontext.h"

#include <cmath>

namespace tovanel {

QString ComposeRefusal(const CalcState& s)
{
    if (s.CalcType < 0 || s.CalcType > 3)
        return QStringLiteral("計算方式が選択されていません。計算方式を選んでから印刷してください。");
    if (!std::isfinite(s.DivCount) || s.DivCount <= 0)
        return QStringLiteral("分割数試算を実行して分割の数を確定してください。");
    if (s.DivCount > kMaxDivCount)
        return QStringLiteral("分割数が多すぎます。%1 以下にしてください。").arg(kMaxDivCount);
    // The block points step through whole divisions: with a fraction the rows would run past EC
    // and the sheet would never reach it.
    if (s.DivCount != std::floor(s.DivCount))
        return QStringLiteral("分割数が整数ではありません。分割数は整数で入力してください。");
    return {};
}

QString out1(SheetContext& c)
{
    CalcState& s = c.s;
    // Emptied first: a refused composition must not leave the previous corner's points for export.
    s.LineY = 0;
    ClearExportList(s);
    if (QString why = ComposeRefusal(s); !why.isEmpty()) return why;
    s.OrgX = 25;
    s.OrgY = 15;
    c.pl.startDoc();
    f_overl(c);
    BlockSheet(c);
    c.pl.endDoc();
    return {};
}

QString ComposeDocument(CalcState& s, PageLayout& pl)
{
    PageSetup(s, pl);
    SheetContext c{s, pl, {}, {}};
    return out1(c);
}

}  // namespace tovanel
