// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_export.h"
#include "sheet_pdf/docx_output.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#include "views/file_errors.h"

namespace veltrane {

QString LastFolder::suggest(const QString& name) const {
    return folder_.isEmpty() ? name : QDir(folder_).filePath(name);
}

void LastFolder::remember(const QString& path) {
    if (!path.isEmpty()) {
        folder_ = QFileInfo(path).absolutePath();
    }
}

QString QtFileChooser::saveFileName(QWidget* parent, const QString& caption,
                                    const QString& suggestedName, const QString& filter) {
    const QString path =
        QFileDialog::getSaveFileName(parent, caption, last_.suggest(suggestedName), filter);
    last_.remember(path);
    return path;
}

QString QtFileChooser::openFileName(QWidget* parent, const QString& caption,
                                    const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, caption, last_.suggest({}), filter);
    last_.remember(path);
    return path;
}

QString SaveThroughDialog(QWidget* parent, AppServices services, const QString& caption,
                          const QString& suggestedName, const QString& filter,
                          const QByteArray& bytes) {
    const QString path = services.files.saveFileName(parent, caption, suggestedName, filter);
    if (path.isEmpty()) {
        return {};
    }
    // QSaveFile writes to a link's target and renames its file over whatever
    // stands at the path: a link to another folder's file, or a device. Both
    // are refused, as veltrane-calc refuses them; a dangling link too.
    const QFileInfo target(path);
    if (target.isSymLink() || (target.exists() && !target.isFile() && !target.isDir())) {
        services.prompter.notice(parent, QStringLiteral("Veltrane"),
                                 QString::fromStdString(views::NotAPlainFileText(
                                     path.toStdString(), target.isSymLink())));
        return {};
    }
    // Each step keeps the system's error number of its failure: Qt's own
    // error text says "未知错误" for a full disk. Unbuffered, because a
    // buffered QSaveFile (Qt 6.4) commits a file the system cut short (a full
    // disk, a size limit) and reports success; unbuffered, write() returns
    // the short count and the old file stays whole.
    QSaveFile file(path);
    int failure = 0;
    const auto step = [&failure](bool done) {
        if (!done && failure == 0) {
            failure = errno != 0 ? errno : EIO;
        }
        return done;
    };
    errno = 0;
    bool written = step(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    if (written) {
        errno = 0;
        written = step(file.write(bytes) == bytes.size());
    }
    if (written) {
        errno = 0;
        written = step(file.commit());
    }
    if (!written) {
        const std::string text = views::FileErrorText(views::FileAction::Write, path.toStdString(),
                                                      failure, views::Language::Chinese);
        services.prompter.notice(parent, QStringLiteral("Veltrane"), QString::fromStdString(text));
        return {};
    }
    return path;
}

QString SaveDocx(QWidget* parent, AppServices services, const QString& base,
                 const sheet::Document& document) {
    const sheet::DocxOutput out = sheet::WriteDocx(document, sheet::NowIso8601());
    if (!out.error.empty()) {
        services.prompter.notice(
            parent, QStringLiteral("Veltrane"),
            QStringLiteral("无法生成Word文件：") + QString::fromStdString(out.error));
        return {};
    }
    return SaveThroughDialog(
        parent, services, QStringLiteral("导出Word"), base + QStringLiteral(".docx"),
        QStringLiteral("Word (*.docx)"),
        QByteArray(out.bytes.data(), static_cast<qsizetype>(out.bytes.size())));
}

}  // namespace veltrane
