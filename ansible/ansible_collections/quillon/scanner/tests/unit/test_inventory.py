# -*- coding: utf-8 -*-
"""The scanner facts made of ports --json and version --json."""

import unittest

from ansible_collections.quillon.scanner.plugins.module_utils.inventory import (
    chosen_ports, found_ports, scanner, version_record)
from ansible_collections.quillon.scanner.plugins.module_utils.provisioning import BadOptions

TILL = {"name": "COM3", "path": "/dev/ttyUSB0", "description": "USB Serial",
        "identity": "/dev/serial/by-id/usb-Scanner_0001-if00"}
SIM = {"name": "COM9", "path": "/dev/pts/4", "description": "", "identity": ""}
FOUND = [TILL, SIM]
VERSION = {"port": "COM3",
           "fields": [{"code": "C1", "name": "firmware_version", "caption": "固件版本：", "value": "V1.02"}],
           "named": {"firmware_version": "V1.02"}}


class Ports(unittest.TestCase):
    def test_chosen_by_name_path_or_identity(self):
        for wanted, expected in [
            (["all"], FOUND),
            ([], FOUND),
            (["COM9"], [SIM]),
            (["/dev/ttyUSB0"], [TILL]),
            (["/dev/serial/by-id/usb-Scanner_0001-if00"], [TILL]),
            (["COM9", "COM3"], [SIM, TILL]),
            (["COM3", "/dev/ttyUSB0"], [TILL]),  # one port named twice is looked at once
        ]:
            with self.subTest(wanted=wanted):
                self.assertEqual(chosen_ports(FOUND, wanted), expected)

    def test_an_empty_identity_names_no_port(self):
        with self.assertRaisesRegex(BadOptions, "no port  on this host; it has COM3, COM9"):
            chosen_ports(FOUND, [""])

    def test_a_port_the_host_lacks(self):
        with self.assertRaisesRegex(BadOptions, "no port COM4 on this host; it has COM3, COM9"):
            chosen_ports(FOUND, ["COM4"])
        with self.assertRaisesRegex(BadOptions, "it has none"):
            chosen_ports([], ["COM4"])

    def test_ports_document_checked(self):
        self.assertEqual(found_ports(FOUND), FOUND)
        for document, says in [
            ({"ports": FOUND}, "no list of ports"),
            (["COM9"], "no list of ports"),
            ([{"name": "COM9", "path": "/dev/pts/4"}], "without description, identity"),
        ]:
            with self.subTest(document=document):
                with self.assertRaisesRegex(ValueError, says):
                    found_ports(document)


class Facts(unittest.TestCase):
    def test_scanner_with_its_version(self):
        self.assertEqual(scanner(TILL, version_record(VERSION)), {
            "port": "COM3", "path": "/dev/ttyUSB0", "description": "USB Serial",
            "identity": "/dev/serial/by-id/usb-Scanner_0001-if00",
            "version": {"firmware_version": "V1.02"}, "version_fields": VERSION["fields"]})

    def test_scanner_unasked(self):
        self.assertEqual(scanner(SIM)["version"], {})
        self.assertEqual(scanner(SIM)["version_fields"], [])

    def test_version_of_an_older_quillon_cli_refused(self):
        # The shape version --json had before the JSON results: fields by code.
        for document in [{"C1": "V1.02", "width": 640}, [], {"fields": [], "named": []}]:
            with self.subTest(document=document):
                with self.assertRaisesRegex(ValueError, "too old"):
                    version_record(document)


if __name__ == "__main__":
    unittest.main()
