// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the input sheet of one corner curve (calculation type, IP number, BP/IP/EP
// names and coordinates, radius, widths, division count), the paste-points and trial-division
// buttons and the menu bar. Building it is the program's start-up; closing it saves the settings.

#include "app/annai.h"
#include "calc/corner.h"
#include "calc/settings.h"
#include "settings/joken.h"
#include "widgets/message.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QPrinter;
class QAction;

namespace tovanel {

/// Message of the print command before a trial division has fixed the count.
inline const QString kNoDivCountMessage =
    QStringLiteral(" 分割数試算を実行して分割の数を確定してください。 ");
/// Refusal of a command that needs the calculation type (`command`: 印刷, 座標出力) when the trial
/// division ran without one; the type is taken when the trial runs, so the trial must run again.
/// `typeShown`: a type is selected in the box now (chosen only after the trial).
inline QString NoTypeMessage(bool typeShown, const QString& command)
{
    return (typeShown ? QStringLiteral(" 計算種別は分割数試算の実行時に確定します。分割数試算をもう一度実行してから")
                      : QStringLiteral(" 計算種別が選択されていません。計算種別を選び、分割数試算をもう一度実行してから")) +
           command + QStringLiteral("してください。 ");
}
/// Message of the print command when a calculation type was chosen only after the trial division,
/// which is where the type is taken.
inline const QString kTypeAfterTrialMessage = NoTypeMessage(true, QStringLiteral("印刷"));

class MonitFM : public QMainWindow {
    Q_OBJECT
public:
    struct Setup {
        QString appDir;        ///< the program's folder
        QString settingsPath;  ///< empty: SettingsPath(appDir)
        MessageFn message;     ///< empty: message boxes
        /// Ends the program at once ("終了(X)"); empty: leave the event loop.
        std::function<void()> quit;
    };

    /// Start-up: program folder, settings, caption, empty inputs, the remembered calculation
    /// type, empty clipboard. Notices about the settings file are shown once, right after the
    /// window first appears.
    MonitFM(QPrinter& printer, Setup setup, QWidget* parent = nullptr);
    ~MonitFM() override;

    // --- controls, by their design names
    QPushButton* Command1() const { return m_command1; }
    QPushButton* CMD1() const { return m_cmd1; }
    QComboBox* Combo1() const { return m_combo1; }
    QLineEdit* DTText(int i) const { return m_dtText.at(static_cast<size_t>(i)); }
    QLineEdit* XText(int i) const { return m_xText.at(static_cast<size_t>(i)); }
    QLineEdit* YText(int i) const { return m_yText.at(static_cast<size_t>(i)); }
    QLineEdit* TXT1() const { return m_txt1; }
    QStatusBar* Stb1() const { return m_stb1; }

    enum Menu { MENUFILE, MENUPRINT, MENUJOKEN, MENUHELP };
    /// The menu item of the given index (as numbered in the menu's item array), or null.
    QAction* menuItem(Menu menu, int index) const;
    /// A File menu command added by a later part of the program: named `name`, placed right after
    /// the command named `after` when that is there, otherwise before the printer set-up.
    QAction* addFileCommand(const QString& caption, const QString& name, const QString& after);

    // --- commands
    void Mn_New();
    /// Closes the trial window and writes the settings file (a failure is reported, never fatal).
    void P_end();
    /// The boxes' texts into the corner's inputs, by the boxes' leading-number rule (the count
    /// excepted: the trial command takes it).
    void GatherInputs();
    /// The corner the boxes hold now, read as GatherInputs reads them, with the division count
    /// box read the same way; nothing of the window changes.
    CornerInput boxInputs() const;
    /// Fills the boxes with a corner (numbers in their shortest exact form, the division count
    /// empty when it is to be chosen) and clears the trial: the corner is then ready for
    /// 分割数試算 and printing as if it had been typed.
    void setBoxes(const CornerInput& in);
    void Command1_Click();
    void CMD1_Click();
    void MENUFILE1_Click(int index);
    void MENUPRINT1_Click(int index);
    void MENUJOKEN1_Click(int index);
    void MENUHELP1_Click(int index);
    void OpenPreview();

    /// What the print command does once the count is fixed (ShowMode already set): the preview
    /// window plugs in here. Until then it says that the preview is not available.
    void setPreviewOpener(std::function<void()> open) { m_openPreview = std::move(open); }
    /// The preview opened from this window. It is a window of its own, not a child: it stays
    /// open when this window closes, and it goes with this window's end (when the program ends).
    void setPreviewWindow(QWidget* preview) { m_preview = preview; }
    QWidget* previewWindow() const { return m_preview; }

    /// List position of Combo1, −1 when nothing is selected or other text has been typed.
    int listPosition() const;
    QString settingsPath() const { return m_settingsPath; }
    QStringList settingsNotices() const { return m_notices; }
    /// The calculation conditions in force; the settings dialog edits them, the exit saves them.
    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }
    /// The corner of the last trial (its elements empty, DivCount 0, while no trial has fixed the
    /// count), with the IP number the box holds now: the sheets and the point names use it as it
    /// stands when they are made.
    Corner corner() const;
    /// Marks the trial's count as not fixed (the New command; a refused trial).
    void clearTrial() { m_corner.el = CornerElements{}; }
    QPrinter& printer() const { return m_printer; }
    /// The print menu entry last chosen (1: the calculation sheets).
    int printMenuIndex() const { return m_printMenuIdx; }
    ANNAI* annai() const { return m_annai; }
    Joken* joken() const { return m_joken; }
    MessageFn messageFn() const { return m_message; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void Form_Load();
    void closeAnnai();
    void openAnnai();
    void navigate(int key);

    Settings m_settings;
    Corner m_corner;  ///< inputs as last gathered, elements of the last trial
    ShowMode m_showMode = ShowMode::Trial;
    int16_t m_fieldIdx = 0;  ///< the DTText box that last had the focus; 7 past the last
    QPrinter& m_printer;
    MessageFn m_message;
    std::function<void()> m_quit;
    std::function<void()> m_openPreview;
    QString m_appDir;
    QString m_settingsPath;
    QStringList m_notices;
    bool m_noticesShown = false;
    bool m_ended = false;  ///< P_end has run for the end of the program
    int m_printMenuIdx = 0;

    QPushButton* m_command1 = nullptr;
    QPushButton* m_cmd1 = nullptr;
    QComboBox* m_combo1 = nullptr;
    std::array<QLineEdit*, 7> m_dtText{};
    std::array<QLineEdit*, 3> m_xText{};
    std::array<QLineEdit*, 3> m_yText{};
    QLineEdit* m_txt1 = nullptr;
    QStatusBar* m_stb1 = nullptr;
    std::array<std::array<QAction*, 8>, 4> m_items{};

    QPointer<ANNAI> m_annai;
    QPointer<Joken> m_joken;
    QPointer<QWidget> m_preview;
};

}  // namespace tovanel
