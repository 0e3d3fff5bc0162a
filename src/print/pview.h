// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview window of the calculation sheets. Loading it composes the whole document into its
// page-layout component; the user pages and zooms through it, opens the page set-up, prints a
// page range through the print dialog, saves the document as PDF, and closes it with "閉じる",
// which hands every computed point to the CAD system through the clipboard. Closing it through
// the title bar only closes it.
//
// The window does not know how the sheets are composed: whoever opens it hands it the
// composition as a function. It deletes itself when closed.

#include "calc/exportlist.h"
#include "print/pagelayout.h"
#include "print/previewhooks.h"

#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QPrinter;
class QPushButton;
class QStatusBar;

namespace tovanel {

class PageView;
class Settings;
struct PageWriter;

/// Composes the document with the writer (page set-up already done) and fills the export list.
/// Returns why it refused, empty when it composed.
using ComposeFn = std::function<QString(PageWriter& w, ExportList& exports)>;

/// The document the print menu asks the preview for: its one entry is the calculation sheets.
enum class PrintDocument : int16_t { None = 0, Sheets = 1 };

/// The page-counter text of the status bar: " 頁 p / n".
QString PageCounterText(int page, int pages);

class PVIEW : public QWidget {
    Q_OBJECT
public:
    struct Setup {
        ComposeFn compose;
        PrintDocument document = PrintDocument::Sheets;
        /// The IP number, read when the PDF is saved (it names the file).
        std::function<QString()> ipNumber;
        /// The settings whose CAD edition the clipboard text follows, read when the window
        /// closes; null: the built-in defaults. Must outlive the window.
        const Settings* settings = nullptr;
        /// The program's printer settings: paper, orientation and printer are read from them
        /// when the window loads. May be null (A4, the platform's default printer).
        const QPrinter* appPrinter = nullptr;
        PreviewHooks hooks;  ///< empty members: the real dialogs and printers
    };

    /// Loads the window (Form_Load): caption, page set-up, zoom 75, the document asked for, the
    /// page counter. The program's printer settings must outlive the window.
    explicit PVIEW(Setup setup, QWidget* parent = nullptr);
    ~PVIEW() override;

    // --- controls, by their design names
    QPushButton* cmdToPrinter() const { return m_cmdToPrinter; }
    QPushButton* Command1() const { return m_command1; }
    QPushButton* Cmdmae() const { return m_cmdmae; }
    QPushButton* Cmdato() const { return m_cmdato; }
    QPushButton* cmdZoom(int index) const { return m_cmdZoom.at(static_cast<size_t>(index)); }
    QPushButton* CmdPdf() const { return m_cmdPdf; }
    QPushButton* Cmdend() const { return m_cmdend; }
    QStatusBar* StatusBar1() const { return m_statusBar; }
    /// The first panel of the status bar: the page counter.
    QLabel* counterPanel() const { return m_counter; }
    PageView* pageView() const { return m_view; }
    PageLayout& PageLayout1() { return m_pl; }
    const PageLayout& PageLayout1() const { return m_pl; }
    /// The print queue the window prints on: the program printer's queue (as chosen in the
    /// printer set-up, even after the window opened) when the platform offers it, else the
    /// platform's default; empty when there is no queue. Read again at every call.
    QString printerName() const;

    /// Why the composition refused the document, empty when it composed (or did not run). A
    /// refused document is not to be shown: whoever opens the window tells the user instead.
    QString refusal() const { return m_refusal; }
    /// The points the document names, handed to the clipboard by "閉じる".
    const ExportList& exports() const { return m_exports; }

    // --- handlers
    void pv_cont();
    /// The paging buttons, by the numbers the paging routine knows them by.
    enum class PageButton { Refresh = 0, Previous = 1, Next = 2 };
    /// Turns to the previous or next page; Refresh only refreshes the counter.
    void FlipPage(PageButton botan);
    void Cmdmae_Click() { FlipPage(PageButton::Previous); }
    void Cmdato_Click() { FlipPage(PageButton::Next); }
    /// index 0 zooms in by 25 %, 1 zooms out by 25 %.
    void cmdZoom_Click(int index);
    /// The page set-up dialog of the component; nothing is recomposed.
    void Command1_Click();
    /// Opens the print dialog over the whole document.
    void cmdToPrinter_Click();
    /// Saves the whole document as PDF where the user chooses.
    void CmdPdf_Click();
    /// Puts the export list on the clipboard, reports the count, and closes the window.
    void Cmdend_Click();

    /// Prints pages from..to on the window's printer; a failure is reported to the user.
    /// True when the job went to the queue.
    bool printRange(int from, int to);

    const PreviewHooks& hooks() const { return m_hooks; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void Form_Load(const QPrinter* appPrinter);
    void Form_Resize();

    ComposeFn m_compose;
    PrintDocument m_document;
    std::function<QString()> m_ipNumber;
    const Settings* m_settings;
    ExportList m_exports;
    QString m_paperName;  ///< the paper the document was laid out for
    PreviewHooks m_hooks;
    PageLayout m_pl;
    QString m_refusal;
    const QPrinter* m_appPrinter = nullptr;  ///< the program's printer settings, if any

    QPushButton* m_cmdToPrinter = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_cmdmae = nullptr;
    QPushButton* m_cmdato = nullptr;
    std::array<QPushButton*, 2> m_cmdZoom{};
    QPushButton* m_cmdPdf = nullptr;
    QPushButton* m_cmdend = nullptr;
    PageView* m_view = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_counter = nullptr;
};

}  // namespace tovanel
