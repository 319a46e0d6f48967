// SPDX-License-Identifier: GPL-3.0-or-later
// Why a file could not be read or written, from the system's error number,
// in the user's words: 磁盘已满, 没有权限, 文件夹不存在, 是一个文件夹 …
#pragma once

#include <string>
#include <string_view>

#include "views/language.h"

namespace veltrane::views {

enum class FileAction { Read, Write };

// The reason for errnum (an errno value). English is the system's own
// wording; Chinese comes from a table, with "系统错误（代码 N）"
// for a number it lacks. A missing name reads "文件不存在" when reading and
// "文件夹不存在" when writing (only the folder can be missing then).
std::string FileReason(int errnum, FileAction action, Language language);

// "cannot read PATH: REASON" / "无法读取文件 PATH：REASON", and the same for
// writing ("cannot write" / "无法保存文件").
std::string FileErrorText(FileAction action, std::string_view path, int errnum, Language language);

// Why the program will not save at path: a link there (it never writes
// through one), or something that is not a plain file (a device, a FIFO, a
// socket), which saving would replace.
std::string NotAPlainFileText(std::string_view path, bool link);

}  // namespace veltrane::views
