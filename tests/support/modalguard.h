#pragma once
// Window tests must never wait for a person. While the event loop runs, a modal window that opens
// is closed at once and counted; a test that expects one says so with ExpectModals.

#include <QString>
#include <QStringList>

namespace tovanel::test {

/// Starts the guard (done once by the test main).
void InstallModalGuard();

/// Titles of the modal windows closed by the guard since the last call; clears the list.
QStringList TakeClosedModals();

/// While an object of this type lives, closed modals are only collected; otherwise each one
/// fails the running test.
class ExpectModals {
public:
    ExpectModals();
    ~ExpectModals();
    ExpectModals(const ExpectModals&) = delete;
    ExpectModals& operator=(const ExpectModals&) = delete;
};

}  // namespace tovanel::test
