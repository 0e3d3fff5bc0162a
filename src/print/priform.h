// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print dialog: shows the printer, the paper and the orientation the document was laid out
// for, takes the page range (all pages, or from/to), and prints that range through the preview's
// page component. Modal; it closes itself on OK and on cancel.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tovanel {

class PageLayout;

/// A page box's text as a page number: the leading number, rounded half to even; nothing when it
/// does not fit in 16 bits (such a number is out of every page range).
std::optional<int16_t> PageNumberOf(const QString& text);

/// The printer-name text the dialog shows when the platform offers no print queue.
inline const QString kNoPrinterText = QStringLiteral("（使用できるプリンタがありません）");

class PriForm : public QDialog {
    Q_OBJECT
public:
    /// Prints pages from..to of the document; true when the job went to the printer.
    using PrintFn = std::function<bool(int from, int to)>;

    /// The pages that can be printed, first and last.
    struct PrintRange {
        int16_t PrintFrom = 0;
        int16_t PrintTo = 0;
    };

    /// Loads the dialog (Form_Load) from the printable range, the paper's name and the
    /// orientation and printer name of the preview's component pl.
    PriForm(PageLayout& pl, const QString& paperName, PrintRange range, PrintFn print,
            QWidget* parent = nullptr);

    // --- controls and values, by their design names
    QLabel* Dvc() const { return m_dvc; }
    QLabel* PSize() const { return m_pSize; }
    QLabel* POri() const { return m_pOri; }
    QRadioButton* Option1() const { return m_option1; }
    QRadioButton* Option2() const { return m_option2; }
    QLineEdit* Text1() const { return m_text1; }
    QLineEdit* Text2() const { return m_text2; }
    QPushButton* Command1() const { return m_command1; }
    QPushButton* Command2() const { return m_command2; }
    int16_t FromPage() const { return m_fromPage; }
    int16_t ToPage() const { return m_toPage; }

    // --- handlers
    void Option1_Click();
    void Option2_Click();
    void Text1_Change();
    void Text2_Change();
    /// Enter in a page box: shows the accepted page and moves on.
    void Text1_KeyPress();
    void Text2_KeyPress();
    /// OK: names the print job "票印刷", prints FromPage..ToPage, closes.
    void Command1_Click();
    /// Cancel: closes, prints nothing.
    void Command2_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load();

    PageLayout& m_pl;
    QString m_paperName;
    PrintRange m_range;
    PrintFn m_print;
    int16_t m_fromPage = 0;
    int16_t m_toPage = 0;

    QLabel* m_dvc = nullptr;
    QLabel* m_pSize = nullptr;
    QLabel* m_pOri = nullptr;
    QRadioButton* m_option1 = nullptr;
    QRadioButton* m_option2 = nullptr;
    QLabel* m_option1Label = nullptr;
    QLabel* m_option2Label = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
};

}  // namespace tovanel
