// SPDX-License-Identifier: GPL-3.0-or-later
// The preview window over a stand-in composition: loading, paging, zoom, the close button's
// export and the print and PDF buttons, with every dialog answered by the test.

#include "calc/exportlist.h"
#include "calc/settings.h"
#include "print/pageview.h"
#include "print/pagewriter.h"
#include "print/pview.h"

#include "qstringprint.h"
#include "support/files.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace tovanel::test {
namespace {

/// Opens the preview (closing the one before) over `pages` empty pages and the listed points;
/// messages are kept as "icon title: text".
struct Preview : ::testing::Test {
    PVIEW& open(PrintDocument document = PrintDocument::Sheets)
    {
        delete view.data();
        PreviewHooks h;
        h.message = [this](QWidget*, QMessageBox::Icon i, const QString& t, const QString& x) {
            shown << QString("%1 %2: %3").arg(int(i)).arg(t, x);
        };
        h.saveFileName = [this](QWidget*, const QString&, const QString&, const QString&) { return saveAs; };
        h.execDialog = [this](QDialog& d) { ++dialogs, user ? user(d) : d.reject(); };  // closed, or as `user` says
        auto compose = [this](PageWriter& w, ExportList& exports) -> QString {
            ++composed;
            if (!refusal.isEmpty()) return refusal;
            exports.clear();
            w.pl.startDoc();
            for (int k = 2; k <= pages; ++k) w.pl.newPage();
            for (const auto& [name, x, y] : points) exports.PointAdd(name, x, y);
            w.pl.endDoc();
            return {};
        };
        view = new PVIEW({.compose = compose, .document = document, .ipNumber = {}, .settings = &s,
                          .appPrinter = appPrinter, .hooks = h});
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
        return *view;
    }
    bool unloaded() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); return view.isNull(); }
    void TearDown() override { delete view.data(); }

    Settings s;
    int pages = 1, composed = 0, dialogs = 0;
    QString refusal;
    std::vector<std::tuple<QString, double, double>> points;
    QStringList shown;
    QString saveAs;  ///< the file dialog's answer
    std::function<void(QDialog&)> user;  ///< what the user does in a dialog (none: cancels it)
    QPrinter* appPrinter = nullptr;      ///< the program's printer settings
    QPointer<PVIEW> view;
};

TEST_F(Preview, ComposesOnlyTheSheetsAndKeepsARefusalForTheOpener)
{
    EXPECT_EQ(open().PageLayout1().orientation(), kLandscape);
    EXPECT_EQ(open(PrintDocument::None).counterPanel()->text(), " 頁 1 / 0");
    EXPECT_EQ(composed, 1);
    EXPECT_EQ(view->refusal(), "");
    refusal = "計算の種類が選ばれていません。";
    EXPECT_EQ(open().PageLayout1().pageCount(), 0);
    EXPECT_EQ(view->refusal(), refusal);
    EXPECT_TRUE(shown.isEmpty()) << "the opener tells the user and shows no window";
}

// Paging stays within the document and the buttons say where it can go; Enter presses the focused
// button; PageUp and PageDown page, Ctrl+P opens the print dialog, wherever the focus is.
TEST_F(Preview, PagingButtonsAndKeysStayWithinTheDocument)
{
    // clicks: 2 next, 1 previous, 0 a refresh of the counter; then keys, typed where the focus is.
    const struct { const char* name; int pages; std::vector<int> clicks; const char* focus; std::vector<QKeyCombination> keys;
                   int page, dialogs; } cases[] = {
        {"one page", 1, {2, 1}, "", {}, 1, 0}, {"next past the last", 3, {2, 2, 2, 2}, "", {}, 3, 0},
        {"previous past the first", 3, {2, 2, 1, 1, 1}, "", {}, 1, 0}, {"FlipPage's refresh", 3, {2, 0}, "", {}, 2, 0},
        {"Enter on next", 3, {}, "Cmdato", {Qt::Key_Return, Qt::Key_Enter}, 3, 0},
        {"Enter on print", 3, {}, "cmdToPrinter", {Qt::Key_Return}, 1, 1},
        {"page keys", 3, {}, "Cmdend", {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp}, 2, 0},
        {"in the page view", 3, {}, "", {Qt::Key_PageDown}, 2, 0}, {"Ctrl+P", 3, {}, "Cmdato", {Qt::CTRL | Qt::Key_P}, 1, 1},
    };
    for (const auto& c : cases) {
        pages = c.pages;
        PVIEW& v = open();
        dialogs = 0;
        v.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
        for (int b : c.clicks) b == 2 ? v.Cmdato()->click() : b == 1 ? v.Cmdmae()->click() : v.FlipPage(PVIEW::PageButton::Refresh);
        (*c.focus ? v.findChild<QPushButton*>(c.focus) : static_cast<QWidget*>(v.pageView()))->setFocus();
        for (const QKeyCombination k : c.keys) QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
        EXPECT_EQ(v.counterPanel()->text(), QString(" 頁 %1 / %2").arg(c.page).arg(c.pages)) << c.name;
        EXPECT_EQ(std::pair(v.Cmdmae()->isEnabled(), v.Cmdato()->isEnabled()), std::pair(c.page > 1, c.page < c.pages)) << c.name;
        EXPECT_EQ(dialogs, c.dialogs) << c.name;
    }
}

