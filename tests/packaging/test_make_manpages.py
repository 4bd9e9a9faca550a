#!/usr/bin/env python3
"""Tests of packaging/man/make-manpages against a stand-in tool whose help texts hold what roff
would misread.

    test_make_manpages.py PATH-TO-make-manpages
"""

import gzip
import os
import stat
import subprocess
import sys
import tempfile
import textwrap
import unittest

GENERATOR = None

FAKE_TOOL = textwrap.dedent("""\
    #!/bin/sh
    # A stand-in for quillmark-tool: the help of each command, or a failure on request.
    case "$*" in
      "--help") printf 'Usage: fake COMMAND\\n\\nCommands:\\n  alpha     first thing\\n  beta      second thing\\n\\n  --help  this text\\n' ;;
      "alpha --help") printf 'usage: quillmark-tool alpha one FILE (see --help)\\n       quillmark-tool alpha two|three X ... (see --help)\\n.starts with a dot\\n\\047starts with a quote\\nback\\\\slash --option \\303\\237\\n' ;;
      "alpha one --help") printf 'help of one\\n' ;;
      "alpha two --help") printf 'help of two\\n' ;;
      "alpha three --help") printf 'help of three\\n' ;;
      "beta --help") [ -n "$FAKE_FAIL" ] && { echo broken >&2; exit 3; }; printf 'beta help\\n' ;;
      *) echo "unexpected: $*" >&2; exit 2 ;;
    esac
    """)

SOURCE = textwrap.dedent("""\
    .\\" a comment before the first page is allowed
    @define shared
    .SH SHARED
    Shared text of @VERSION@.
    @end
    @page one
    .TH ONE 1
    @help quillmark-tool
    @commands
    @use shared
    @page two
    .TH TWO 1
    @use shared
    """)


class MakeManpagesTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.tool = os.path.join(self.dir.name, "tool")
        with open(self.tool, "w") as handle:
            handle.write(FAKE_TOOL)
        os.chmod(self.tool, stat.S_IRWXU)
        self.source = os.path.join(self.dir.name, "pages.man")
        self.write_source(SOURCE)
        self.out = os.path.join(self.dir.name, "out")

    def tearDown(self):
        self.dir.cleanup()

    def write_source(self, text):
        with open(self.source, "w") as handle:
            handle.write(text)

    def run_generator(self, **environment):
        env = dict(os.environ, **environment)
        return subprocess.run(
            [sys.executable, GENERATOR, "--source", self.source, "--tool", self.tool,
             "--program", self.tool, "--version", "9.8.7", "--out", self.out],
            capture_output=True, text=True, env=env)

    def page(self, name):
        with gzip.open(os.path.join(self.out, name + ".1.gz"), "rt", encoding="utf-8") as handle:
            return handle.read()

    def test_help_texts_are_escaped_so_roff_shows_them_as_written(self):
        result = self.run_generator()
        self.assertEqual(result.returncode, 0, result.stderr)
        page = self.page("one")
        # A leading dot or quote would be a request; a backslash an escape; a hyphen would not
        # copy as the option's minus sign; the sharp s is kept as a Unicode escape.
        self.assertIn("\\&.starts with a dot\n", page)
        self.assertIn("\\&'starts with a quote\n", page)
        self.assertIn("back\\eslash \\-\\-option \\[u00DF]\n", page)
        self.assertNotIn("\n.starts", page)

    def test_every_command_and_every_verb_with_its_own_help_gets_a_subsection(self):
        result = self.run_generator()
        self.assertEqual(result.returncode, 0, result.stderr)
        page = self.page("one")
        headings = [line for line in page.split("\n") if line.startswith(".SS")]
        self.assertEqual(headings, ['.SS alpha', '.SS "alpha one"', '.SS "alpha two"',
                                    '.SS "alpha three"', '.SS beta'])
        self.assertIn("First thing.", page)
        self.assertIn("help of three", page)

    def test_shared_blocks_and_the_version_reach_every_page(self):
        result = self.run_generator()
        self.assertEqual(result.returncode, 0, result.stderr)
        for name in ("one", "two"):
            self.assertIn(".SH SHARED\nShared text of 9.8.7.\n", self.page(name))
        self.assertNotIn("@", self.page("two"))

    def test_pages_are_the_same_bytes_on_every_run(self):
        self.assertEqual(self.run_generator().returncode, 0)
        with open(os.path.join(self.out, "one.1.gz"), "rb") as handle:
            first = handle.read()
        self.assertEqual(self.run_generator().returncode, 0)
        with open(os.path.join(self.out, "one.1.gz"), "rb") as handle:
            self.assertEqual(handle.read(), first)

    def test_a_failing_help_stops_the_build_and_writes_no_page(self):
        result = self.run_generator(FAKE_FAIL="1")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("beta --help exited with 3: broken", result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.out, "one.1.gz")))
        self.assertFalse(os.path.exists(os.path.join(self.out, "two.1.gz")))
        leftovers = os.listdir(self.out) if os.path.isdir(self.out) else []
        self.assertEqual(leftovers, [])

    def test_mistakes_in_the_source_are_named_with_their_line(self):
        self.write_source(SOURCE.replace("@use shared\n@page two", "@usr shared\n@page two"))
        result = self.run_generator()
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("pages.man:10: unknown directive @usr", result.stderr)
        self.write_source(SOURCE.replace("@end\n", ""))
        result = self.run_generator()
        self.assertIn("@define shared has no @end", result.stderr)


if __name__ == "__main__":
    GENERATOR = sys.argv.pop(1)
    unittest.main()
