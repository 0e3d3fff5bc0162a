// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file the program writes goes through here, so that a failed or cancelled write leaves the
// previous file as it was and the user is told the real reason.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tovanel {

/// A file written so that its path holds either the previous file or the whole new one, never a
/// part. The bytes go to a new file beside it (a unique name, created exclusively, so a planted
/// file or link is never followed), are flushed to disk and then renamed over the path.
/// - A symbolic link at the path is written through: its target is replaced, the link stays.
/// - The new file keeps the previous file's permissions (a new one gets 0666 less the umask).
/// - A path that names something other than a regular file (/dev/null, /dev/full, a pipe) is
///   written directly; there is nothing to keep, but every error is still reported.
/// Destroying the object before `commit()` discards what was written.
///
/// A commit is two steps, which `CommitAll` takes for several files at once: `syncToDisk` puts
/// the new bytes on the disk beside the path (nothing is replaced yet, so a full disk or an I/O
/// error found there leaves the previous file); `replace` renames them over the path and syncs
/// the folder, so that the rename survives a power cut too.
/// Written by hand rather than with QSaveFile, which reported success and left a truncated file
/// when the disk filled up, neither syncs the folder after the rename nor lets several files
/// reach the disk before any is renamed, and gives its reasons in English.
class AtomicFile : public QIODevice {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile() override;

    /// Opens for writing (the mode is always WriteOnly). False with `reason()` set on failure.
    bool open(OpenMode mode = WriteOnly) override;
    /// Makes the written bytes the file at the path: syncToDisk, then replace. Returns empty on
    /// success, otherwise the reason; see `replaced()` for what a failure left at the path.
    QString commit();
    /// The first step of a commit: the written bytes flushed to the disk and the file closed.
    /// Empty, or the reason (then the previous file is left and the new one discarded).
    QString syncToDisk();
    /// The second step: the synced file renamed over the path, then the folder synced. Empty, or
    /// the reason. A failing folder sync comes after the rename: the path already holds the new
    /// file, which `replaced()` then says.
    QString replace();
    /// Whether the path holds the new bytes (after a commit, even one whose folder sync failed).
    bool replaced() const { return m_replaced; }
    /// Throws away what was written; the previous file stays.
    void discard();
    /// The reason of the first failure, in Japanese; empty while none happened.
    QString reason() const { return m_reason; }
    /// The path the file replaces once committed (a link at the constructor's path resolved).
    QString target() const { return m_target; }
    /// The path as given to the constructor.
    QString path() const { return m_path; }

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
    bool m_synced = false;    // syncToDisk done, the file closed and waiting for replace
    bool m_replaced = false;
    QString m_reason;
};

/// What committing several files together came to.
struct CommitReport {
    QString failed;         ///< the path that failed, empty when every file was committed
    QString reason;         ///< why it failed
    QStringList replaced;   ///< the paths that hold their new bytes, in the order given
    QStringList kept;       ///< the paths left as they were (or still absent), in the order given
    bool ok() const { return failed.isEmpty(); }
    /// One line for the user: which file failed and why, and which files are new and which are
    /// old; empty when every file was committed.
    QString message() const;
};

/// Commits the files as one as far as a file system allows: every file is synced to the disk
/// before any is renamed, so a full disk or an I/O error leaves every previous file. A rename or
/// a folder sync failing after others succeeded cannot be undone; the report names both sets.
/// Files not committed are discarded. Null entries are skipped.
CommitReport CommitAll(const std::vector<AtomicFile*>& files);

/// What a path names for a write, as a key: two paths reaching the same file (through a link,
/// "..", another hard link) give the same key. An existing file gives its device and inode;
/// one not there yet, the absolute path it would be created at (links followed, the folder's
/// canonical path). Used to refuse writing an output over an input or over another output.
QString FileIdentity(const QString& path);

/// The calls a commit makes to the operating system, replaceable by tests that make one fail or
/// that watch their order. Empty members are the system's own fsync(2) and rename(2).
struct CommitCalls {
    std::function<int(int fd)> fsync;
    std::function<int(const char* from, const char* to)> rename;
};
/// Replaces the calls until it is called again (with {} to go back to the system's).
void SetCommitCallsForTest(CommitCalls calls);

/// Writes `bytes` to `path` through AtomicFile. Returns empty on success, otherwise the reason.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);

/// From now on a write past the process's file-size limit fails with "file too large", which is
/// reported, instead of the signal (SIGXFSZ) ending the program. Called once at start-up.
void ReportFileSizeLimitAsError();

/// From now on Ctrl-C (SIGINT), SIGTERM, SIGHUP (the terminal closed) and SIGPIPE (the reader of
/// a pipe gone) only note the signal, which `Interrupted` reads, so that a run stops between two
/// steps and discards what it has not committed. A write to a closed pipe then fails with EPIPE
/// instead of ending the program.
void CatchInterrupts();
/// Whether an interrupt came since CatchInterrupts.
bool Interrupted();
/// The first signal that came since CatchInterrupts; 0 while none did.
int InterruptSignal();

/// The Japanese text of a failed file operation's errno value ("ディスクの空き容量が足りません").
QString FileErrorText(int err);

/// The same for a file opened to be read, where a name that is not there is the file itself.
QString ReadErrorText(int err);

}  // namespace tovanel
