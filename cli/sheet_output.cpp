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

}  // namespace veltrane::cli
