#!/usr/bin/env python3
"""Tests of scripts/convert-label-templates on small template files written by each test."""

import csv
import importlib.machinery
import io
import os
import subprocess
import sys
import tempfile
import types
import unittest
from decimal import Decimal
from fractions import Fraction

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                      "scripts", "convert-label-templates")
loader = importlib.machinery.SourceFileLoader("convert_label_templates", SCRIPT)
convert = types.ModuleType(loader.name)
convert.__file__ = SCRIPT
loader.exec_module(convert)

US_TEMPLATES = """<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Avery" part="5160" size="US-Letter" _description="Address labels">
    <Meta category="mail"/>
    <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
      <Layout nx="3" ny="10" x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="8160" equiv="5160"/>
  <Template brand="Avery" part="5931-Disc" size="US-Letter" _description="CD Labels">
    <Label-cd id="0" radius="2.3125in" hole="0.8125in">
      <Layout nx="1" ny="2" x0="1.9375in" y0="0.6875in" dx="0" dy="5in"/>
    </Label-cd>
  </Template>
  <Template brand="Avery" part="5931-Spine" size="US-Letter" _description="Spine Labels">
    <Label-rectangle id="0" width="0.21875in" height="4.6875in" round="0">
      <Layout nx="2" ny="1" x0="1in" y0="1in" dx="1in" dy="0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="5196" size="US-Letter" _description="Diskette
      labels">
    <Label-rectangle id="0" width="2.5in" height="2.75in" round="0.1in">
      <Layout nx="1" ny="3" x0="0.25in" y0="0.5in" dx="0" dy="3in"/>
      <Layout nx="2" ny="3" x0="3in" y0="0.5in" dx="2.5in" dy="3in"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="9998" size="US-Letter" _description="Too wide labels">
    <Label-rectangle id="0" width="3in" height="1in" round="0">
      <Layout nx="3" ny="1" x0="0.5in" y0="0.5in" dx="3in" dy="0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="9999" size="US-Letter" _description="Uneven labels">
    <Label-rectangle id="0" width="1in" height="1in" round="0">
      <Layout nx="2" ny="3" x0="0.5in" y0="0.5in" dx="1in" dy="1in"/>
      <Layout nx="2" ny="4" x0="4in" y0="0.5in" dx="1in" dy="1in"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>
"""

ISO_TEMPLATES = """<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Avery" part="7161" size="A4" _description="Mailing labels">
    <Meta category="mail"/>
    <Label-rectangle id="0" width="180.2" height="132.6" round="7">
      <Layout nx="3" ny="6" x0="21" y0="23" dx="186.9" dy="132.5"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="L7161" equiv="7161"/>
  <Template brand="Avery" part="J8161" equiv="7161"/>
</Glabels-templates>
"""

OTHER_TEMPLATES = """<?xml version="1.0"?>
<Glabels-templates xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Herma" part="4226" size="A4" _description="Address labels">
    <Meta category="mail"/>
    <Label-rectangle id="0" width="48.3mm" height="25.4mm" round="0">
      <Layout nx="4" ny="10" x0="8.4mm" y0="21.5mm" dx="48.3mm" dy="25.4mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Herma" part="4227" equiv="4226"/>
  <Template brand="Herma" part="4250" size="A4" _description="Address labels">
    <Alias brand="Herma" part="4251"/>
    <Alias brand="Sigel" part="LA250"/>
    <Label-rectangle id="0" width="70mm" height="36mm">
      <Layout nx="3" ny="8" x0="0" y0="4.5mm" dx="70mm" dy="36mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Herma" part="4300" size="A4" _description="Split sheet">
    <Label-rectangle id="0" width="90mm" height="40mm" round="2mm">
      <Layout nx="1" ny="3" x0="10mm" y0="20mm" dx="0" dy="50mm"/>
      <Layout nx="1" ny="3" x0="100mm" y0="20mm" dx="0" dy="50mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Herma" part="4301" size="A4" _description="Split sheet">
    <Label-rectangle id="0" width="90mm" height="40mm" round="2mm">
      <Layout nx="1" ny="3" x0="10mm" y0="20mm" dx="0" dy="50mm"/>
      <Layout nx="1" ny="3" x0="10mm" y0="20mm" dx="0" dy="50mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Dymo" part="11352" size="Other" width="25mm" height="54mm"
            _description="Return Address Labels">
    <Meta category="mail"/>
    <Label-rectangle id="0" width="25mm" height="54mm" round="0pt">
      <Layout nx="1" ny="1" x0="0pt" y0="0pt" dx="25mm" dy="54mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Online Labels" part="OL875" size="US-Letter"
            _description="Address labels, barcode labels, candy labels">
    <Label-ellipse id="0" width="2.5in" height="1.5in">
      <Layout nx="3" ny="6" x0="0.25in" y0="0.5in" dx="2.75in" dy="1.75in"/>
    </Label-ellipse>
  </Template>
  <Template brand="Pearl" part="A3-1" size="A3" _description="Big labels">
    <Label-rectangle id="0" width="100mm" height="50mm">
      <Layout nx="2" ny="7" x0="20mm" y0="20mm" dx="140mm" dy="55mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Pearl" part="Roll" size="Other" width="62mm" height="1000mm"
            _description="Continuous">
    <Label-continuous id="0" width="62mm"/>
  </Template>
  <Template brand="Pearl" part="Bad" size="Folio" _description="Unknown paper">
    <Label-round id="0" radius="20mm">
      <Layout nx="2" ny="2" x0="10mm" y0="10mm" dx="50mm" dy="50mm"/>
    </Label-round>
  </Template>
  <Template brand="Pearl" part="NoWidth" size="A4" _description="Missing width">
    <Label-rectangle id="0" height="20mm">
      <Layout nx="2" ny="2" x0="10mm" y0="10mm" dx="50mm" dy="50mm"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>
"""

