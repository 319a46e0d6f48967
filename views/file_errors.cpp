// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/file_errors.h"

#include <cerrno>
#include <system_error>

namespace veltrane::views {

namespace {

struct ReasonRow {
    int errnum;
    std::string_view chinese;
};

// The errors a user can meet saving or opening a file; anything else is
// named by its number.
const ReasonRow kReasons[] = {
    {.errnum = ENOSPC, .chinese = "磁盘已满"},
    {.errnum = EACCES, .chinese = "没有权限"},
    {.errnum = EPERM, .chinese = "没有权限"},
    {.errnum = EISDIR, .chinese = "是一个文件夹"},
    {.errnum = ENOTDIR, .chinese = "路径中有一项不是文件夹"},
    {.errnum = EROFS, .chinese = "磁盘只读"},
    {.errnum = EEXIST, .chinese = "文件已存在"},
    {.errnum = ELOOP, .chinese = "是一个符号链接"},
    {.errnum = ENAMETOOLONG, .chinese = "文件名太长"},
    {.errnum = EFBIG, .chinese = "文件太大"},
    {.errnum = EIO, .chinese = "读写出错"},
    {.errnum = EMFILE, .chinese = "打开的文件太多"},
    {.errnum = ENFILE, .chinese = "打开的文件太多"},
    {.errnum = EBUSY, .chinese = "文件正被占用"},
    {.errnum = ETXTBSY, .chinese = "文件正被占用"},
    {.errnum = ENOMEM, .chinese = "内存不足"},
    {.errnum = EPIPE, .chinese = "管道已关闭"},
    {.errnum = EINVAL, .chinese = "无效的文件"},
#ifdef EDQUOT
    {.errnum = EDQUOT, .chinese = "超出磁盘配额"},
#endif
};

}  // namespace

std::string FileReason(int errnum, FileAction action, Language language) {
    // 0: the call failed without saying why (a short write, say).
    if (language == Language::English) {
        return errnum == 0 ? std::string("input/output error")
                           : std::error_code(errnum, std::generic_category()).message();
    }
    if (errnum == 0) {
        errnum = EIO;
    }
    if (errnum == ENOENT) {
        return action == FileAction::Read ? "文件不存在" : "文件夹不存在";
    }
    for (const ReasonRow& row : kReasons) {
        if (row.errnum == errnum) {
            return std::string(row.chinese);
        }
    }
    return "系统错误（代码 " + std::to_string(errnum) + "）";
}

std::string FileErrorText(FileAction action, std::string_view path, int errnum, Language language) {
    const std::string reason = FileReason(errnum, action, language);
    if (language == Language::English) {
        return std::string(action == FileAction::Read ? "cannot read " : "cannot write ") +
               std::string(path) + ": " + reason;
    }
    return std::string(action == FileAction::Read ? "无法读取文件 " : "无法保存文件 ") +
           std::string(path) + "：" + reason;
}

std::string NotAPlainFileText(std::string_view path, bool link) {
    return "无法保存文件 " + std::string(path) + "：" +
           (link ? "这是一个符号链接，Veltrane 不通过链接写入文件"
                 : "这不是普通文件（设备、管道或套接字），保存会替换它") +
           "；请另选文件名。";
}

}  // namespace veltrane::views
