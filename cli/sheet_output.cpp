// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheet_output.h"

#include "cli/output_file.h"
#include "sheet/html_writer.h"
#ifdef VELTRANE_CLI_PDF
#include "sheet_pdf/pdf_printer.h"
#endif

namespace veltrane::cli {

Step SaveSheet(const CommandLine& c, const sheet::Document& doc) {
    if (c.html) {
        return WriteOutputFile(*c.html, sheet::WriteHtml(doc), c.force);
    }
#ifdef VELTRANE_CLI_PDF
    const sheet::PdfOutput pdf = sheet::PrintPdf(doc);
    if (!pdf.error.empty()) {
        return WriteError("cannot write " + *c.pdf + ": " + pdf.error);
    }
    return WriteOutputFile(*c.pdf, pdf.bytes, c.force);
#else
    return UsageError("this veltrane-calc was built without PDF output; use --html");
#endif
}

Step SaveCanal(const CommandLine& c, const std::vector<sheet::CanalRow>& rows) {
    if (!c.html) {
        // Qt lays the PDF out from the whole document at once, so it is
        // built whole; its size grows with the number of reaches.
        return SaveSheet(c, sheet::BuildCanal(rows));
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
    if (!sheet::BuildCanal(rows, html) || !html.End()) {
        return written;
    }
    return file.Commit();
}

}  // namespace veltrane::cli
