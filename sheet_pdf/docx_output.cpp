// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pdf/docx_output.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <ctime>

#include "handoff/docx_parts.h"
#include "handoff/zip_package.h"
#include "sheet_pdf/pdf_printer.h"
#include "sheet_pdf/printed_drawing.h"

namespace veltrane::sheet {

namespace {

constexpr double kDotsPerInch = 300;

// The drawing at its printed width, 300 dpi, on white.
std::optional<handoff::DocxPicture> Picture(const Drawing& d) {
    const auto split = SplitDrawing(d.svg);
    if (split == nullptr) {
        return std::nullopt;
    }
    const QSizeF box = split->shapes->viewBoxF().size();
    if (!(box.width() > 0 && box.height() > 0)) {
        return std::nullopt;
    }
    const double widthMm = handoff::kTextWidthMm * std::clamp(d.printedWidth, 0.1, 1.0);
    const int width = static_cast<int>(std::lround(widthMm / 25.4 * kDotsPerInch));
    const int height =
        std::max(1, static_cast<int>(std::lround(width * box.height() / box.width())));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    // Labels sized in points come out at the drawing's scale.
    const int dotsPerMetre = static_cast<int>(std::lround(kDotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        split->Draw(painter, QRectF(0, 0, width, height));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return handoff::DocxPicture{
        .png = buffer.data().toStdString(), .pixelWidth = width, .pixelHeight = height};
}

}  // namespace

DocxOutput WriteDocx(const Document& document, const std::string& created) {
    PrepareQtPainting();
    std::vector<handoff::DocxPicture> pictures;
    for (const Block& block : document.blocks) {
        if (const auto* d = std::get_if<Drawing>(&block)) {
            auto picture = Picture(*d);
            if (!picture) {
                return {{}, "a drawing could not be rendered"};
            }
            pictures.push_back(std::move(*picture));
        }
    }
    const handoff::ZipOutput zip =
        handoff::ZipParts(handoff::DocxParts(document, pictures, created));
    return {zip.bytes, zip.error};
}

std::string NowIso8601() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buffer;
}

}  // namespace veltrane::sheet
