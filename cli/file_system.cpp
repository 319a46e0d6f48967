// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/file_system.h"

#include <cerrno>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define VELTRANE_POSIX_FILES 1
#endif

namespace veltrane::cli {

namespace {

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

#if defined(VELTRANE_POSIX_FILES) && defined(__linux__) && defined(RENAME_NOREPLACE)
// link() fails so where the file system has no hard links (FAT, some
// network and FUSE file systems), not because of what stands at the name.
bool NoHardLinks(int errnum) {
    return errnum == EPERM || errnum == ENOTSUP || errnum == EOPNOTSUPP || errnum == EXDEV ||
           errnum == ENOSYS || errnum == EMLINK;
}
#endif

}  // namespace

std::FILE* CreateExclusively(const std::string& path, bool ownerOnly) {
#ifdef VELTRANE_POSIX_FILES
    // O_EXCL with O_CREAT fails on any name that exists, a link included,
    // and never follows it.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ownerOnly ? 0600 : 0666);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const int errnum = errno;
        ::close(fd);
        ::unlink(path.c_str());
        errno = errnum;
    }
    return file;
#else
    // "x" is C11's O_EXCL; the mode is the system's default.
    (void)ownerOnly;
    return std::fopen(path.c_str(), "wbx");
#endif
}

int SetMode(std::FILE* file, const std::string& path, std::filesystem::perms mode) {
#ifdef VELTRANE_POSIX_FILES
    (void)path;
    // Through the open file: no other file that took the name meanwhile is touched.
    return ::fchmod(::fileno(file), static_cast<mode_t>(mode)) == 0 ? 0 : errno;
#else
    (void)file;
    std::error_code ec;
    std::filesystem::permissions(path, mode, ec);
    return ec.value();
#endif
}

int FlushAndClose(std::FILE* file, bool toDisk) {
    errno = 0;
    int failure = std::fflush(file) == 0 ? 0 : ErrnoOr(EIO);
#ifdef VELTRANE_POSIX_FILES
    // On the disk before it takes the name: a crash after the move finds
    // the whole file, not an empty one.
    if (failure == 0 && toDisk && ::fsync(::fileno(file)) != 0) {
        failure = ErrnoOr(EIO);
    }
#else
    (void)toDisk;
#endif
    errno = 0;
    if (std::fclose(file) != 0 && failure == 0) {
        failure = ErrnoOr(EIO);
    }
    return failure;
}

int MoveWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef VELTRANE_POSIX_FILES
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    const int errnum = errno;
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (NoHardLinks(errnum)) {
        return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0
                   ? 0
                   : errno;
    }
#endif
    return errnum;
#else
    // The C library's rename does not replace an existing file on Windows
    // (MoveFileEx without MOVEFILE_REPLACE_EXISTING).
    errno = 0;
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : ErrnoOr(EEXIST);
#endif
}

int MoveReplacing(const std::string& from, const std::string& to) {
#ifdef VELTRANE_POSIX_FILES
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
#else
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return ec.value();
#endif
}

void RemoveFile(const std::string& path) {
#ifdef VELTRANE_POSIX_FILES
    ::unlink(path.c_str());
#else
    std::remove(path.c_str());
#endif
}

}  // namespace veltrane::cli
