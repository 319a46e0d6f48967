// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheet_output.h"

#include "cli/output_file.h"
#include "sheet/html_writer.h"
#ifdef VELTRANE_CLI_PDF
#include "sheet_pdf/pdf_printer.h"
#endif

namespace veltrane::cli {

int SaveSheet(const CommandLine& c, const sheet::Document& doc, std::ostream& err) {
    if (c.html) {
        return SaveOutputFile(*c.html, sheet::WriteHtml(doc), c.force, err);
    }
#ifdef VELTRANE_CLI_PDF
    const sheet::PdfOutput pdf = sheet::PrintPdf(doc);
    if (!pdf.error.empty()) {
        err << "veltrane-calc: cannot write " << *c.pdf << ": " << pdf.error << '\n';
        return kExitWrite;
    }
    return SaveOutputFile(*c.pdf, pdf.bytes, c.force, err);
#else
    return UsageError(err, "this veltrane-calc was built without PDF output; use --html");
#endif
}

}  // namespace veltrane::cli
