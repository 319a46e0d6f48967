#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The DXF drawings read back with ezdxf: the layers, the U's bottom arc of
the catalogue's radius, the walls at its angle, the water at the run's
depths, the profile's polylines through the stations; ezdxf's audit finds
no error; hostile names come through as text.

Usage: dxf_readback.py VELTRANE-CALC
Exit 77 (skipped) where ezdxf is missing.
"""
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

try:
    import ezdxf
    from ezdxf.tools.text import plain_text  # noqa: F401 (present in every ezdxf used)
except ImportError:
    print("python3-ezdxf is missing: skipped")
    sys.exit(77)

CALC = os.path.abspath(sys.argv.pop(1))
LAYERS = {"断面", "水面", "标注", "文字"}
# The catalogue as its dimension table gives it: r (m), α (degrees), H (m).
SECTIONS = {"U60": (0.3, 7, 0.54), "U80": (0.4, 8, 0.64), "U100": (0.5, 9, 0.75),
            "U120": (0.6, 10, 0.9), "U140": (0.7, 11, 1.05)}
HOSTILE = "<script>\\U+0041 %%u \x01 " + "渠" * 3000


def decoded(text):
    """A DXF text with its \\U+XXXX escapes decoded, as CAD shows it."""
    out, i = [], 0
    while i < len(text):
        if text.startswith("\\U+", i):
            out.append(chr(int(text[i + 3:i + 7], 16)))
            i += 7
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


class DxfTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="veltrane-dxf-")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def read(self, name, args, stdin=None):
        path = os.path.join(self.folder, name + ".dxf")
        run = subprocess.run([CALC, *args, "--dxf", path], input=stdin, capture_output=True,
                             text=True)
        self.assertIn(run.returncode, (0, 1), run.stderr)
        document = ezdxf.readfile(path)
        auditor = document.audit()
        self.assertEqual([str(e) for e in auditor.errors], [])
        # ezdxf adds Defpoints, its layer for dimension points.
        self.assertEqual({decoded(layer.dxf.name) for layer in document.layers} - {"0", "Defpoints"},
                         LAYERS)
        return document, run.stdout

    def test_a_runs_section_from_the_catalogue_and_the_run(self):
        for size, (r, alpha, depth) in SECTIONS.items():
            document, out = self.read(size, ["--json", size, "0.15", "800", "0.017", "1.2"])
            run = json.loads(out)
            msp = document.modelspace()
            by_layer = lambda kind, layer: [e for e in msp.query(kind)
                                            if decoded(e.dxf.layer) == layer]
            arcs = by_layer("ARC", "断面")
            # The inner bottom and the slab's outer one, about the same centre.
            self.assertAlmostEqual(min(a.dxf.radius for a in arcs), r, places=9)
            inner = min(arcs, key=lambda a: a.dxf.radius)
            self.assertAlmostEqual((inner.dxf.start_angle + inner.dxf.end_angle) / 2 % 360, 270)
            self.assertAlmostEqual(inner.dxf.end_angle - inner.dxf.start_angle, 180 - 2 * alpha,
                                   places=6)
            walls = by_layer("LINE", "断面")
            tops = [w for w in walls if abs(w.dxf.end.y - depth) < 1e-9 and
                    abs(w.dxf.start.y - depth) > 1e-9]
            self.assertEqual(len(tops), 2)
            for w in tops:
                dx, dy = w.dxf.end.x - w.dxf.start.x, w.dxf.end.y - w.dxf.start.y
                self.assertAlmostEqual(math.degrees(math.atan2(abs(dx), abs(dy))), alpha, places=6)
            levels = sorted(round(w.dxf.start.y, 9) for w in by_layer("LINE", "水面"))
            self.assertEqual(levels, sorted([round(run["design"]["depth"], 9),
                                             round(run["check"]["depth"], 9)]))
            texts = {decoded(t.dxf.text) for t in msp.query("TEXT")}
            self.assertIn(size, texts)
            # The dimensions beside the section, as on paper.
            number = lambda v: ("%.3f" % v).rstrip("0").rstrip(".")
            for said in ("H = %s m" % number(depth), "r = %s m" % number(r), "α = %d°" % alpha):
                self.assertIn(said, texts)
            self.assertEqual(len([t for t in texts if t.startswith("δ = ") and t.endswith(" cm")]),
                             1)

    def test_a_users_section_by_its_dimensions(self):
        # An odd section given on the command line: r 0.45, α 12.5°, H 0.7,
        # no thickness: one arc (no slab), walls at α, the user's name.
        size = "U:r=0.45,alpha=12.5,H=0.7,name=现浇渠 <1>"
        document, out = self.read("user", ["--json", size, "0.3", "800", "0.015", "1.2"])
        run = json.loads(out)
        msp = document.modelspace()
        arcs = [a for a in msp.query("ARC") if decoded(a.dxf.layer) == "断面"]
        self.assertEqual([round(a.dxf.radius, 9) for a in arcs], [0.45])
        self.assertAlmostEqual(arcs[0].dxf.end_angle - arcs[0].dxf.start_angle, 155, places=6)
        # Without a slab the section is its inner line: the arc and the two walls.
        walls = [w for w in msp.query("LINE") if decoded(w.dxf.layer) == "断面"]
        self.assertEqual(len(walls), 2)
        for w in walls:
            self.assertAlmostEqual(max(w.dxf.start.y, w.dxf.end.y), 0.7, places=9)
            dx, dy = w.dxf.end.x - w.dxf.start.x, w.dxf.end.y - w.dxf.start.y
            self.assertAlmostEqual(math.degrees(math.atan2(abs(dx), abs(dy))), 12.5, places=6)
        levels = sorted(round(w.dxf.start.y, 9) for w in msp.query("LINE")
                        if decoded(w.dxf.layer) == "水面")
        self.assertEqual(levels, sorted([round(run["design"]["depth"], 9),
                                         round(run["check"]["depth"], 9)]))
        texts = {decoded(t.dxf.text) for t in msp.query("TEXT")}
        self.assertIn("现浇渠 <1>", texts)
        for said in ("H = 0.7 m", "r = 0.45 m", "α = 12.5°"):
            self.assertIn(said, texts)
        self.assertEqual([t for t in texts if t.startswith("δ")], [])

    def test_the_five_sections_of_fit(self):
        document, _ = self.read("fit", ["fit", "0.25", "500", "0.017", "1.2"])
        msp = document.modelspace()
        radii = sorted(round(a.dxf.radius, 9) for a in msp.query("ARC")
                       if decoded(a.dxf.layer) == "断面")
        self.assertEqual(radii[::2], [0.3, 0.4, 0.5, 0.6, 0.7])
        self.assertEqual({decoded(t.dxf.text) for t in msp.query("TEXT")} & set(SECTIONS),
                         set(SECTIONS))

    def test_the_profile_one_polyline_a_line(self):
        canal = ("name,length,size,slope,roughness,discharge,bed\n"
                 "\"%s\",600,U80,1000,0.015,0.3,10\n下段,400,U60,500,0.017,0.2,\n" % HOSTILE)
        document, out = self.read("profile", ["profile", "-", "--json", "--factor", "1.2"],
                                  canal)
        profile = json.loads(out)
        msp = document.modelspace()
        lines = {}
        for p in msp.query("LWPOLYLINE POLYLINE"):
            points = [(round(v[0], 4), round(v[1], 4)) for v in
                      (p.get_points("xy") if p.dxftype() == "LWPOLYLINE" else
                       [(v.dxf.location.x, v.dxf.location.y) for v in p.vertices])]
            lines.setdefault(decoded(p.dxf.layer), []).append(points)
        design, check = (f["stations"] for f in profile["flows"])
        self.assertEqual(len(lines["断面"]), 2)  # the bed and the top
        self.assertEqual(len(lines["水面"]), 2)  # Q and kQ
        expect = [[(s["chainage"], s[key]) for s in design] for key in ("bed", "top")]
        self.assertEqual(sorted(lines["断面"]), sorted(expect))
        water = [[(s["chainage"], s["level"]) for s in flow] for flow in (design, check)]
        self.assertEqual(sorted(lines["水面"]), sorted(water))
        texts = [decoded(t.dxf.text) for t in msp.query("TEXT")]
        # A name cut to the longest text CAD takes, as text: no code decoded.
        name = next(t for t in texts if t.startswith("<script>"))
        self.assertTrue(name.endswith("…"))
        self.assertTrue(HOSTILE.replace("\x01", "\ufffd").startswith(name[:-1]))
        self.assertGreater(len(name), 600)


if __name__ == "__main__":
    unittest.main(verbosity=2)
