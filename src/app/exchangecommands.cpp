// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/exchangecommands.h"

#include "app/monitfm.h"
#include "district/pointpicker.h"
#include "calc/atomicfile.h"
#include "exchange/dxfdrawing.h"
#include "exchange/pointfile.h"
#include "exchange/pointwriter.h"
#include "calc/exportlist.h"
#include "print/pagelayout.h"
#include "sheets/blocksheet.h"
#include "sheets/composition.h"
#include "widgets/waitcursor.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <memory>

namespace tovanel {

namespace {

struct FormatInfo {
    const char16_t* title;   // the command and its messages
    const char16_t* kind;    // the file, in the confirmation
    const char* suffix;
    const char16_t* filter;
};

const FormatInfo& Info(PointFileKind f)
{
    static const FormatInfo info[] = {
        {u"SIMA出力", u"SIMA 座標ファイル", "sim", u"SIMA 座標ファイル (*.sim)"},
        {u"CSV出力", u"CSV 座標ファイル", "csv", u"CSV ファイル (*.csv)"},
        {u"DXF出力", u"DXF 図面", "dxf", u"DXF ファイル (*.dxf)"},
    };
    return info[static_cast<int>(f)];
}

/// Shared by the commands of one main window: the hooks and the folder last used.
struct Exchange {
    MonitFM& window;
    ExchangeHooks hooks;
    QString folder;

    void message(QMessageBox::Icon icon, const QString& title, const QString& text)
    {
        hooks.dialogs.message(&window, icon, title, text);
    }
    QString startFolder() const { return StartFolder(folder); }

    void exportFile(PointFileKind format);
    void importPoints();
};

void Exchange::exportFile(PointFileKind format)
{
    const FormatInfo& info = Info(format);
    const QString title = QString::fromUtf16(info.title);
    const Corner corner = window.corner();
    if (corner.el.DivCount == 0) {
        message(QMessageBox::Warning, QStringLiteral("確認"), kNoDivCountMessage);
        return;
    }
    if (corner.in.CalcType < 0 || corner.in.CalcType > 3) {
        message(QMessageBox::Warning, QStringLiteral("確認"),
                NoTypeMessage(window.listPosition() >= 0, QStringLiteral("座標出力")));
        return;
    }
    // The points are those the preview's composition hands to the clipboard, composed anew: an
    // open preview's export list stays as it is.
    QByteArray bytes;
    int count = 0;
    {
        const WaitCursor hourglass;
        PageLayout pl;
        const Composition composed = ComposeDocument(corner, window.settings(), pl);
        if (!composed.refusal.isEmpty()) {
            message(QMessageBox::Warning, QStringLiteral("確認"), composed.refusal);
            return;
        }
        const std::vector<ExportPoint> points = ExportPoints(composed.exports);
        count = static_cast<int>(points.size());
        QString why;
        switch (format) {
        case PointFileKind::Sima: why = SimaFile(points, corner.in.IPNo, bytes); break;
        case PointFileKind::Csv: why = CsvFile(points, bytes); break;
        case PointFileKind::Dxf: why = DxfFile({CornerOf(corner, composed.exports, BlockExportCounts(corner))}, bytes); break;
        }
        if (!why.isEmpty()) {
            message(QMessageBox::Warning, title, why);
            return;
        }
    }
    const QString suffix = QString::fromLatin1(info.suffix);
    const QString suggested =
        QDir(startFolder()).filePath(CornerFileName(QStringLiteral("街区点"), corner.in.IPNo, suffix));
    QString path = hooks.dialogs.saveFileName(&window, title, suggested, QString::fromUtf16(info.filter));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) path += QLatin1Char('.') + suffix;
    folder = QFileInfo(path).absolutePath();
    if (QString why = WriteFileAtomically(path, bytes); !why.isEmpty()) {
        message(QMessageBox::Warning, title,
                QStringLiteral("%1 に書けません: %2").arg(QDir::toNativeSeparators(path), why));
        return;
    }
    message(QMessageBox::Information, title,
            QStringLiteral("%1 点を %2に書き出しました。\n%3")
                .arg(count)
                .arg(QString::fromUtf16(info.kind), QDir::toNativeSeparators(path)));
}

void Exchange::importPoints()
{
    QString start = startFolder();
    const auto points = PickCornerPoints(&window, start, hooks.openFileName, hooks.dialogs);
    folder = start;  // the folder of a file chosen, even when nothing was picked from it
    if (!points) return;
    // As "座標セット" does: the three names and six coordinates, nothing else.
    for (int n = 0; n < 3; ++n) {
        const FilePoint& p = (*points)[static_cast<size_t>(n)];
        window.DTText(n + 1)->setText(p.name);
        window.XText(n)->setText(p.xText);
        window.YText(n)->setText(p.yText);
    }
}

}  // namespace

QString FormatSuffix(PointFileKind format) { return QString::fromLatin1(Info(format).suffix); }
QString FormatFilter(PointFileKind format) { return QString::fromUtf16(Info(format).filter); }

ExchangeHooks CompleteHooks(MonitFM& window, ExchangeHooks hooks)
{
    if (!hooks.dialogs.message) hooks.dialogs.message = window.messageFn();
    hooks.dialogs = CompleteHooks(std::move(hooks.dialogs));
    if (!hooks.openFileName)
        hooks.openFileName = [](QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter) {
            return QFileDialog::getOpenFileName(parent, caption, folder, filter);
        };
    return hooks;
}

QString StartFolder(const QString& last)
{
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !docs.isEmpty() && QFileInfo(docs).isDir() ? docs : QDir::homePath();
}

void InstallExchange(MonitFM& window, ExchangeHooks hooks)
{
    auto shared = std::make_shared<Exchange>(Exchange{window, CompleteHooks(window, std::move(hooks)), {}});

    QMenu* file = window.findChild<QMenu*>(QStringLiteral("MENUFILE"));
    QAction* before = window.menuItem(MonitFM::MENUFILE, 5);  // プリンタの設定
    if (!file || !before) return;
    auto* import = new QAction(QStringLiteral("座標読込(&I)..."), file);
    import->setObjectName(QStringLiteral("MENUFILE1_3"));
    QObject::connect(import, &QAction::triggered, file, [shared] { shared->importPoints(); });
    file->insertAction(before, import);

    auto* exports = new QMenu(QStringLiteral("座標出力(&O)"), file);
    exports->setObjectName(QStringLiteral("MENUEXPORT"));
    const std::pair<PointFileKind, const char16_t*> items[] = {
        {PointFileKind::Sima, u"SIMA出力(&S)..."},
        {PointFileKind::Csv, u"CSV出力(&C)..."},
        {PointFileKind::Dxf, u"DXF出力(&D)..."},
    };
    int index = 0;
    for (const auto& [format, caption] : items) {
        QAction* a = exports->addAction(QString::fromUtf16(caption));
        a->setObjectName(QStringLiteral("MENUEXPORT1_%1").arg(++index));
        QObject::connect(a, &QAction::triggered, exports, [shared, f = format] { shared->exportFile(f); });
    }
    QAction* sub = file->insertMenu(before, exports);
    sub->setObjectName(QStringLiteral("MENUFILE1_4"));
    file->insertSeparator(before);
}

}  // namespace tovanel
