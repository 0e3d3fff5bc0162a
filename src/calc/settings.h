// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation conditions: ten numbers and ten texts, as the settings file holds them, read
// and changed through their names. A value: the windows, the command line and a batch run each
// hold the copy they work with.

#include <QString>
#include <array>

namespace tovanel {

/// Entries of the settings file: ten numbers and ten strings.
inline constexpr int kIniCount = 10;

/// The number entries, by their line in the file.
enum class NumberEntry {
    CoordDigits = 1,     ///< 座標計算桁数
    RegisterDigits = 2,  ///< 座標登録桁数
    LimitM = 3,          ///< 制限中央縦距: limit of one division's middle ordinate
    LimitLP = 4,         ///< 制限ＬＰ: upper limit of one division's arc length
    LimitL1 = 5,         ///< 制限Ｌ１: upper limit of arc minus chord of one division
};

/// The text entries, by their place among the texts (line 10 + n of the file).
enum class TextEntry {
    CentrePrefix = 1,    ///< 中心点名: prefix of the centre curve's point names
    InnerPrefix = 2,     ///< 内周点名
    OuterPrefix = 3,     ///< 外周点名
    RememberedType = 4,  ///< the type list position at the last exit, −1 for none
    CadEdition = 5,      ///< "1": names in the first field of clipboard lines; else the second
    ExactAzimuth = 6,    ///< "1": azimuths computed without the guard terms
};

/// The limits the trial calculation checks a division against.
struct Limits {
    double M = 0;   ///< middle ordinate
    double LP = 0;  ///< arc length
    double L1 = 0;  ///< arc minus chord
};

class Settings {
public:
    double number(NumberEntry e) const { return IniNum[static_cast<size_t>(e)]; }
    void setNumber(NumberEntry e, double v) { IniNum[static_cast<size_t>(e)] = v; }
    const QString& text(TextEntry e) const { return IniStr[static_cast<size_t>(e)]; }
    void setText(TextEntry e, const QString& v) { IniStr[static_cast<size_t>(e)] = v; }

    Limits limits() const
    {
        return {number(NumberEntry::LimitM), number(NumberEntry::LimitLP), number(NumberEntry::LimitL1)};
    }
    const QString& centrePrefix() const { return text(TextEntry::CentrePrefix); }
    const QString& innerPrefix() const { return text(TextEntry::InnerPrefix); }
    const QString& outerPrefix() const { return text(TextEntry::OuterPrefix); }
    const QString& rememberedType() const { return text(TextEntry::RememberedType); }
    /// The CAD edition that puts the point name in the first field of a clipboard line and no
    /// TAB before it ("1"); the other edition has an empty field first.
    bool nameInFirstField() const { return text(TextEntry::CadEdition) == QLatin1String("1"); }
    /// "1" on the exact-azimuth line: azimuths without the guard terms. Anything else, the
    /// shipped "" included, keeps the guarded routine whose digits the worked sheets print.
    bool exactAzimuths() const { return text(TextEntry::ExactAzimuth) == QLatin1String("1"); }

    /// Entry n (1..10) of either kind, for the settings file, which is written line by line.
    double numberLine(int n) const { return IniNum[static_cast<size_t>(n)]; }
    const QString& textLine(int n) const { return IniStr[static_cast<size_t>(n)]; }
    void setNumberLine(int n, double v) { IniNum[static_cast<size_t>(n)] = v; }
    void setTextLine(int n, const QString& v) { IniStr[static_cast<size_t>(n)] = v; }

    friend bool operator==(const Settings&, const Settings&) = default;

private:
    // Index 1..10 as the file numbers them; element 0 unused.
    std::array<double, kIniCount + 1> IniNum{};
    std::array<QString, kIniCount + 1> IniStr{};
};

}  // namespace tovanel
