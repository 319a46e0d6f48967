// SPDX-License-Identifier: GPL-3.0-or-later
// Tells whether another copy of the program runs for this user.
//
// Every running copy holds an exclusive lock on a file of its own in the
// user's runtime folder. A newcomer counts the files whose lock it cannot
// take; a file whose lock it can take belongs to a copy that has ended (the
// system drops the locks of a killed process) and is removed.
#pragma once

#include <QString>

#include "app/seams.h"

namespace veltrane {

class InstanceLock : public InstanceDetector {
  public:
    // folder: where the lock files live; created with owner-only access.
    explicit InstanceLock(const QString& folder);
    ~InstanceLock() override;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes this copy's own lock, then looks at the others. Answers false
    // (no other copy) when the folder is not private.
    bool anotherInstanceRunning() override;

    // Removes this copy's lock file; the program calls it just before it ends.
    void release();

    // The folder the program uses: "veltrane-instances" in the user's runtime
    // folder, or, where XDG_RUNTIME_DIR is unset or not the user's own
    // private folder, "veltrane-instances-UID" in the temporary folder.
    static QString DefaultFolder();

    // Makes sure path is a folder only this user can reach, creating it if
    // need be: a real folder (not a link), owned by the user, mode 0700.
    // Another user could otherwise plant the folder and fake the answer.
    static bool PrivateFolder(const QString& path);

  private:
    QString folder_;
    QString ownPath_;
    void* handle_ = nullptr;  // the open, locked file (a file descriptor or a HANDLE)
};

}  // namespace veltrane
