// SPDX-License-Identifier: GPL-3.0-or-later
// Saving what a companion dialog shows: the system's save dialog, and a write
// that replaces a file atomically or leaves it whole.
#pragma once

#include <QByteArray>
#include <QString>

#include "app/seams.h"

class QWidget;

namespace veltrane {

class QtFileChooser : public FileChooser {
  public:
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedName,
                         const QString& filter) override;
};

// Asks for a file and writes bytes to it through QSaveFile: the new file
// replaces the old one only once it is whole. A failure is said in a box,
// with the reason. Returns the path written, or an empty text.
QString SaveThroughDialog(QWidget* parent, AppServices services, const QString& caption,
                          const QString& suggestedName, const QString& filter,
                          const QByteArray& bytes);

}  // namespace veltrane
