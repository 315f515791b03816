#!/usr/bin/env python3
# -*- coding: utf-8 -*-
"""The modules' documentation as ansible-doc reads it, held against what the modules take."""

import ast
import json
import os
import subprocess
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
COLLECTION = HERE.parents[1]
COLLECTIONS = HERE.parents[4]  # the folder that holds ansible_collections/
MODULES = ("profile", "info")
ENV = dict(os.environ, ANSIBLE_COLLECTIONS_PATH=str(COLLECTIONS), ANSIBLE_NOCOLOR="1")


def argument_spec(module):
    tree = ast.parse((COLLECTION / "plugins/modules" / (module + ".py")).read_text(encoding="utf-8"))
    for node in tree.body:
        if isinstance(node, ast.Assign) and node.targets[0].id == "ARGUMENT_SPEC":
            return ast.literal_eval(node.value)
    raise AssertionError("%s has no ARGUMENT_SPEC" % module)


def ansible_doc(*args):
    return subprocess.run(["ansible-doc"] + list(args), env=ENV, capture_output=True, text=True, timeout=300)


class Documentation(unittest.TestCase):
    def test_ansible_doc_shows_each_module(self):
        for module in MODULES:
            with self.subTest(module):
                run = ansible_doc("quillon.scanner." + module)
                self.assertEqual(run.returncode, 0, run.stderr)
                self.assertEqual(run.stderr.strip(), "")
                self.assertIn("QUILLON.SCANNER.%s" % module.upper(), run.stdout)
                for section in ("OPTIONS", "EXAMPLES", "RETURN VALUES"):
                    self.assertIn(section, run.stdout)

    def test_documented_options_are_the_options_taken(self):
        run = ansible_doc("--json", *("quillon.scanner." + module for module in MODULES))
        self.assertEqual(run.returncode, 0, run.stderr)
        docs = json.loads(run.stdout)
        for module in MODULES:
            with self.subTest(module):
                documented = docs["quillon.scanner." + module]["doc"]["options"]
                spec = argument_spec(module)
                self.assertEqual(sorted(documented), sorted(spec))
                for name, taken in spec.items():
                    for key in ("type", "elements", "default", "required"):
                        self.assertEqual(documented[name].get(key), taken.get(key), "%s %s" % (name, key))
                self.assertTrue(docs["quillon.scanner." + module]["return"])

    def test_examples_are_playbook_tasks(self):
        run = ansible_doc("--json", *("quillon.scanner." + module for module in MODULES))
        docs = json.loads(run.stdout)
        with tempfile.TemporaryDirectory() as folder:
            for module in MODULES:
                with self.subTest(module):
                    tasks = "\n".join("    " + line for line in docs["quillon.scanner." + module]["examples"]
                                      .splitlines())
                    play = Path(folder) / (module + ".yml")
                    play.write_text("- hosts: localhost\n  gather_facts: false\n  tasks:\n" + tasks + "\n",
                                    encoding="utf-8")
                    check = subprocess.run(["ansible-playbook", "--syntax-check", "-i", "localhost,", str(play)],
                                           env=ENV, capture_output=True, text=True, timeout=300, cwd=folder)
                    self.assertEqual(check.returncode, 0, check.stdout + check.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
