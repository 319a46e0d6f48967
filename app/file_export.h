// SPDX-License-Identifier: GPL-3.0-or-later
// Saving what a companion dialog shows: the system's save dialog, and a write
// that replaces a file atomically or leaves it whole.
#pragma once

#include <QByteArray>
#include <QString>

#include "app/seams.h"
#include "sheet/document.h"

class QWidget;

namespace veltrane {

// The folder of the last file chosen in the session, where the next save
// dialog opens; before any, the working folder.
class LastFolder {
  public:
    QString suggest(const QString& name) const;  // name in the last folder
    void remember(const QString& path);          // an empty path changes nothing

  private:
    QString folder_;
};

class QtFileChooser : public FileChooser {
  public:
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedName,
                         const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override;

  private:
    LastFolder last_;
};

// Asks for a file and writes bytes to it through QSaveFile: the new file
// replaces the old one only once it is whole. A failure is said in a box,
// with the reason. Returns the path written, or an empty text.
QString SaveThroughDialog(QWidget* parent, AppServices services, const QString& caption,
                          const QString& suggestedName, const QString& filter,
                          const QByteArray& bytes);

// 导出Word…: the sheet as a Word document, saved as SaveThroughDialog saves,
// named base.docx unless the user chooses otherwise. A document that could
// not be made is said in a box.
QString SaveDocx(QWidget* parent, AppServices services, const QString& base,
                 const sheet::Document& document);

}  // namespace veltrane
