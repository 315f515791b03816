#!/usr/bin/env python3
# -*- coding: utf-8 -*-
"""The collection's modules in playbooks, run by ansible-playbook against localhost
(connection local) on simulated scanners (quillon-sim on pseudo-terminals).

QUILLON_CLI and QUILLON_SIM name the programs (default: the build folder of
this checkout).  What the playbooks report is checked against what
quillon-cli itself says of the devices afterwards.
"""

import json
import os
import queue
import signal
import subprocess
import tempfile
import threading
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
COLLECTIONS = HERE.parents[4]  # the folder that holds ansible_collections/
SOURCE = COLLECTIONS.parent
CLI = os.environ.get("QUILLON_CLI", str(SOURCE / "build/cli/quillon-cli"))
SIM = os.environ.get("QUILLON_SIM", str(SOURCE / "build/sim/quillon-sim"))
CATALOGUE = str(SOURCE / "config/all.xml")
WAIT = 60  # seconds; generous, for a loaded machine

# Settings of several dialogs, none of them the line's own (a line speed
# would change the link).
PROFILE = {
    "format": "quillon-profile",
    "version": 1,
    "settings": [
        {"code": "414201"},
        {"code": "61820000", "value": "3000"},
        {"code": "51C10000", "value": "AB"},
        {"code": "31850000", "value": "QR"},
    ],
}


