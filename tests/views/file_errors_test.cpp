// SPDX-License-Identifier: GPL-3.0-or-later
// A failed read or write says why in the user's words, never "未知错误".
#include <gtest/gtest.h>

#include <cerrno>

#include "views/file_errors.h"

namespace veltrane::views {
namespace {

TEST(FileReason, TheReasonsAUserMeets) {
    const struct {
        int errnum;
        FileAction action;
        const char* chinese;
    } cases[] = {
        {ENOSPC, FileAction::Write, "磁盘已满"},
        {EACCES, FileAction::Write, "没有权限"},
        {EPERM, FileAction::Read, "没有权限"},
        {ENOENT, FileAction::Write, "文件夹不存在"},
        {ENOENT, FileAction::Read, "文件不存在"},
        {EISDIR, FileAction::Read, "是一个文件夹"},
        {EROFS, FileAction::Write, "磁盘只读"},
        {EFBIG, FileAction::Write, "文件太大"},
        {0, FileAction::Write, "读写出错"},
        {98765, FileAction::Write, "系统错误（代码 98765）"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileReason(c.errnum, c.action, Language::Chinese), c.chinese) << c.errnum;
    }
}

TEST(FileErrorText, WholeSentences) {
    EXPECT_EQ(FileErrorText(FileAction::Write, "/mnt/u盘/计算书.pdf", ENOSPC, Language::Chinese),
              "无法保存文件 /mnt/u盘/计算书.pdf：磁盘已满");
    EXPECT_EQ(FileErrorText(FileAction::Read, "rows.csv", ENOENT, Language::Chinese),
              "无法读取文件 rows.csv：文件不存在");
    EXPECT_EQ(FileErrorText(FileAction::Write, "out.html", ENOSPC, Language::English),
              "cannot write out.html: No space left on device");
    EXPECT_EQ(FileErrorText(FileAction::Read, "/nonexistent/rows.csv", ENOENT, Language::English),
              "cannot read /nonexistent/rows.csv: No such file or directory");
    EXPECT_EQ(FileErrorText(FileAction::Write, "f", 0, Language::English),
              "cannot write f: input/output error");
}

}  // namespace
}  // namespace veltrane::views
