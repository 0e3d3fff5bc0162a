#pragma once
// What the preview tests share: a calculation state, hooks that record every message and answer
// every dialog instead of the user, and a stand-in composition whose pages and points the test
// chooses.

#include "calc/calcstate.h"
#include "print/exportlist.h"
#include "print/pagelayout.h"
#include "print/previewhooks.h"
#include "print/pview.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace tovanel::test {

struct Shown {
    QMessageBox::Icon icon;
    QString title, text;
};

struct ExportPoint {
    QString name;
    double x, y;
};

/// A document of `pages` pages, page k holding the text "頁k", and the given points in the
/// export list; it refuses with `refusal` when that is set. Counts its calls.
struct FakeComposition {
    int pages = 1;
    std::vector<ExportPoint> points;
    QString refusal;
    int calls = 0;
    bool hourglassWhileComposing = false;

    ComposeFn fn()
    {
        return [this](CalcState& s, PageLayout& pl) -> QString {
            ++calls;
            hourglassWhileComposing = QGuiApplication::overrideCursor() &&
                                      QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
            if (!refusal.isEmpty()) return refusal;
            ClearExportList(s);
            pl.startDoc();
            for (int k = 1; k <= pages; ++k) {
                if (k > 1) pl.newPage();
                pl.setCurrentX(1440);
                pl.setCurrentY(1440);
                pl.text(QStringLiteral("頁%1").arg(k));
            }
            for (const ExportPoint& p : points) {
                s.ExpName = p.name;
                s.ExpX = p.x;
                s.ExpY = p.y;
                PointAdd(s);
            }
            pl.endDoc();
            return {};
        };
    }
};

struct PreviewFixture : ::testing::Test {
    PreviewHooks hooks()
    {
        PreviewHooks h;
        h.message = [this](QWidget*, QMessageBox::Icon icon, const QString& title,
                           const QString& text) { shown.push_back({icon, title, text}); };
        h.saveFileName = [this](QWidget*, const QString&, const QString& suggested,
                                const QString&) {
            suggestedPath = suggested;
            return savePath;
        };
        h.pageSetup = [this](QWidget*, QPrinter& printer) { return pageSetup(printer); };
        h.execDialog = [this](QDialog& d) {
            ++dialogs;
            if (onDialog) onDialog(d);
        };
        h.printers = [this] { return printers; };
        h.defaultPrinter = [this] { return defaultPrinter; };
        return h;
    }

    /// Opens the preview as the print command does (ShowMode 1 unless the test set another).
    PVIEW& open(int16_t showMode = 1)
    {
        s.ShowMode = showMode;
        view = new PVIEW(s, PVIEW::Setup{composition.fn(), nullptr, hooks()});
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
        return *view;
    }

    void TearDown() override { delete view.data(); }

    CalcState s;
    FakeComposition composition;
    std::vector<Shown> shown;
    QString savePath;
    QString suggestedPath;
    std::function<bool(QPrinter&)> pageSetup = [](QPrinter&) { return false; };
    std::function<void(QDialog&)> onDialog;
    int dialogs = 0;
    QStringList printers;
    QString defaultPrinter;
    QPointer<PVIEW> view;
};

}  // namespace tovanel::test