# The same Herma product in a second file, with other measures: kept once, from the first file.
REPEAT_TEMPLATES = """<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Herma" part="4226" size="A4" _description="Address labels">
    <Label-rectangle id="0" width="48mm" height="25mm" round="0">
      <Layout nx="4" ny="10" x0="8mm" y0="21mm" dx="48.3mm" dy="25.4mm"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>
"""

HEADER = ",".join(convert.COLUMNS)
EXTRA_ROW = ("Costar 30252  Address,LP,1.125,3.500,1,1,0.000,0.000,3.500,1.125,3.500,"
             "1.125,USERL,RR,COSTAR,ADDRESS/SHIPPING LABELS,0.000,0.000,,label printer roll")


class ConvertLabelTemplatesTest(unittest.TestCase):
    def run_converter(self, extra_rows):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        for name, text in (("avery-us-templates.xml", US_TEMPLATES),
                           ("avery-iso-templates.xml", ISO_TEMPLATES),
                           ("herma-iso-templates.xml", OTHER_TEMPLATES),
                           ("zz-repeat-templates.xml", REPEAT_TEMPLATES),
                           ("paper-sizes.xml", "<Glabels-paper-sizes/>")):
            with open(os.path.join(folder.name, name), "w") as handle:
                handle.write(text)
        extra = os.path.join(folder.name, "extra.csv")
        with open(extra, "w") as handle:
            handle.write("\n".join([HEADER] + extra_rows) + "\n")
        out = os.path.join(folder.name, "out.csv")
        result = subprocess.run([sys.executable, SCRIPT, "--templates", folder.name, "--extra",
                                 extra, "--out", out], capture_output=True, text=True)
        rows = {}
        result.csv_text = None
        if result.returncode == 0:
            with open(out, newline="") as handle:
                result.csv_text = handle.read()
            rows = {row["DESCRIPT"]: row for row in csv.DictReader(io.StringIO(result.csv_text))}
        return result, rows

    def test_lengths_in_any_unit_become_inches_rounded_half_to_even(self):
        self.assertEqual(convert.inches("2.625in", ""), Fraction(21, 8))
        self.assertEqual(convert.inches("25.4mm", ""), 1)
        self.assertEqual(convert.inches("72", ""), 1)
        self.assertEqual(convert.inches("11.in", ""), 11)
        self.assertEqual(convert.inches("2.54cm", ""), 1)
        self.assertEqual(convert.inches("6pc", ""), 1)
        # The database writes a few lengths with an exponent; 9 decimals are kept.
        self.assertEqual(convert.inches("3.93386e-16pt", ""), 0)
        self.assertEqual(convert.inches("1.5e1mm", ""), convert.inches("15mm", ""))
        for bad in ("3 furlongs", "", "1.2.3in", "e5in"):
            with self.assertRaises(convert.ConvertError):
                convert.inches(bad, "")
        with self.assertRaises(convert.ConvertError):
            convert.inches("1001in", "")  # a length above 1000 in
        self.assertEqual(convert.three_decimals(Fraction(5, 32)), "0.156")  # 0.15625
        self.assertEqual(convert.three_decimals(Fraction(15, 16)), "0.938")
        # Halves go to the even neighbour, from the exact value: 1/16 in is 0.0625 exactly.
        self.assertEqual(convert.three_decimals(Fraction(1, 16)), "0.062")
        self.assertEqual(convert.three_decimals(Fraction(3, 16)), "0.188")
        self.assertEqual(convert.three_decimals(convert.inches("210mm", "")), "8.268")

    def test_printer_maker_and_product_group_codes(self):
        for part, code in (("5160", "LJ"), ("15160", "LJ"), ("8160", "IJ"), ("18160", "IJ"),
                           ("3274.1", "IJ"), ("L7160", "LJ"), ("J8160", "IJ"),
                           ("5199-Face", "LJ")):
            self.assertEqual(convert.printer_code("Avery", part, False), code, part)
        # Other makers' numbers say nothing about the printer; label-printer stock is "LP".
        self.assertEqual(convert.printer_code("Herma", "8160", False), "LJ")
        self.assertEqual(convert.printer_code("Dymo", "99010", True), "LP")
        for brand, maker in (("Avery", "AVERY"), ("Herma", "Herma"), ("Worldlabel", "Worldlabel"),
                             ("Online Labels", "OnlineLbls"), ("SheetLabels", "SheetLbls"),
                             ("Some Long Maker", "Some Long")):
            self.assertEqual(convert.maker_name(brand), maker, brand)
        for description, categories, group in (
                ("Diskette Labels", set(), "DISKETTE LABELS"),
                ("Filing Labels", set(), "FILE FOLDER LABELS"),
                ("Index Cards", set(), "INDEX PRODUCTS"),
                ("Name Badge Labels", set(), "MISCELLANEOUS"),
                ("Rectangular", {"name-badge", "mail"}, "MISCELLANEOUS"),
                ("Business Cards", {"business-card"}, "CARD PRODUCTS"),
                ("Return Address Labels", set(), "ADDRESS/SHIPPING LABELS"),
                ("Mini Labels", {"mail"}, "ADDRESS/SHIPPING LABELS"),
                ("Round Labels", {"label"}, "MISCELLANEOUS")):
            self.assertEqual(convert.product_group(description, categories), group, description)

    def test_picker_names_and_descriptions(self):
        self.assertEqual(convert.picker_name("Address labels"), "Address")
        self.assertEqual(convert.picker_name("Jar labels, candle labels"), "Jar")
        # Not a list of uses: kept whole.
        self.assertEqual(convert.picker_name("Binder Spine Inserts, for 1 inch binders"),
                         "Binder Spine Inserts, For 1 Inch Binders")
        self.assertEqual(convert.picker_name("Labels 29mm x 90mm"), "Labels 29mm x 90mm")
        long_kind = "Standard Address Labels 29mm x 90mm (Old)"
        description = convert.description_for("Brother", "DK-11201-old", long_kind)
        self.assertEqual(description, "Brother DK-11201-old  Standard Address Labels 29mm x 90mm")
        self.assertLessEqual(len(description), convert.DESCRIPT_WIDTH)

    def test_sheets_equivalents_and_what_is_left_out(self):
        result, rows = self.run_converter([EXTRA_ROW])
        self.assertEqual(result.returncode, 0, result.stderr)
        row = rows["Avery 5160  Address"]
        self.assertEqual((row["LEFTMARG"], row["HORIZPITCH"], row["NBRACROSS"], row["NBRDOWN"]),
                         ("0.156", "2.781", "3", "10"))
        self.assertEqual(row["PRINTER"], "LJ")
        twin = rows["Avery 8160  Address"]
        self.assertEqual(twin["PRINTER"], "IJ")
        self.assertEqual(twin["LEFTMARG"], "0.156")
        self.assertIn("Costar 30252  Address", rows)
        # The A4 family entry names no product; its L and J equivalents are listed.
        self.assertNotIn("Avery 7161  Mailing", rows)
        self.assertEqual(rows["Avery L7161  Mailing"]["PAPERSIZE"], "A4")
        # A label a hair taller than its pitch touches the next one: cut to the pitch.
        self.assertEqual(rows["Avery L7161  Mailing"]["LBLHEIGHT"],
                         rows["Avery L7161  Mailing"]["VERTPITCH"])
        self.assertIn("5931-Disc: Label-cd cannot be described", result.stderr)
        self.assertIn("5931-Spine: label smaller", result.stderr)
        self.assertIn("9999: layout blocks do not form one grid", result.stderr)
        self.assertIn("9998: the labels run off the sheet", result.stderr)
        self.assertEqual(list(rows), sorted(rows, key=str.upper))

    def test_two_blocks_with_a_middle_gap_become_one_grid(self):
        result, rows = self.run_converter([])
        self.assertEqual(result.returncode, 0, result.stderr)
        row = rows["Avery 5196  Diskette"]  # joined onto one line, "labels" dropped
        # 1 + 2 columns: the first block does not hold half of 3 columns (3 div 2 = 1 does).
        self.assertEqual((row["NBRACROSS"], row["NBRDOWN"]), ("3", "3"))
        self.assertEqual(row["HORIZPITCH"], "2.500")
        self.assertEqual(row["MIDEXTRAX"], "0.250")  # 3 - 0.25 - 2.5
        self.assertEqual(row["MIDEXTRAY"], "0.000")
        self.assertEqual(row["PRODTYPE"], "DISKETTE LABELS")

    def test_every_makers_sheets_on_any_paper(self):
        result, rows = self.run_converter([])
        self.assertEqual(result.returncode, 0, result.stderr)
        herma = rows["Herma 4226  Address"]
        self.assertEqual(
            [herma[c] for c in ("PRINTER", "LBLHEIGHT", "LBLWIDTH", "NBRACROSS", "NBRDOWN",
                                "TOPMARG", "LEFTMARG", "HORIZPITCH", "VERTPITCH", "SHEETWIDTH",
                                "SHEETDEPTH", "PAPERSIZE", "LBLSHAPE", "MANUFAC", "PRODTYPE")],
            ["LJ", "1.000", "1.902", "4", "10", "0.846", "0.331", "1.902", "1.000", "8.268",
             "11.693", "A4", "SR", "Herma", "ADDRESS/SHIPPING LABELS"])
        # An equivalent number is a row of its own with its sheet's geometry.
        twin = rows["Herma 4227  Address"]
        self.assertEqual({c: twin[c] for c in convert.LENGTH_COLUMNS},
                         {c: herma[c] for c in convert.LENGTH_COLUMNS})
        # The older form's aliases are equivalents too, of any maker.
        for alias in ("Herma 4251  Address", "Sigel LA250  Address"):
            self.assertEqual(rows[alias]["LBLWIDTH"], "2.756")
            self.assertEqual(rows[alias]["NBRDOWN"], "8")
        self.assertEqual(rows["Sigel LA250  Address"]["MANUFAC"], "Sigel")
        # Two single columns side by side with an even step: one grid, no middle gap.
        split = rows["Herma 4300  Split Sheet"]
        self.assertEqual((split["NBRACROSS"], split["NBRDOWN"], split["HORIZPITCH"],
                          split["MIDEXTRAX"]), ("2", "3", "3.543", "0.000"))
        # A block repeated word for word adds nothing.
        self.assertEqual(rows["Herma 4301  Split Sheet"]["NBRACROSS"], "1")
        # Label-printer stock is turned so its long side runs across.
        dymo = rows["Dymo 11352  Return Address"]
        self.assertEqual((dymo["PRINTER"], dymo["PAPERSIZE"], dymo["LBLWIDTH"], dymo["LBLHEIGHT"],
                          dymo["SHEETWIDTH"], dymo["SHEETDEPTH"]),
                         ("LP", "USERL", "2.126", "0.984", "2.126", "0.984"))
        online = rows["Online Labels OL875  Address"]  # the first of a list of uses
        self.assertEqual((online["MANUFAC"], online["LBLSHAPE"], online["PAPERSIZE"]),
                         ("OnlineLbls", "EL", "LTR"))
        a3 = rows["Pearl A3-1  Big"]
        self.assertEqual((a3["PAPERSIZE"], a3["SHEETWIDTH"], a3["SHEETDEPTH"]),
                         ("USERP", "11.693", "16.535"))
        for line in ("Pearl Roll: Label-continuous cannot be described (a continuous roll)",
                     "Pearl Bad: paper size 'Folio' is not known",
                     "Pearl NoWidth: the label width is missing",
                     "zz-repeat-templates.xml: Herma 4226  Address: listed again with other "
                     "measures; the row of herma-iso-templates.xml is kept"):
            self.assertIn(line, result.stderr)
        self.assertIn("1 continuous rolls", result.stderr)
        self.assertIn("1 products listed twice", result.stderr)

    def test_the_same_input_gives_the_same_bytes(self):
        first, _ = self.run_converter([EXTRA_ROW])
        second, _ = self.run_converter([EXTRA_ROW])
        self.assertEqual(first.returncode, 0, first.stderr)
        self.assertEqual(first.csv_text, second.csv_text)
        self.assertEqual(first.stderr, second.stderr)

    def test_a_bad_hand_kept_row_stops_the_run_naming_the_row(self):
        bad = EXTRA_ROW.replace(",LP,", ",XX,")
        result, _ = self.run_converter([bad])
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("Costar 30252  Address", result.stderr)
        self.assertIn("printer code", result.stderr)
        overlapping = EXTRA_ROW.replace(",1,1,0.000,0.000,3.500,", ",2,1,0.000,0.000,3.000,")
        result, _ = self.run_converter([overlapping])
        self.assertIn("horizontal pitch below the label width", result.stderr)


