#pragma once
// The settings file: ten numbers and ten quoted strings, one per line, CP932, CR LF.

#include <QString>
#include <QStringList>

namespace tovanel {

struct CalcState;

/// The settings file's name.
inline constexpr const char* kSettingsFileName = "Tovanel.INI";

/// The string entry (line 16 of the file) that holds the exact-azimuth option: "1" computes
/// azimuths without the guard terms (AzimuthExact); anything else, the shipped "" included, keeps
/// the guarded routine whose digits the worked sheets print. Files that leave the line empty or
/// use it otherwise read as "off", and the line is written back as it was read.
inline constexpr int kExactAzimuthEntry = 6;

/// Whether the settings ask for exact azimuths.
bool ExactAzimuths(const CalcState& s);

/// Fills IniNum/IniStr with the values of the file shipped with the program.
void DefaultSettings(CalcState& s);

/// Reads the 20 entries of `path` into IniNum[1..10] and IniStr[1..10]. A missing file gives the
/// defaults; a missing or malformed line gives that entry's default. Returns one Japanese notice per
/// such problem (empty when the file was read cleanly).
QStringList ReadSettings(const QString& path, CalcState& s);

/// Writes all 20 entries to `path` through AtomicFile, so a failed
/// save leaves the previous file as it was. Returns empty on success, otherwise a Japanese
/// message naming the file and the reason.
QString WriteSettings(const QString& path, const CalcState& s);

/// Where the program keeps its settings: `Tovanel.INI` in appDir when that folder is writable;
/// otherwise in the per-user configuration folder, seeded from appDir's copy when there is none.
QString SettingsPath(const QString& appDir);

/// Text ↔ CP932 bytes. Encoding fails (returns false, `bad` names the first character that has no
/// CP932 form) instead of substituting; decoding likewise names the first undecodable byte offset.
bool EncodeCp932(const QString& text, QByteArray& out, QString* bad = nullptr);
bool DecodeCp932(const QByteArray& bytes, QString& out, qsizetype* badOffset = nullptr);

}  // namespace tovanel
