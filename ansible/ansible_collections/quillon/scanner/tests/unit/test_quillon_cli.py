# -*- coding: utf-8 -*-
"""Telling a usable quillon-cli from a missing, foreign or old one, and reading its JSON."""

import unittest

from ansible_collections.quillon.scanner.plugins.module_utils.quillon_cli import (
    CliFailed, CliRefused, QuillonCli, info_needs, listed_options, parse_version, profile_needs)

# apply --help of quillon-cli 1.0.0, from before the JSON results.
OLD_APPLY_HELP = (
    'Write a profile to one or more devices at once and check them.\n'
    'Usage: quillon-cli apply [OPTIONS] FILE\n'
    '\n'
    'Positionals:\n'
    "  FILE TEXT REQUIRED          the profile, as read -o or the window's 保存配置 writes it\n"
    '\n'
    'Options:\n'
    '  -h,--help                   Print this help message and exit\n'
    '  --port P ... REQUIRED       COMn or a device path; repeat it for more devices\n'
    "  --baud B:POSITIVE           line speed (default 115200, the port dialog's)\n"
    '  --timeout MS:POSITIVE       the longest wait for one exchange, in ms (default 3000)\n'
    '  --jobs N:POSITIVE           how many ports are worked at once (default: all)\n'
    '\n'
    'Reads and checks FILE first; a profile refused sends nothing to any port.  Then, on every port at '
    'once (at most --jobs at a time), connects, writes each setting and waits for its reply, reads '
    'every setting back and checks that the device reports each setting of the profile.  Prints one '
    'line per port as it ends, tab-separated: the port, the result (ok; differs: and the codes that '
    'differ; failed: and why), the settings written and the settings that differ after the check (- '
    "when it did not run).  A port that fails does not stop the others.  The line's own settings (baud "
    'rate, USB or serial mode) are written only when the device does not hold them yet, and last, after '
    'the check: the device answers them by changing the link, and the result says to connect again.\n'
    'Exit status: 0 every port holds the profile, 1 a port failed or differs, 2 wrong arguments or a '
    'refused profile (nothing is sent), 3 no port could be opened.\n'
)
NEW_APPLY_HELP = OLD_APPLY_HELP.replace(
    "  --jobs N", "  --json                      the results as JSON\n"
              "  --dry-run                   read and compare only, write nothing\n  --jobs N")


class Recorded:
    """Answers commands from a table: argv tuple -> (status, stdout, stderr)."""

    def __init__(self, answers):
        self.answers = answers
        self.asked = []

    def __call__(self, argv, data):
        self.asked.append((tuple(argv), data))
        return self.answers.get(tuple(argv), (109, "", "unknown command"))


def cli_with(answers):
    return QuillonCli("/usr/bin/quillon-cli", Recorded(answers))


class Version(unittest.TestCase):
    def test_parse(self):
        for text, expected in [
            ("quillon-cli 1.0.0\n", "1.0.0"),
            ("quillon-cli 1.10\n", "1.10"),
            ("quillon 1.0.0\n", None),
            ("", None),
            ("quillon-cli version unknown", None),
        ]:
            with self.subTest(text=text):
                self.assertEqual(parse_version(text), expected)

    def test_options_of_a_help_text(self):
        self.assertEqual(listed_options(OLD_APPLY_HELP), {"--help", "--port", "--baud", "--timeout", "--jobs"})
        self.assertIn("--dry-run", listed_options(NEW_APPLY_HELP))