class Simulator:
    """quillon-sim serving COMn in a link folder; its printed lines are kept as they come."""

    def __init__(self, com, links):
        self.name = "COM%d" % com
        env = dict(os.environ, QUILLON_PORT_LINKS=links)
        self.process = subprocess.Popen(
            [SIM, "--com", str(com), "--catalogue", CATALOGUE, "--no-pace"], cwd=SOURCE, env=env,
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=self._drain, daemon=True).start()
        serving = self.wait_for("serving " + self.name)
        self.path = serving.rsplit(" ", 1)[1]

    def _drain(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))

    def wait_for(self, text):
        while True:
            try:
                line = self.lines.get(timeout=WAIT)
            except queue.Empty:
                raise AssertionError("%s printed no line with %r" % (self.name, text))
            if text in line:
                return line

    def command(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def stop(self):
        self.process.send_signal(signal.SIGINT)
        try:
            self.process.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.process.stdin.close()
        self.process.stdout.close()


class Playbooks(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory(prefix="quillon-ansible.")
        self.addCleanup(self.dir.cleanup)
        self.links = os.path.join(self.dir.name, "ports")
        self.sims = {}
        for com in (9, 10):
            sim = Simulator(com, self.links)
            self.addCleanup(sim.stop)
            self.sims[sim.name] = sim
        self.profile = self.write("till.json", json.dumps(PROFILE, indent=2))
        self.runs = 0

    def write(self, name, text):
        path = os.path.join(self.dir.name, name)
        with open(path, "w", encoding="utf-8") as out:
            out.write(text)
        return path

    def cli(self, *args):
        """quillon-cli as a shell would run it, on the simulators' links."""
        return subprocess.run([CLI] + list(args), cwd=SOURCE, env=dict(os.environ, QUILLON_PORT_LINKS=self.links),
                              capture_output=True, text=True, timeout=WAIT)

    def diff(self, port):
        run = self.cli("diff", self.profile, "--port", port, "--json")
        self.assertIn(run.returncode, (0, 1), run.stderr)
        return json.loads(run.stdout)

    def playbook(self, tasks, *flags):
        """Runs one play of tasks on localhost; the registered result of each task by its register name."""
        self.runs += 1
        out = os.path.join(self.dir.name, "results%d.json" % self.runs)
        names = [task["register"] for task in tasks]
        play = [{
            "hosts": "localhost",
            "connection": "local",
            "gather_facts": False,
            "vars": {"ansible_python_interpreter": "{{ ansible_playbook_python }}"},
            "environment": {"QUILLON_PORT_LINKS": self.links},
            "tasks": [dict(task, ignore_errors=True) for task in tasks] + [{
                "name": "Keep the results for the test",
                "ansible.builtin.copy": {"content": "{{ {%s} | to_json }}" % ", ".join(
                    "'%s': %s" % (name, name) for name in names), "dest": out},
                "check_mode": False,
                "diff": False,
            }],
        }]
        path = self.write("play%d.yml" % self.runs, json.dumps(play, indent=2))
        env = dict(os.environ, ANSIBLE_COLLECTIONS_PATH=str(COLLECTIONS), ANSIBLE_NOCOLOR="1",
                   ANSIBLE_LOCALHOST_WARNING="false", ANSIBLE_INVENTORY_UNPARSED_WARNING="false",
                   ANSIBLE_RETRY_FILES_ENABLED="false",
                   # Not below the user's home, which an account such as nobody does not have.
                   ANSIBLE_LOCAL_TEMP=os.path.join(self.dir.name, "ansible-local"),
                   ANSIBLE_REMOTE_TEMP=os.path.join(self.dir.name, "ansible-remote"))
        run = subprocess.run(["ansible-playbook", "-i", "localhost,", path] + list(flags), cwd=self.dir.name,
                             env=env, capture_output=True, text=True, timeout=10 * WAIT)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        with open(out, encoding="utf-8") as results:
            return json.load(results), run.stdout

    def provision(self, ports, *flags, **options):
        task = {"quillon.scanner.profile": dict({"ports": ports, "catalogue": CATALOGUE, "quillon_cli": CLI},
                                                **options), "register": "provisioned"}
        if "content" not in options:
            task["quillon.scanner.profile"]["profile"] = self.profile
        results, stdout = self.playbook([task], *flags)
        return results["provisioned"], stdout

    def by_port(self, result):
        return {port["port"]: port for port in result["ports"]}

    def test_first_run_changes_both_devices_and_a_second_run_nothing(self):
        first, _ = self.provision(["COM9", "COM10"], jobs=1)
        self.assertFalse(first.get("failed"), first)
        self.assertTrue(first["changed"])
        for name, port in self.by_port(first).items():
            self.assertEqual(port["outcome"], "ok", name)
            self.assertTrue(port["written"], name)
            self.assertEqual(port["differences"], [], name)
            self.assertEqual(self.diff(name)["outcome"], "same", name)

        second, _ = self.provision(["COM9", "COM10"], content=PROFILE)
        self.assertFalse(second.get("failed"), second)
        self.assertFalse(second["changed"], second)
        self.assertEqual([(port["outcome"], port["written"]) for port in second["ports"]], [("ok", [])] * 2)
        self.assertEqual(second["msg"], "2 ports already held the profile")

    def test_check_mode_reports_the_change_and_writes_nothing(self):
        self.assertEqual(self.cli("set", "--port", "COM9", "61820000=2000").returncode, 0)
        before = self.diff("COM9")
        self.assertEqual(before["outcome"], "differs")
        self.assertIn("61820000", [difference["code"] for difference in before["differences"]])

        planned, stdout = self.provision(["COM9"], "--check", "--diff")
        self.assertFalse(planned.get("failed"), planned)
        self.assertTrue(planned["changed"])
        port = self.by_port(planned)["COM9"]
        self.assertEqual(port["written"], [])
        self.assertEqual(port["changes"], before["differences"])
        self.assertEqual(self.diff("COM9"), before)  # nothing written
        # The diff shows each setting, the device's value before and the profile's after.
        time = next(d for d in port["changes"] if d["code"] == "61820000")
        self.assertEqual(time["device"], "2000")
        self.assertIn("-61820000 %s: 2000" % time["setting"], stdout)
        self.assertIn("+61820000 %s: 3000" % time["setting"], stdout)
        self.assertEqual([shown["before_header"] for shown in planned["diff"]], ["COM9 (device)"])

    def test_a_failing_port_fails_the_task_and_the_others_are_provisioned(self):
        self.sims["COM10"].command("fault write-error")
        self.sims["COM10"].wait_for("write-error")
        result, _ = self.provision(["COM9", "COM10", "COM11"])
        self.assertTrue(result["failed"])
        ports = self.by_port(result)
        self.assertEqual(list(ports), ["COM9", "COM10", "COM11"])
        self.assertEqual(ports["COM9"]["outcome"], "ok")
        self.assertTrue(ports["COM9"]["written"])
        self.assertEqual(self.diff("COM9")["outcome"], "same")
        for name in ("COM10", "COM11"):
            self.assertEqual(ports[name]["outcome"], "failed", name)
            self.assertTrue(ports[name]["reason"], name)
            self.assertIn("%s: %s" % (name, ports[name]["reason"]), result["msg"])
        self.assertTrue(result["msg"].startswith("2 of 3 ports not provisioned: "), result["msg"])
        self.assertEqual(self.diff("COM10")["outcome"], "differs")

    def test_info_gathers_the_scanners_as_facts(self):
        task = {"quillon.scanner.info": {"ports": ["COM10", self.sims["COM9"].path], "catalogue": CATALOGUE,
                                         "quillon_cli": CLI},
                "register": "found"}
        missing = {"quillon.scanner.info": {"ports": ["COM11"], "quillon_cli": CLI}, "register": "missing"}
        results, _ = self.playbook([task, missing])
        found = results["found"]
        self.assertFalse(found.get("failed"), found)
        scanners = found["ansible_facts"]["quillon_scanners"]
        self.assertEqual([(s["port"], s["path"]) for s in scanners],
                         [("COM10", self.sims["COM10"].path), ("COM9", self.sims["COM9"].path)])
        version = json.loads(self.cli("version", "--port", "COM9", "--json").stdout)
        self.assertEqual(scanners[1]["version"], version["named"])
        self.assertEqual(scanners[1]["version_fields"], version["fields"])
        self.assertTrue(version["fields"])
        self.assertEqual(found["silent_ports"], [])
        self.assertTrue(results["missing"]["failed"])
        self.assertIn("no port COM11 on this host", results["missing"]["msg"])

    def test_refuses_a_missing_or_foreign_quillon_cli(self):
        tasks = [
            {"quillon.scanner.profile": {"profile": self.profile, "ports": ["COM9"], "quillon_cli": cli},
             "register": name}
            for name, cli in [("absent", "/nonexistent/quillon-cli"), ("foreign", SIM)]
        ] + [{"quillon.scanner.info": {}, "register": "unfound",
              "environment": {"PATH": self.dir.name}}]
        results, _ = self.playbook(tasks)
        for name, says in [("absent", "quillon_cli /nonexistent/quillon-cli does not exist on this host"),
                           ("foreign", "%s is not a usable quillon-cli: --version gave 'quillon-sim " % SIM),
                           ("unfound", "quillon-cli is not installed on this host (not found on PATH")]:
            with self.subTest(name):
                self.assertTrue(results[name]["failed"])
                self.assertIn(says, results[name]["msg"])
        self.assertEqual(self.diff("COM9")["outcome"], "differs")  # nothing was written


if __name__ == "__main__":
    unittest.main(verbosity=2)
