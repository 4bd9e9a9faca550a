#!/usr/bin/env python3
"""Tests of scripts/convert-label-templates on small template files written by each test."""

import csv
import importlib.machinery
import os
import subprocess
import sys
import tempfile
import types
import unittest
from decimal import Decimal

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

HEADER = ",".join(convert.COLUMNS)
EXTRA_ROW = ("Costar 30252  Address,LP,1.125,3.500,1,1,0.000,0.000,3.500,1.125,3.500,"
             "1.125,USERL,RR,COSTAR,ADDRESS/SHIPPING LABELS,0.000,0.000,,label printer roll")


class ConvertLabelTemplatesTest(unittest.TestCase):
    def run_converter(self, extra_rows):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        for name, text in (("avery-us-templates.xml", US_TEMPLATES),
                           ("avery-iso-templates.xml", ISO_TEMPLATES)):
            with open(os.path.join(folder.name, name), "w") as handle:
                handle.write(text)
        extra = os.path.join(folder.name, "extra.csv")
        with open(extra, "w") as handle:
            handle.write("\n".join([HEADER] + extra_rows) + "\n")
        out = os.path.join(folder.name, "out.csv")
        result = subprocess.run([sys.executable, SCRIPT, "--templates", folder.name, "--extra",
                                 extra, "--out", out], capture_output=True, text=True)
        rows = {}
        if result.returncode == 0:
            with open(out, newline="") as handle:
                rows = {row["DESCRIPT"]: row for row in csv.DictReader(handle)}
        return result, rows

    def test_lengths_in_any_unit_become_inches_rounded_half_to_even(self):
        self.assertEqual(convert.inches("2.625in", ""), Decimal("2.625"))
        self.assertEqual(convert.inches("25.4mm", ""), Decimal(1))
        self.assertEqual(convert.inches("72", ""), Decimal(1))
        self.assertEqual(convert.inches("11.in", ""), Decimal(11))
        self.assertEqual(convert.inches("1cm", "") * Decimal("2.54"), Decimal(1))
        with self.assertRaises(convert.ConvertError):
            convert.inches("3 furlongs", "")
        self.assertEqual(convert.three_decimals(Decimal("0.15625")), "0.156")
        self.assertEqual(convert.three_decimals(Decimal("0.9375")), "0.938")
        self.assertEqual(convert.three_decimals(Decimal(210) / Decimal("25.4")), "8.268")

    def test_printer_and_product_group_codes(self):
        for part, code in (("5160", "LJ"), ("15160", "LJ"), ("8160", "IJ"), ("18160", "IJ"),
                           ("3274.1", "IJ"), ("L7160", "LJ"), ("J8160", "IJ"),
                           ("5199-Face", "LJ")):
            self.assertEqual(convert.printer_code(part), code, part)
        for description, categories, group in (
                ("Diskette Labels", set(), "DISKETTE LABELS"),
                ("Filing Labels", set(), "FILE FOLDER LABELS"),
                ("Index Cards", set(), "INDEX PRODUCTS"),
                ("Name Badge Labels", set(), "MISCELLANEOUS"),
                ("Business Cards", {"business-card"}, "CARD PRODUCTS"),
                ("Return Address Labels", set(), "ADDRESS/SHIPPING LABELS"),
                ("Mini Labels", {"mail"}, "ADDRESS/SHIPPING LABELS"),
                ("Round Labels", {"label"}, "MISCELLANEOUS")):
            self.assertEqual(convert.product_group(description, categories), group, description)

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
                            if os.path.exists(os.path.join(d, convert.TEMPLATE_FILES[0]))), None)


@unittest.skipUnless(INSTALLED_TEMPLATES, "no glabels template database installed")
class CommittedDataTest(unittest.TestCase):
    def test_committed_csv_is_what_the_converter_makes(self):
        """Catches a hand edit of lbltpl.csv, or a change to the extra rows or the converter
        without regenerating."""
        repo = os.path.dirname(os.path.dirname(SCRIPT))
        committed = os.path.join(repo, "resources", "sysdata", "lbltpl.csv")
        with tempfile.TemporaryDirectory() as folder:
            out = os.path.join(folder, "lbltpl.csv")
            result = subprocess.run([sys.executable, SCRIPT, "--templates", INSTALLED_TEMPLATES,
                                     "--out", out], capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(out) as made, open(committed) as kept:
                self.assertEqual(made.read(), kept.read(),
                                 "run scripts/convert-label-templates and commit its output")


if __name__ == "__main__":
    unittest.main()
