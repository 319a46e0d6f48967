// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pdf/pdf_printer.h"

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>
#include <span>

#include "sheet_pdf/sheet_pages.h"
#include "views/fonts.h"

namespace veltrane::sheet {

namespace {

// Qt's own notes (no runtime folder, fonts it falls back from) are not the
// user's business in a command-line tool; errors still get through.
void QuietNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    qInstallMessageHandler(QuietNotes);
    static int argc = 3;
    static char name[] = "veltrane-calc";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    static QGuiApplication app(argc, argv);
}

// The song faces the windows use, in the order the sheet's style names them.
void InstallFontSubstitutes() {
    QStringList faces;
    for (const auto& group : {std::span<const std::string_view>(views::kSongFaces).subspan(1),
                              std::span<const std::string_view>(views::kFallbackFaces)}) {
        for (std::string_view face : group) {
            faces << QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
        }
    }
    for (const QString& name :
         {QString::fromUtf8(views::kSongFaces[0].data(),
                            static_cast<qsizetype>(views::kSongFaces[0].size())),
          QStringLiteral("宋体")}) {
        QFont::insertSubstitutions(name, faces);
    }
}

}  // namespace

void PrepareQtPainting() {
    EnsureGuiApplication();
    InstallFontSubstitutes();
}

PdfOutput PrintPdf(const Document& document) {
    PrepareQtPainting();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromStdString(document.title));
        writer.setCreator(QStringLiteral("Veltrane"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return {{}, "the PDF could not be started"};
        }
        if (std::string error = PrintPages(document, writer, painter); !error.empty()) {
            return {{}, error};
        }
        painter.end();
    }
    buffer.close();
    if (buffer.data().isEmpty()) {
        return {{}, "the PDF could not be made"};
    }
    return {buffer.data().toStdString(), {}};
}

}  // namespace veltrane::sheet
