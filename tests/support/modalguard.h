// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window tests must never wait for a person: while the event loop runs, a modal window that
// opens fails the running test and is closed at once. Messages are meant to go through the
// windows' replaceable message functions instead.

namespace tovanel::test {

/// Starts the guard (done once by the test main).
void InstallModalGuard();

}  // namespace tovanel::test
