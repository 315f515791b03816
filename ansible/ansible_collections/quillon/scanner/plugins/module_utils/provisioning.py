# -*- coding: utf-8 -*-
# Copyright: Quillon developers
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
"""What the profile module asks of `quillon-cli apply` and what it makes of the answer."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json

# Outcomes of a port that did not end holding the profile, whatever the mode.
_BROKEN = ("failed", "interrupted")
ALL_PORTS = "all"


class BadOptions(Exception):
    """Options the module refuses before running anything."""


def port_arguments(ports):
    """--port arguments for the ports option: a list of names, or all."""
    names = [str(port).strip() for port in ports or []]
    if not names or any(not name for name in names):
        raise BadOptions("ports must name at least one port (COMn or a device path), or be all")
    if ALL_PORTS in names and len(names) > 1:
        raise BadOptions("ports is either all or a list of ports, not both: %s" % ", ".join(names))
    if len(set(names)) != len(names):
        raise BadOptions("ports names a port twice: %s" % ", ".join(names))
    arguments = []
    for name in names:
        arguments += ["--port", name]
    return arguments


def profile_text(content):
    """The profile to pass on standard input: content as given, or a mapping as JSON."""
    if isinstance(content, (dict, list)):
        return json.dumps(content, ensure_ascii=False, indent=2) + "\n"
    text = str(content)
    if not text.strip():
        raise BadOptions("content is empty: give the profile itself, as quillon-cli read -o writes it")
    return text


def apply_arguments(profile, ports, check_mode, jobs=None, catalogue=None):
    """The apply command; profile is a path, or "-" for the profile on standard input."""
    arguments = ["apply", profile] + port_arguments(ports) + ["--json"]
    if check_mode:
        arguments.append("--dry-run")
    if jobs is not None:
        if jobs < 1:
            raise BadOptions("jobs must be 1 or more, not %d" % jobs)
        arguments += ["--jobs", str(jobs)]
    if catalogue:
        arguments += ["--catalogue", catalogue]
    return arguments


def _count(ports):
    return "1 port" if len(ports) == 1 else "%d ports" % len(ports)


def _shown(value):
    return "(not reported)" if value is None else value


def _setting_line(difference, side):
    return "%s %s: %s\n" % (difference["code"], difference["setting"], _shown(difference[side]))


def port_diff(port):
    """The settings a port is to change, before and after, as Ansible shows a diff; None when none."""
    changes = port.get("changes") or []
    if not changes:
        return None
    return {
        "before_header": "%s (device)" % port["port"],
        "after_header": "%s (profile)" % port["port"],
        "before": "".join(_setting_line(change, "device") for change in changes),
        "after": "".join(_setting_line(change, "profile") for change in changes),
    }


def _trouble(port, check_mode):
    """Why a port did not end as the run should leave it, or None."""
    outcome = port.get("outcome")
    if outcome in _BROKEN:
        return port.get("reason") or outcome
    if outcome == "differs" and not check_mode:
        codes = " ".join(difference["code"] for difference in port.get("differences") or [])
        return port.get("reason") or "still differs after writing: %s" % codes
    if outcome not in ("ok", "differs"):
        return "unknown outcome %r" % (outcome,)
    return None


class ApplyResult:
    """What one apply run did, seen from Ansible."""

    def __init__(self, document, check_mode):
        if not isinstance(document, dict) or not isinstance(document.get("ports"), list):
            raise ValueError("apply --json printed no list of ports: %s" % json.dumps(document)[:200])
        self.check_mode = check_mode
        self.ports = document["ports"]
        for port in self.ports:
            port.setdefault("changes", [])
            port.setdefault("written", [])
            port.setdefault("differences", [])

    @property
    def changed(self):
        """Something was written, or with check mode something would be."""
        if self.check_mode:
            return any(port["changes"] for port in self.ports)
        return any(port["written"] for port in self.ports)

    @property
    def failures(self):
        """(port, reason) of every port that failed."""
        found = []
        for port in self.ports:
            reason = _trouble(port, self.check_mode)
            if reason is not None:
                found.append((port["port"], reason))
        return found

    @property
    def diff(self):
        return [shown for shown in (port_diff(port) for port in self.ports) if shown]

    def message(self):
        failures = self.failures
        if failures:
            return "%d of %s not provisioned: %s" % (
                len(failures), _count(self.ports), "; ".join("%s: %s" % failure for failure in failures))
        key = "changes" if self.check_mode else "written"
        touched = [port["port"] for port in self.ports if port[key]]
        if not touched:
            return "%s already held the profile" % _count(self.ports)
        return "%d of %s %s: %s" % (len(touched), _count(self.ports),
                                    "would change" if self.check_mode else "changed", ", ".join(touched))
