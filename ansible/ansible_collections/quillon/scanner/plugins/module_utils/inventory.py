# -*- coding: utf-8 -*-
# Copyright: Quillon developers
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
"""The scanners of a host, from `quillon-cli ports --json` and `version --json`."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

from ansible_collections.quillon.scanner.plugins.module_utils.provisioning import ALL_PORTS, BadOptions

_PORT_KEYS = ("name", "path", "description", "identity")


def found_ports(document):
    """The ports listed by ports --json, each checked for the keys the facts are made of."""
    if not isinstance(document, list) or not all(isinstance(port, dict) for port in document):
        raise ValueError("ports --json printed no list of ports")
    for port in document:
        missing = [key for key in _PORT_KEYS if key not in port]
        if missing:
            raise ValueError("ports --json gave a port without %s: %r" % (", ".join(missing), port))
    return document


def chosen_ports(found, wanted):
    """The found ports that wanted names (COMn, device path or identity), in wanted's order; all for all."""
    if not wanted or list(wanted) == [ALL_PORTS]:
        return list(found)
    chosen = []
    for name in wanted:
        # A port without a stable identity has "" there, which names nothing.
        match = [port for port in found if name and name in (port["name"], port["path"], port["identity"])]
        if not match:
            raise BadOptions("no port %s on this host; it has %s"
                             % (name, ", ".join(port["name"] for port in found) or "none"))
        chosen.extend(port for port in match if port not in chosen)
    return chosen


def version_record(document):
    """(named fields, all fields) of version --json."""
    if not isinstance(document, dict) or not isinstance(document.get("fields"), list) \
            or not isinstance(document.get("named"), dict):
        raise ValueError("version --json printed no fields; quillon-cli is too old for this collection")
    return document["named"], document["fields"]


def scanner(port, version=None):
    """One scanner as the facts show it."""
    named, fields = version if version is not None else ({}, [])
    return {
        "port": port["name"],
        "path": port["path"],
        "description": port["description"],
        "identity": port["identity"],
        "version": named,
        "version_fields": fields,
    }