class Require(unittest.TestCase):
    VERSION = {("/usr/bin/quillon-cli", "--version"): (0, "quillon-cli 1.1.0\n", "")}

    def test_usable(self):
        answers = dict(self.VERSION)
        answers[("/usr/bin/quillon-cli", "apply", "--help")] = (0, NEW_APPLY_HELP, "")
        cli = cli_with(answers)
        cli.require(profile_needs(False))
        self.assertEqual(cli.version, "1.1.0")

    def test_refused(self):
        for name, answers, says in [
            ("not quillon-cli", {("/usr/bin/quillon-cli", "--version"): (0, "Python 3.11.2\n", "")},
             r"/usr/bin/quillon-cli is not a usable quillon-cli: --version gave 'Python 3.11.2' \(status 0\)"),
            ("--version fails", {("/usr/bin/quillon-cli", "--version"): (127, "", "cannot execute\n")},
             r"--version gave 'cannot execute' \(status 127\)"),
            ("apply without --json", dict(self.VERSION) | {
                ("/usr/bin/quillon-cli", "apply", "--help"): (0, OLD_APPLY_HELP, "")},
             r"quillon-cli 1.1.0 \(/usr/bin/quillon-cli\) is too old for this collection: it has no "
             r"apply --json, apply --dry-run; install a quillon-cli with JSON results"),
            ("no apply at all", dict(self.VERSION), r"it has no apply --json, apply --dry-run"),
        ]:
            with self.subTest(name):
                with self.assertRaisesRegex(CliRefused, says):
                    cli_with(answers).require(profile_needs(False))

    def test_a_catalogue_of_ones_own_needs_apply_catalogue(self):
        answers = dict(self.VERSION)
        answers[("/usr/bin/quillon-cli", "apply", "--help")] = (0, NEW_APPLY_HELP, "")
        with self.assertRaisesRegex(CliRefused, r"it has no apply --catalogue; "):
            cli_with(answers).require(profile_needs(True))

    def test_info_needs_ports_and_version(self):
        answers = dict(self.VERSION)
        answers[("/usr/bin/quillon-cli", "ports", "--help")] = (0, "Options:\n  -h,--help\n", "")
        answers[("/usr/bin/quillon-cli", "version", "--help")] = (0, "Options:\n  --port P\n  --json\n", "")
        with self.assertRaisesRegex(CliRefused, r"it has no ports --json; "):
            cli_with(answers).require(info_needs(False))
        with self.assertRaisesRegex(CliRefused, r"it has no ports --json, version --catalogue; "):
            cli_with(answers).require(info_needs(True))


class RunJson(unittest.TestCase):
    ARGS = ("apply", "-", "--port", "COM9", "--json")

    def run_with(self, answer, data=None):
        recorded = Recorded({("/usr/bin/quillon-cli",) + self.ARGS: answer})
        result = QuillonCli("/usr/bin/quillon-cli", recorded).run_json(list(self.ARGS), data)
        return result, recorded

    def test_document_status_and_complaint(self):
        for answer, expected in [
            ((0, '{"ports": []}\n', ""), (0, {"ports": []}, "")),
            ((1, '{"ports": []}', "warning\nquillon-cli apply: COM9 lost\n"), (1, {"ports": []}, "quillon-cli apply: COM9 lost")),
            ((3, '[]', "   \n"), (3, [], "")),
        ]:
            with self.subTest(answer=answer):
                self.assertEqual(self.run_with(answer)[0], expected)

    def test_profile_goes_to_standard_input(self):
        _, recorded = self.run_with((0, "{}", ""), data='{"format": "quillon-profile"}')
        self.assertEqual(recorded.asked[0][1], '{"format": "quillon-profile"}')

    def test_no_json(self):
        for answer, says, rc in [
            ((2, "", "quillon-cli apply: p.json:6: option 61820000 refuses the value \"70000\"\n"),
             r'^quillon-cli apply: p.json:6: option 61820000 refuses the value "70000"$', 2),
            ((1, "", ""), r"^quillon-cli ended with status 1 and no message$", 1),
            ((0, "COM9\tok\t3 written\t0 differ\n", ""), r"apply printed no JSON result \(status 0\): COM9\tok", 0),
        ]:
            with self.subTest(answer=answer):
                with self.assertRaisesRegex(CliFailed, says) as caught:
                    self.run_with(answer)
                self.assertEqual(caught.exception.rc, rc)


if __name__ == "__main__":
    unittest.main()
