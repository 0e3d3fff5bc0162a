// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file the program writes goes through here, so that a failed or cancelled write leaves the
// previous file as it was and the user is told the real reason.

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace tovanel {

/// A file written so that its path holds either the previous file or the whole new one, never a
/// part. The bytes go to a new file beside it (a unique name, created exclusively, so a planted
/// file or link is never followed), are flushed to disk and then renamed over the path.
/// - A symbolic link at the path is written through: its target is replaced, the link stays.
/// - The new file keeps the previous file's permissions (a new one gets 0666 less the umask).
/// - A path that names something other than a regular file (/dev/null, /dev/full, a pipe) is
///   written directly; there is nothing to keep, but every error is still reported.
/// Destroying the object before `commit()` discards what was written.
/// Written by hand rather than with QSaveFile, which reported success and left a truncated file
/// when the disk filled up (the file size limit reached) during the write.
class AtomicFile : public QIODevice {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile() override;

    /// Opens for writing (the mode is always WriteOnly). False with `reason()` set on failure.
    bool open(OpenMode mode = WriteOnly) override;
    /// Makes the written bytes the file at the path. Returns empty on success, otherwise the
    /// reason; on failure the previous file is left as it was.
    QString commit();
    /// Throws away what was written; the previous file stays.
    void discard();
    /// The reason of the first failure, in Japanese; empty while none happened.
    QString reason() const { return m_reason; }
    /// The path the file replaces once committed (a link at the constructor's path resolved).
    QString target() const { return m_target; }

    void close() override { discard(); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override;

private:
    void Fail(int err);
    void Fail(const QString& reason);

    QString m_path;
    QString m_target;
    QString m_temp;     // empty when writing directly
    int m_fd = -1;
    QString m_reason;
};

/// Writes `bytes` to `path` through AtomicFile. Returns empty on success, otherwise the reason.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);

/// From now on a write past the process's file-size limit fails with "file too large", which is
/// reported, instead of the signal (SIGXFSZ) ending the program. Called once at start-up.
void ReportFileSizeLimitAsError();

/// From now on Ctrl-C (SIGINT) and SIGTERM only set the flag `Interrupted` reads, so that a run
/// stops between two steps and discards what it has not committed.
void CatchInterrupts();
/// Whether an interrupt came since CatchInterrupts.
bool Interrupted();

/// The Japanese text of a failed file operation's errno value ("ディスクの空き容量が足りません").
QString FileErrorText(int err);

/// The same for a file opened to be read, where a name that is not there is the file itself.
QString ReadErrorText(int err);

}  // namespace tovanel
