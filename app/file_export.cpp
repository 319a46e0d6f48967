// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_export.h"

#include <QFileDialog>
#include <QSaveFile>

namespace veltrane {

QString QtFileChooser::saveFileName(QWidget* parent, const QString& caption,
                                    const QString& suggestedName, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggestedName, filter);
}

QString SaveThroughDialog(QWidget* parent, AppServices services, const QString& caption,
                          const QString& suggestedName, const QString& filter,
                          const QByteArray& bytes) {
    const QString path = services.files.saveFileName(parent, caption, suggestedName, filter);
    if (path.isEmpty()) {
        return {};
    }
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        services.prompter.notice(
            parent, QStringLiteral("Veltrane"),
            QStringLiteral("无法保存文件 %1：%2").arg(path, file.errorString()));
        return {};
    }
    return path;
}

}  // namespace veltrane
