// SPDX-License-Identifier: GPL-3.0-or-later
// The file system calls behind veltrane-calc's output files, each giving 0
// or the errno of its failure: POSIX calls where the system has them (the
// program is built for Linux), the C and C++ libraries elsewhere.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace veltrane::cli {

// Opens path for writing only if nothing stands there: no file, no folder,
// no link, dangling or not, is followed or touched. With ownerOnly the file
// starts readable by its owner alone (0600), for a file that takes on the
// mode of the one it replaces; else it gets 0666 less the umask. Returns
// nullptr with errno set when it cannot.
std::FILE* CreateExclusively(const std::string& path, bool ownerOnly);

// Sets the permissions of the open file at path.
int SetMode(std::FILE* file, const std::string& path, std::filesystem::perms mode);

// Writes out what file holds, to the disk too when toDisk (a device or a
// FIFO has no disk), and closes it, also when that fails. A failure that
// did not say why gives EIO.
int FlushAndClose(std::FILE* file, bool toDisk);

// Gives the file at from the name to, in one step, only if nothing stands
// at to (EEXIST otherwise, whatever came there since it was looked at). A
// hard link, then the old name removed; where the file system has no hard
// links, Linux's rename without replacing. Never replaces anything.
int MoveWithoutReplacing(const std::string& from, const std::string& to);

// Gives the file at from the name to, replacing in one step what stands
// there (a link itself, never what it points to).
int MoveReplacing(const std::string& from, const std::string& to);

// Removes the file at path, if it is there.
void RemoveFile(const std::string& path);

}  // namespace veltrane::cli
