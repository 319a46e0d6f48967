// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheet_output.h"

#include "cli/output_file.h"
#include "sheet/html_writer.h"
#ifdef VELTRANE_CLI_PDF
#include "sheet_pdf/docx_output.h"
#include "sheet_pdf/pdf_printer.h"
#endif

namespace veltrane::cli {

Step SaveSheet(const CommandLine& c, const sheet::Document& doc) {
    if (c.html) {
        return WriteOutputFile(*c.html, sheet::WriteHtml(doc), c.force);
    }
#ifdef VELTRANE_CLI_PDF
    if (c.docx) {
        const sheet::DocxOutput docx = sheet::WriteDocx(doc, sheet::NowIso8601());
        if (!docx.error.empty()) {
            return WriteError("cannot write " + *c.docx + ": " + docx.error);
        }
        return WriteOutputFile(*c.docx, docx.bytes, c.force);
    }
    const sheet::PdfOutput pdf = sheet::PrintPdf(doc);
    if (!pdf.error.empty()) {
        return WriteError("cannot write " + *c.pdf + ": " + pdf.error);
    }
    return WriteOutputFile(*c.pdf, pdf.bytes, c.force);
#else
    return UsageError("this veltrane-calc was built without PDF and Word output; use --html");
#endif
}

Step SaveCanal(const CommandLine& c, const std::vector<sheet::CanalRow>& rows,
               const std::vector<sheet::Block>& tail) {
    if (!c.html) {
        // Qt lays the PDF out from the whole document at once, so it is
        // built whole; its size grows with the number of reaches.
        sheet::Document doc = sheet::BuildCanal(rows);
        doc.blocks.insert(doc.blocks.end(), tail.begin(), tail.end());
        return SaveSheet(c, doc);
    }
    // Opened first: an existing FILE is said before the reaches are computed.
    OutputFile file;
    if (Step opened = file.Open(*c.html, c.force); !opened) {
        return opened;
    }
    Step written = Done{};
    sheet::HtmlWriter html([&](std::string_view piece) {
        written = file.Write(piece);
        return written.ok();
    });
    if (!sheet::BuildCanal(rows, html)) {
        return written;
    }
    for (const sheet::Block& block : tail) {
        if (!html.Add(block)) {
            return written;
        }
    }
    if (!html.End()) {
        return written;
    }
    return file.Commit();
}

}  // namespace veltrane::cli