// 頁設定 opens on the document's paper (the printer settings' one) and offers only the papers the
// sheets are laid out for, under the names a Japanese user knows; OK keeps or changes the paper.
// A paper the sheets do not fit (ISO B5, Letter) is offered as A4, never kept to cut a sheet off.
TEST_F(Preview, PageSetupOpensOnTheDocumentsPaper)
{
    using P = QPageSize;
    struct Case { P::PageSizeId paper; const char *opened, *choose; P::PageSizeId after; };
    const Case cases[] = {
        {P::JisB5, "B5", "", P::JisB5}, {P::A3, "A3", "", P::A3}, {P::JisB4, "B4", "", P::JisB4},
        {P::JisB5, "B5", "A4", P::A4},  {P::A4, "A4", "B5", P::JisB5},
        {P::B5, "A4", "", P::A4},       {P::Letter, "A4", "", P::A4},
    };
    for (const auto& c : cases) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(c.paper));
        appPrinter = &printer;
        QString opened, offered;
        user = [&](QDialog& d) {
            auto* papers = d.findChild<QComboBox*>("Papers");
            opened = papers->currentText();
            for (int i = 0; i < papers->count(); ++i) offered += papers->itemText(i) + " ";
            if (*c.choose) papers->setCurrentIndex(papers->findText(c.choose));
            d.accept();
        };
        PVIEW& v = open();
        EXPECT_EQ(v.PageLayout1().pageSize().id(), c.paper);
        v.Command1()->click();
        EXPECT_EQ(opened, c.opened) << QPageSize::name(c.paper).toStdString();
        EXPECT_EQ(offered, "A4 A3 B4 B5 ");
        EXPECT_EQ(v.PageLayout1().pageSize().id(), c.after) << c.choose;
        EXPECT_EQ(v.PageLayout1().orientation(), kLandscape);
        delete view.data();
    }
    appPrinter = nullptr;
    user = nullptr;
}

TEST_F(Preview, ZoomMovesIn25StepsBetween25And150)
{
    const struct { std::vector<int> clicks; const char* caption; bool in, out; } cases[] = {
        {{0, 0, 0, 0}, "Zoom 150%", false, true}, {{0, 0, 0, 1}, "Zoom 125%", true, true},
        {{1, 1, 1}, "Zoom 25%", true, false},
    };  // clicks: cmdZoom indices, only while enabled
    for (const auto& c : cases) {
        PVIEW& v = open();
        const int width75 = v.pageView()->paperPixels().width();
        for (int i : c.clicks)
            if (v.cmdZoom(i)->isEnabled()) v.cmdZoom(i)->click();
        EXPECT_EQ(v.windowTitle(), c.caption);
        EXPECT_EQ(std::pair(v.cmdZoom(0)->isEnabled(), v.cmdZoom(1)->isEnabled()), std::pair(c.in, c.out)) << c.caption;
        EXPECT_NEAR(v.pageView()->paperPixels().width(), width75 * v.PageLayout1().zoom() / 75.0, 1);
    }
}

TEST_F(Preview, OnlyTheCloseButtonPutsThePointsOnTheClipboard)
{
    // The empty first name equals the empty name before it, and the second EC repeats the line
    // before: both left out. BC comes back later, and "bc" differs by case: both written.
    points = {{"", 9, 9},       {"BC 7", 12.5, -3}, {"EC 7", 100, 0.1 + 0.2}, {"EC 7", 7, 7},
              {"BC 7", 1e-7, 123456789.123456789}, {"bc 7", 1234567.891, -0.0}};
    QGuiApplication::clipboard()->setText("kept");
    open().close();  // the title bar's close box
    EXPECT_TRUE(unloaded());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_TRUE(shown.empty());
    for (const auto& [edition, lead] : {std::pair{"1", ""}, {"2", "\t"}, {"", "\t"}}) {
        s.setText(TextEntry::CadEdition, edition);
        shown.clear();
        open().Cmdend()->click();
        QString expected;  // 15 significant digits, CR LF after every line
        for (const char* line : {"BC 7\t12.5\t-3", "EC 7\t100\t0.3", "BC 7\t1e-07\t123456789.123457", "bc 7\t1234567.891\t0"})
            expected += lead + QString(line) + "\r\n";
        EXPECT_EQ(QGuiApplication::clipboard()->text(), expected) << "edition '" << edition << "'";
        EXPECT_EQ(shown, QStringList{"1 登録:  4点の座標値をクリップボードに貼り付けました。"});
        EXPECT_TRUE(unloaded());
    }
    for (int k = 1; k <= 1500; ++k) points.emplace_back(QString::number(k), k, -k);  // no fixed limit
    open().Cmdend()->click();
    EXPECT_EQ(shown.last(), "1 登録:  1504点の座標値をクリップボードに貼り付けました。");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith("\t1500\t1500\t-1500\r\n"));

    points = {{"BC\t7", 1, 2}, {"SP 7\r\n", 3, 4}};  // names never add a field or a line
    open().Cmdend()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\tBC7\t1\t2\r\n\tSP 7\t3\t4\r\n");
}

TEST_F(Preview, PdfSaveSaysWhenItFailedAndKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString previous = dir.filePath("kept.pdf");
    const QString full = dir.filePath("full.pdf");  // a disk that is full
    QFile::link("/dev/full", full);
    const struct { QString path; const char* said; } cases[] = {
        {full, "ディスクの空き容量が足りません"},
        {previous, "PDF ファイルに保存しました。"},
    };
    for (const auto& c : cases) {
        WriteAll(previous, "previous");
        saveAs = c.path;
        shown.clear();
        open().CmdPdf()->click();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].contains(QString::fromUtf8(c.said))) << shown[0].toStdString();
        const bool saved = c.path == previous;
        EXPECT_EQ(shown[0].startsWith(QString::number(int(QMessageBox::Information))), saved) << shown[0].toStdString();
        EXPECT_TRUE(saved ? ReadAll(previous).startsWith("%PDF-") : ReadAll(previous) == "previous") << c.said;
    }
}

}  // namespace
}  // namespace tovanel::test