INSTALLED_TEMPLATES = next((d for d in convert.DEFAULT_TEMPLATE_DIRS
                            if os.path.exists(os.path.join(d, "avery-us-templates.xml"))), None)


@unittest.skipUnless(INSTALLED_TEMPLATES, "no glabels template database installed")
class CommittedDataTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        """Two runs over the installed database (Debian 12's glabels-data 3.4.1)."""
        cls.runs = []
        with tempfile.TemporaryDirectory() as folder:
            for run in range(2):
                out = os.path.join(folder, f"run{run}.csv")
                result = subprocess.run([sys.executable, SCRIPT, "--templates",
                                         INSTALLED_TEMPLATES, "--out", out],
                                        capture_output=True, text=True)
                made = None
                if result.returncode == 0:
                    with open(out, "rb") as handle:
                        made = handle.read()
                cls.runs.append((result, made))

    def test_the_whole_database_counts_and_reproduces(self):
        """How many rows and layouts the converter writes and how many templates it leaves out,
        by reason, and the same bytes on the second run."""
        (first, made), (second, made_again) = self.runs
        self.assertEqual(first.returncode, 0, first.stderr)
        self.assertEqual(made, made_again)
        self.assertEqual(first.stderr, second.stderr)
        self.assertEqual(first.stderr.splitlines()[-6:], [
            "1544 rows written (990 layouts of the template files, 18 hand-kept rows); "
            "230 templates left out",
            "  144 disc labels",
            "  18 family entries without a product number",
            "  37 labels below the minimum size",
            "  16 other faults",
            "  15 unequal grids"])
        rows = list(csv.DictReader(io.StringIO(made.decode("utf-8"))))
        self.assertEqual(len(rows), 1544)
        makers = {row["MANUFAC"] for row in rows}
        self.assertTrue({"AVERY", "Herma", "Zweckform", "OnlineLbls", "SheetLbls", "Uline",
                         "Worldlabel", "Dymo", "Hisago"} <= makers, makers)
        # Both numbers of an equivalent pair are found through rows of their own.
        descriptions = {row["DESCRIPT"] for row in rows}
        self.assertTrue({"Avery 5160  Address", "Avery 8160  Address"} <= descriptions)

    def test_committed_csv_is_what_the_converter_makes(self):
        """Catches a hand edit of lbltpl.csv, or a change to the extra rows or the converter
        without regenerating."""
        result, made = self.runs[0]
        self.assertEqual(result.returncode, 0, result.stderr)
        committed = os.path.join(os.path.dirname(os.path.dirname(SCRIPT)), "resources",
                                 "sysdata", "lbltpl.csv")
        with open(committed, "rb") as kept:
            self.assertEqual(made, kept.read(),
                             "run scripts/convert-label-templates and commit its output")


if __name__ == "__main__":
    unittest.main()
