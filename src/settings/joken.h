// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The condition settings dialog: the digit counts, the three limits of the trial calculation, the
// point-name prefixes of the three curves and the CAD edition of the clipboard exchange. It edits
// IniNum/IniStr in memory; the settings file is written when the program ends.

#include "widgets/message.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QGroupBox;

namespace tovanel {

class Settings;

/// Message shown when OK finds the middle-ordinate or the LP limit at 0.
inline const QString kZeroLimitMessage =
    QStringLiteral(" 制限は０では演算する事が出来ません。値を入力して下さい。 ");

/// Message shown when OK finds a TAB or a line end in a point name (they are taken out first).
inline const QString kFieldBreakMessage =
    QStringLiteral("点名に含まれていたタブ・改行を取り除きました。確かめてから OK を押して下さい。");

class Joken : public QDialog {
    Q_OBJECT
public:
    /// Builds the dialog and fills it from the state (the load step). Modeless: call show().
    explicit Joken(Settings& s, MessageFn message = ShowMessageBox, QWidget* parent = nullptr);

    /// Number boxes 0..4 (IniNum 1..5) and name boxes 5..7 (IniStr 1..3).
    QLineEdit* JO1(int i) const { return m_jo1.at(static_cast<size_t>(i)); }
    QRadioButton* Option1() const { return m_option1; }  ///< DentaⅡ
    QRadioButton* Option2() const { return m_option2; }  ///< Stravon
    /// Exact azimuths (the settings' exact-azimuth entry).
    QCheckBox* ExactAzimuth() const { return m_exactAzimuth; }
    QPushButton* Command1() const { return m_ok; }
    QPushButton* Command2() const { return m_cancel; }

    /// OK: stores the boxes; closes unless a tested limit is 0 (then says so and stays open).
    /// A point name holding a TAB, CR or LF is cleaned in its box instead, and nothing is stored.
    void Command1_Click();
    /// Cancel: closes; what an earlier OK stored stays.
    void Command2_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void placePageControls();

    Settings& m_s;
    MessageFn m_message;
    QTabWidget* m_tab = nullptr;
    QWidget* m_page = nullptr;
    std::array<QLineEdit*, 8> m_jo1{};
    QGroupBox* m_frame = nullptr;
    QRadioButton* m_option1 = nullptr;
    QRadioButton* m_option2 = nullptr;
    QCheckBox* m_exactAzimuth = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    /// Page controls and their rectangles in twips relative to the tab control.
    std::vector<std::pair<QWidget*, QRect>> m_pageControls;
};

}  // namespace tovanel
