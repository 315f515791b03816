# -*- coding: utf-8 -*-
"""The apply command the profile module builds and what it makes of apply's JSON."""

import json
import unittest

from ansible_collections.quillon.scanner.plugins.module_utils.provisioning import (
    ApplyResult, BadOptions, apply_arguments, port_arguments, port_diff, profile_text)

TIME = {"code": "61820000", "setting": "单次读码时间", "device": "2000", "profile": "3000"}
MODE = {"code": "414201", "setting": "读码模式", "device": None, "profile": "连续模式"}


def port(name, outcome, changes=(), written=(), differences=(), reason=None):
    entry = {"port": name, "outcome": outcome, "changes": list(changes), "written": list(written),
             "differences": list(differences)}
    if reason is not None:
        entry["reason"] = reason
    return entry


class PortArguments(unittest.TestCase):
    def test_names_and_all(self):
        for ports, expected in [
            (["COM9"], ["--port", "COM9"]),
            (["COM9", "/dev/ttyUSB0"], ["--port", "COM9", "--port", "/dev/ttyUSB0"]),
            ([" COM9 "], ["--port", "COM9"]),
            (["all"], ["--port", "all"]),
        ]:
            with self.subTest(ports=ports):
                self.assertEqual(port_arguments(ports), expected)

    def test_refused(self):
        for ports, says in [
            ([], "at least one port"),
            (None, "at least one port"),
            (["COM9", ""], "at least one port"),
            (["all", "COM9"], "not both"),
            (["COM9", "COM9"], "twice"),
        ]:
            with self.subTest(ports=ports):
                with self.assertRaisesRegex(BadOptions, says):
                    port_arguments(ports)


class ApplyArguments(unittest.TestCase):
    def test_options_become_arguments(self):
        for call, expected in [
            (("p.json", ["COM9"], False), ["apply", "p.json", "--port", "COM9", "--json"]),
            (("-", ["COM9"], True), ["apply", "-", "--port", "COM9", "--json", "--dry-run"]),
            (("p.json", ["COM9", "COM10"], False, 1, "/etc/quillon/all.xml"),
             ["apply", "p.json", "--port", "COM9", "--port", "COM10", "--json", "--jobs", "1",
              "--catalogue", "/etc/quillon/all.xml"]),
        ]:
            with self.subTest(call=call):
                self.assertEqual(apply_arguments(*call), expected)

    def test_jobs_below_one_refused(self):
        with self.assertRaisesRegex(BadOptions, "jobs must be 1 or more, not 0"):
            apply_arguments("p.json", ["COM9"], False, 0)


class ProfileText(unittest.TestCase):
    def test_mapping_becomes_json_and_text_stays(self):
        mapping = {"format": "quillon-profile", "version": 1, "settings": [{"code": "51C10000", "value": "条码"}]}
        text = profile_text(mapping)
        self.assertEqual(json.loads(text), mapping)
        self.assertIn("条码", text)  # as UTF-8 text, not \u escapes
        self.assertEqual(profile_text('{"format": "quillon-profile"}'), '{"format": "quillon-profile"}')

    def test_empty_refused(self):
        for empty in ["", "  \n"]:
            with self.assertRaisesRegex(BadOptions, "content is empty"):
                profile_text(empty)


class Outcomes(unittest.TestCase):
    """changed, failures and the message, for each way a run can end."""

    CASES = [
        # (name, check mode, ports, changed, failed ports, message)
        ("written", False, [port("COM9", "ok", [TIME], ["61820000"]), port("COM10", "ok")],
         True, [], "1 of 2 ports changed: COM9"),
        ("already held", False, [port("COM9", "ok"), port("COM10", "ok")],
         False, [], "2 ports already held the profile"),
        ("one port held", False, [port("COM9", "ok")], False, [], "1 port already held the profile"),
        ("check mode reports what would change", True,
         [port("COM9", "differs", [TIME, MODE], [], [TIME, MODE]), port("COM10", "ok")],
         True, [], "1 of 2 ports would change: COM9"),
        ("check mode with nothing to change", True, [port("COM9", "ok")], False, [],
         "1 port already held the profile"),
        ("a failed port fails, the other was written", False,
         [port("COM9", "ok", [TIME], ["61820000"]), port("COM10", "failed", [TIME], reason="the port was lost")],
         True, [("COM10", "the port was lost")], "1 of 2 ports not provisioned: COM10: the port was lost"),
        ("a port that cannot be read fails check mode too", True,
         [port("COM11", "failed", reason="no such port")], False, [("COM11", "no such port")],
         "1 of 1 port not provisioned: COM11: no such port"),
        ("still differs after writing", False,
         [port("COM9", "differs", [TIME], ["61820000"], [TIME])],
         True, [("COM9", "still differs after writing: 61820000")],
         "1 of 1 port not provisioned: COM9: still differs after writing: 61820000"),
        ("interrupted without a reason", False, [port("COM9", "interrupted")], False,
         [("COM9", "interrupted")], "1 of 1 port not provisioned: COM9: interrupted"),
        ("an outcome this collection does not know", False, [port("COM9", "maybe")], False,
         [("COM9", "unknown outcome 'maybe'")], "1 of 1 port not provisioned: COM9: unknown outcome 'maybe'"),
    ]

    def test_table(self):
        for name, check_mode, ports, changed, failures, message in self.CASES:
            with self.subTest(name):
                result = ApplyResult({"dry_run": check_mode, "ports": json.loads(json.dumps(ports))}, check_mode)
                self.assertEqual(result.changed, changed)
                self.assertEqual(result.failures, failures)
                self.assertEqual(result.message(), message)

    def test_lists_missing_from_a_port_are_empty(self):
        result = ApplyResult({"ports": [{"port": "COM9", "outcome": "failed", "reason": "no such port"}]}, False)
        self.assertEqual(result.ports[0]["written"], [])
        self.assertEqual(result.ports[0]["changes"], [])
        self.assertFalse(result.changed)

    def test_not_a_result(self):
        for document in [[], {"dry_run": False}, {"ports": {}}, None]:
            with self.subTest(document=document):
                with self.assertRaisesRegex(ValueError, "no list of ports"):
                    ApplyResult(document, False)


class Diff(unittest.TestCase):
    def test_each_setting_before_and_after(self):
        self.assertEqual(port_diff(port("COM9", "differs", [TIME, MODE])), {
            "before_header": "COM9 (device)",
            "after_header": "COM9 (profile)",
            "before": "61820000 单次读码时间: 2000\n414201 读码模式: (not reported)\n",
            "after": "61820000 单次读码时间: 3000\n414201 读码模式: 连续模式\n",
        })

    def test_only_ports_with_changes(self):
        self.assertIsNone(port_diff(port("COM10", "ok")))
        result = ApplyResult({"ports": [port("COM9", "ok", [TIME], ["61820000"]), port("COM10", "ok"),
                                        port("COM11", "failed", reason="no such port")]}, False)
        self.assertEqual([shown["before_header"] for shown in result.diff], ["COM9 (device)"])


if __name__ == "__main__":
    unittest.main()
