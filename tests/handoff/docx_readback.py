#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Word sheet read back with python-docx (and as a zip) against the HTML
sheet of the same run: every heading with Word's own heading style, every
table cell, the report's text, the footer's page fields; hostile texts as
text. With LibreOffice installed, the document also converts to a PDF of as
many pages as the PDF sheet has.

Usage: docx_readback.py VELTRANE-CALC
Exit 77 (skipped) where python-docx is missing.
"""
import html.parser
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

try:
    import docx
except ImportError:
    print("python3-docx is missing: skipped")
    sys.exit(77)

CALC = os.path.abspath(sys.argv.pop(1))
HOSTILE = "<b>&amp;\"' \x01 ]]> " + "长" * 10000
RUN = ["U60", "0.25", "500", "0.017", "1.2"]
CANAL = ("name,length,size,slope,roughness,discharge,bed,loss,level\n"
         "总干,600,U80,1000,0.015,0.3,10,,\n"
         "\"<i>支渠</i>&\",400,U60,500,0.017,0.2,,0.2,\n")


class Sheet(html.parser.HTMLParser):
    """The HTML sheet's headings, table cells (row by row) and <pre> text."""

    def __init__(self):
        super().__init__()
        self.headings, self.tables, self.pre = [], [], []
        self._text, self._in = None, None

    def handle_starttag(self, tag, attrs):
        if tag in ("h1", "h2", "h3", "td", "th", "pre"):
            self._text, self._in = [], tag
        elif tag == "table":
            self.tables.append([])
        elif tag == "tr":
            self.tables[-1].append([])

    def handle_data(self, data):
        if self._text is not None:
            self._text.append(data)

    def handle_endtag(self, tag):
        if tag != self._in:
            return
        text = "".join(self._text)
        if tag in ("td", "th"):
            self.tables[-1][-1].append(text)
        elif tag == "pre":
            self.pre.append(text)
        else:
            self.headings.append((int(tag[1]), text))
        self._text, self._in = None, None


def cell_text(cell):
    return "\n".join(p.text for p in cell.paragraphs)


class DocxTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="veltrane-docx-")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def make(self, name, args, stdin=None):
        """The sheet of args as .docx and as HTML, both by veltrane-calc."""
        paths = [os.path.join(self.folder, name + ext) for ext in (".docx", ".html")]
        for option, path in zip(("--docx", "--html"), paths):
            run = subprocess.run([CALC, *args, option, path, "--date", "2026年12月9日",
                                  "--project", HOSTILE], input=stdin, capture_output=True,
                                 text=True)
            self.assertIn(run.returncode, (0, 1), run.stderr)
        parser = Sheet()
        with open(paths[1], encoding="utf-8") as f:
            parser.feed(f.read())
        return paths[0], parser

    def check_same(self, path, sheet):
        document = docx.Document(path)
        headings = [(int(p.style.name.split()[-1]), p.text) for p in document.paragraphs
                    if p.style.name.startswith("Heading")]
        self.assertEqual(headings, sheet.headings)
        self.assertEqual([[[cell_text(c) for c in row.cells] for row in t.rows]
                          for t in document.tables], sheet.tables)
        # Word has no carriage return: the report's CR LF line ends are breaks.
        reports = [p.text for p in document.paragraphs if p.style.name == "Report"]
        self.assertEqual(reports, [t.replace("\r\n", "\n") for t in sheet.pre])
        return document

    def test_a_runs_sheet_is_the_html_sheets(self):
        path, sheet = self.make("run", ["sheet", *RUN, "--min-freeboard", "0.05"])
        document = self.check_same(path, sheet)
        # The built-in styles by Word's own names, so that templates take over.
        with zipfile.ZipFile(path) as z:
            self.assertIsNone(z.testzip())
            self.assertEqual(z.namelist()[0], "[Content_Types].xml")
            styles = z.read("word/styles.xml").decode()
            for level in (1, 2, 3):
                self.assertIn('<w:name w:val="heading %d"/>' % level, styles)
            footer = z.read("word/footer1.xml").decode()
            self.assertRegex(footer, r'第 .*w:instr=" PAGE ".* 页 共 .*w:instr=" NUMPAGES ".* 页')
            media = sorted(n for n in z.namelist() if n.startswith("word/media/"))
            self.assertEqual(media, ["word/media/drawing1.png", "word/media/drawing1.svg"])
            self.assertTrue(z.read(media[0]).startswith(b"\x89PNG"))
        self.assertEqual(len(document.inline_shapes), 1)
        # Header rows repeat on every page.
        self.assertIn("w:tblHeader", document.tables[-1].rows[0]._tr.xml)
        section = document.sections[0]
        self.assertEqual((round(section.page_width.mm), round(section.page_height.mm)), (210, 297))
        # The hostile project name is in a cell as text, whole.
        cells = [cell_text(c) for t in document.tables for r in t.rows for c in r.cells]
        self.assertIn(HOSTILE.replace("\x01", "\ufffd"), cells)

    def test_a_canals_profile_sheet_is_the_html_sheets(self):
        path, sheet = self.make("profile", ["profile", "-", "--factor", "1.2"], CANAL)
        document = self.check_same(path, sheet)
        self.assertEqual(len(document.inline_shapes), 1)
        self.assertIn("<i>支渠</i>&", [cell_text(c) for t in document.tables
                                        for r in t.rows for c in r.cells])

    def test_word_and_other_outputs_are_refused_together(self):
        for args, said in (
                (["sheet", *RUN, "--docx", "a.docx", "--pdf", "a.pdf"],
                 "sheet writes one file: give --html FILE, --pdf FILE or --docx FILE"),
                (["profile", "-", "--docx", "a.docx", "--html", "a.html"],
                 "choose one of --html, --pdf and --docx"),
                (["table", "U60", "500", "0.017", "--docx", "a.docx"],
                 "--docx goes with sheet, select-table and profile")):
            run = subprocess.run([CALC, *args], capture_output=True, text=True, input="")
            self.assertEqual(run.returncode, 2)
            self.assertEqual(run.stderr.splitlines()[0], "veltrane-calc: " + said)

    @unittest.skipUnless(shutil.which("soffice"), "LibreOffice is not installed")
    def test_libreoffice_prints_it_on_as_many_pages(self):
        path = os.path.join(self.folder, "pages.docx")
        ours = os.path.join(self.folder, "ours.pdf")
        for option, out in (("--docx", path), ("--pdf", ours)):
            made = subprocess.run([CALC, "sheet", *RUN, option, out], capture_output=True)
            self.assertIn(made.returncode, (0, 1), made.stderr)
        # Its own profile folder, so that no running LibreOffice is disturbed.
        subprocess.run(["soffice", "--headless", "--convert-to", "pdf", "--outdir", self.folder,
                        path], capture_output=True, check=True, timeout=300,
                       env=dict(os.environ, HOME=self.folder))

        def pages(pdf):
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True)
            return int(re.search(r"Pages:\s+(\d+)", info.stdout).group(1))
        # Another layout engine may break a page a little elsewhere.
        self.assertLessEqual(abs(pages(path[:-5] + ".pdf") - pages(ours)), 1)


if __name__ == "__main__":
    unittest.main(verbosity=2)
