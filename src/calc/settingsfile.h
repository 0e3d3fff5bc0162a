// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file: ten numbers and ten quoted strings, one per line, CP932, CR LF.

#include <QString>
#include <QStringList>

namespace tovanel {

class Settings;

/// The settings file's name.
inline constexpr const char* kSettingsFileName = "Tovanel.INI";

/// The values of the file shipped with the program.
Settings DefaultSettings();

/// Reads the 20 entries of `path` into `s`. A missing file gives the
/// defaults; a missing or malformed line gives that entry's default (a number must be finite, a text
/// must not hold a TAB or CR). Reads no more than twenty of the longest lines a save writes: a
/// larger file gives a notice and only its first whole lines are used. Returns one Japanese notice
/// per such problem (empty when the file was read cleanly).
QStringList ReadSettings(const QString& path, Settings& s);

/// The per-user configuration folder (QStandardPaths::AppConfigLocation; ~/.config/Tovanel).
QString UserSettingsDir();

/// Writes all 20 entries to `path` through AtomicFile, so a failed
/// save leaves the previous file as it was. What ReadSettings would not take back is refused: a
/// text holding a TAB, CR or LF, or a file beyond its bound. Returns empty on success, otherwise a
/// Japanese message naming the file and the reason.
QString WriteSettings(const QString& path, const Settings& s);

/// Where the settings of a program in `appDir` live, and what a first start fills them from.
struct SettingsPlace {
    QString path;      ///< the file read at start and rewritten at exit
    QString seedFrom;  ///< copied to `path` while that does not exist; empty when nothing is to be copied

    /// The file that holds the settings now: `path` once it exists, otherwise `seedFrom` when that
    /// exists; empty when neither does (the built-in defaults apply).
    QString current() const;
};

/// - A `Tovanel.INI` next to the executable (the build folder) is used in place while it and its
///   folder can be written; one that cannot is kept in `userDir`, seeded from it.
/// - With none next to the executable (installed: the program folder holds no settings) the file
///   is the user's in `userDir`, seeded from the shipped default in share/tovanel/ under the
///   prefix of bin/.
/// - With no `userDir` (no home) the file is read where it stands; the save then says why not.
SettingsPlace LocateSettings(const QString& appDir, const QString& userDir);

/// LocateSettings with the per-user configuration folder; the user's file is created from the
/// seed when it does not exist yet and never replaced afterwards. Returns the path to use.
QString SettingsPath(const QString& appDir, const QString& userDir = UserSettingsDir());

/// Text ↔ CP932 bytes. Encoding fails (returns false, `bad` holds the first character that has no
/// CP932 form, both halves of a surrogate pair) instead of substituting; decoding likewise names
/// the first undecodable byte offset.
bool EncodeCp932(const QString& text, QByteArray& out, QString* bad = nullptr);
bool DecodeCp932(const QByteArray& bytes, QString& out, qsizetype* badOffset = nullptr);

}  // namespace tovanel
