// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pdf/pdf_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>
#include <span>

#include "sheet_pdf/sheet_text_document.h"
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

// Prints one part from a new page on, laid out on its own so that the time
// stays linear in the reaches of a canal; false when a drawing is bad.
bool PrintPart(const Document& part, QPdfWriter& writer, QPainter& painter, bool& firstPage) {
    // Laid out in the writer's own units, so that text is measured as printed.
    SheetTextDocument sheet(part, &writer);
    if (!sheet.valid()) {
        return false;
    }
    QTextDocument& doc = sheet.document();
    const QRectF body = writer.pageLayout().paintRectPixels(writer.resolution());
    doc.setDocumentMargin(0);
    doc.setPageSize(body.size());
    for (int page = 0; page < doc.pageCount(); ++page) {
        if (!firstPage) {
            writer.newPage();
        }
        firstPage = false;
        painter.save();
        const double top = page * body.height();
        painter.translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, top, body.width(), body.height());
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return true;
}

}  // namespace

PdfOutput PrintPdf(const Document& document) {
    EnsureGuiApplication();
    InstallFontSubstitutes();

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
        bool firstPage = true;
        for (const Document& part : PageParts(document)) {
            if (!PrintPart(part, writer, painter, firstPage)) {
                return {{}, "a drawing could not be read"};
            }
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
