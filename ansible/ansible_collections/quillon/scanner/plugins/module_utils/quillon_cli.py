# -*- coding: utf-8 -*-
# Copyright: Quillon developers
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
"""Running quillon-cli and reading its JSON results.

Free of Ansible, so that its rules are tested without a controller: the
modules hand it a function that runs a command.
"""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import re

# The options each module needs, by sub-command, as its --help lists them.
# A quillon-cli from before the JSON results has apply without --json and
# ports without --json (its version --json printed another shape, so the
# shape of that result is checked where it is read).
# A catalogue of one's own needs --catalogue of the verbs that talk to a device.
def _catalogue(with_catalogue):
    return ("--catalogue",) if with_catalogue else ()


def profile_needs(with_catalogue):
    return (("apply", ("--json", "--dry-run") + _catalogue(with_catalogue)),)


def info_needs(with_catalogue):
    return (("ports", ("--json",)), ("version", ("--json",) + _catalogue(with_catalogue)))


_VERSION = re.compile(r"\bquillon-cli\s+(\d+(?:\.\d+)*)")
_OPTION = re.compile(r"(?<![\w-])--[a-z][a-z0-9-]*")


class CliRefused(Exception):
    """quillon-cli cannot serve the module: missing, not quillon-cli, or too old."""


class CliFailed(Exception):
    """A run of quillon-cli that gave no JSON result; the message says why."""

    def __init__(self, message, rc):
        super(CliFailed, self).__init__(message)
        self.rc = rc


def first_line(text):
    lines = [line.strip() for line in (text or "").splitlines() if line.strip()]
    return lines[0] if lines else ""


def parse_version(text):
    """The version number that `quillon-cli --version` prints, or None."""
    match = _VERSION.search(text or "")
    return match.group(1) if match else None


def listed_options(help_text):
    """The long options that a --help text names."""
    return set(_OPTION.findall(help_text or ""))


def reason_of(rc, err):
    """Why a run failed, in one line: its last complaint on standard error."""
    lines = [line.strip() for line in (err or "").splitlines() if line.strip()]
    if lines:
        return lines[-1]
    return "quillon-cli ended with status %d and no message" % rc


class QuillonCli:
    """One quillon-cli program.

    run(argv, data) runs a command and returns (status, stdout, stderr);
    data, when not None, is its standard input.
    """

    def __init__(self, path, run):
        self.path = path
        self._run = run
        self.version = None

    def require(self, needs):
        """Raises CliRefused unless the program is quillon-cli with every option of needs."""
        rc, out, err = self._run([self.path, "--version"], None)
        self.version = parse_version(out) if rc == 0 else None
        if self.version is None:
            raise CliRefused("%s is not a usable quillon-cli: --version gave %r (status %d)"
                             % (self.path, first_line(out) or first_line(err), rc))
        missing = []
        for verb, options in needs:
            rc, out, err = self._run([self.path, verb, "--help"], None)
            have = listed_options(out) if rc == 0 else set()
            missing.extend("%s %s" % (verb, option) for option in options if option not in have)
        if missing:
            raise CliRefused("quillon-cli %s (%s) is too old for this collection: it has no %s; "
                             "install a quillon-cli with JSON results"
                             % (self.version, self.path, ", ".join(missing)))

    def run_json(self, args, data=None):
        """(status, document, complaint) of a run that prints JSON; CliFailed when it printed none.

        The complaint is the last line on standard error ("" when there is none).
        """
        rc, out, err = self._run([self.path] + list(args), data)
        if out and out.strip():
            try:
                return rc, json.loads(out), reason_of(rc, err) if (err or "").strip() else ""
            except ValueError:
                raise CliFailed("quillon-cli %s printed no JSON result (status %d): %s"
                                % (args[0], rc, first_line(out)), rc)
        raise CliFailed(reason_of(rc, err), rc)
