// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instance_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QUuid>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace veltrane {

namespace {

const QString kSuffix = QStringLiteral(".lock");

#ifdef _WIN32
using Handle = HANDLE;
Handle OpenFile(const QString& path, bool create) {
    return CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       create ? CREATE_NEW : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
bool Valid(Handle h) {
    return h != INVALID_HANDLE_VALUE;
}
bool TryLock(Handle h) {
    OVERLAPPED o{};
    return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o) != 0;
}
void CloseFile(Handle h) {
    CloseHandle(h);
}
void* ToVoid(Handle h) {
    return h;
}
Handle FromVoid(void* p) {
    return p;
}
#else
using Handle = int;
Handle OpenFile(const QString& path, bool create) {
    const QByteArray name = QFile::encodeName(path);
    return ::open(name.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0), 0600);
}
bool Valid(Handle h) {
    return h >= 0;
}
bool TryLock(Handle h) {
    return ::flock(h, LOCK_EX | LOCK_NB) == 0;
}
void CloseFile(Handle h) {
    ::close(h);
}
void* ToVoid(Handle h) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(h) + 1);
}
Handle FromVoid(void* p) {
    return static_cast<Handle>(reinterpret_cast<intptr_t>(p) - 1);
}
#endif

}  // namespace

InstanceLock::InstanceLock(const QString& folder) : folder_(folder) {}

InstanceLock::~InstanceLock() {
    if (handle_ != nullptr) {
        CloseFile(FromVoid(handle_));
    }
}

#ifdef _WIN32
QString InstanceLock::DefaultFolder() {
    // The per-user local application data folder; other users cannot reach it.
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) {
        runtime = QDir::tempPath();
    }
    return runtime + QStringLiteral("/veltrane-instances");
}

bool InstanceLock::PrivateFolder(const QString& path) {
    return QDir().mkpath(path);
}
#else
namespace {

// An existing folder, not a link, owned by this user, that nobody else may
// enter or change. mode: the permission bits it must have exactly.
bool OwnFolder(const QByteArray& path, mode_t mode) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 07777) == mode;
}

}  // namespace

QString InstanceLock::DefaultFolder() {
    // Qt would make up a runtime folder of its own where the variable is
    // unset; read it here so that the fallback is ours and checked.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && OwnFolder(runtime, 0700)) {
        return QFile::decodeName(runtime) + QStringLiteral("/veltrane-instances");
    }
    return QDir::tempPath() + QStringLiteral("/veltrane-instances-") + QString::number(::geteuid());
}

bool InstanceLock::PrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    // mkdir does not follow a link planted at path; an existing entry is
    // then checked for what it is.
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return OwnFolder(name, 0700);
}
#endif

bool InstanceLock::anotherInstanceRunning() {
    if (!PrivateFolder(folder_)) {
        return false;
    }
    QDir dir(folder_);

    if (handle_ == nullptr) {
        // Lock a file under a name nobody counts, then rename it into place,
        // so no newcomer ever sees an unlocked file that belongs to a live copy.
        const QString id = QUuid::createUuid().toString(QUuid::Id128);
        const QString pending = dir.filePath(QStringLiteral("pending-") + id);
        const Handle h = OpenFile(pending, true);
        if (Valid(h)) {
            if (TryLock(h)) {
                ownPath_ = dir.filePath(QStringLiteral("instance-") + id + kSuffix);
                if (QFile::rename(pending, ownPath_)) {
                    handle_ = ToVoid(h);
                } else {
                    CloseFile(h);
                    QFile::remove(pending);
                }
            } else {
                CloseFile(h);
            }
        }
    }

    bool another = false;
    const QStringList files = dir.entryList({QStringLiteral("instance-*") + kSuffix}, QDir::Files);
    for (const QString& name : files) {
        const QString path = dir.filePath(name);
        if (path == ownPath_) {
            continue;
        }
        const Handle h = OpenFile(path, false);
        if (!Valid(h)) {
            continue;  // removed meanwhile
        }
        if (TryLock(h)) {
            QFile::remove(path);  // its copy has ended; the lock is ours while we remove it
        } else {
            another = true;
        }
        CloseFile(h);
    }
    return another;
}

void InstanceLock::release() {
    if (!ownPath_.isEmpty()) {
        QFile::remove(ownPath_);
        ownPath_.clear();
    }
}

}  // namespace veltrane
