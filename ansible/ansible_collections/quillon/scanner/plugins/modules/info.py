#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: Quillon developers
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: info
short_description: The barcode scanners on the serial ports of a host, as facts
version_added: "1.0.0"
description:
  - Lists the serial ports of the managed host with C(quillon-cli ports) and asks the device on each for its
    version record with C(quillon-cli version).
  - Sets the fact C(quillon_scanners), one entry per port whose device answered, with the port, the device
    path, the description, the stable identity and the version fields.
  - Ports whose device did not answer are returned in C(silent_ports) with the reason; they do not fail the task.
  - Refuses to run with a quillon-cli that is missing or too old to print its results as JSON.
options:
  ports:
    description:
      - The ports to look at, each C(COMn), a device path or a stable identity; C(all) looks at every port found.
      - A port named here that the host does not have fails the task.
    type: list
    elements: str
    default: [all]
  version:
    description:
      - Ask each device for its version record. Without it every port found is listed, unasked.
    type: bool
    default: true
  catalogue:
    description:
      - The catalogue file on the managed host whose command lists ask for the version record.
      - By default the one that quillon-cli finds as the window does (its C(config.ini)).
    type: path
  timeout:
    description:
      - The longest silence of a device, in milliseconds, before it counts as not answering.
      - By default quillon-cli's (3000).
    type: int
attributes:
  check_mode:
    description: Only reads; runs the same in check mode.
    support: full
  diff_mode:
    description: Changes nothing, so shows no diff.
    support: none
  facts:
    description: Sets C(quillon_scanners).
    support: full
requirements:
  - quillon-cli with JSON results (C(ports --json) and C(version --json)) on the managed host
extends_documentation_fragment:
  - quillon.scanner.quillon_cli
seealso:
  - module: quillon.scanner.profile
author:
  - Quillon developers
"""

EXAMPLES = r"""
- name: Find the scanners of the host
  quillon.scanner.info:

- name: Provision the scanners that answered, and no other serial port
  quillon.scanner.profile:
    profile: /etc/quillon/till.json
    ports: "{{ quillon_scanners | map(attribute='port') }}"
  when: quillon_scanners | length > 0

- name: Two ports, without asking the devices
  quillon.scanner.info:
    ports: [COM3, /dev/ttyUSB1]
    version: false
"""

RETURN = r"""
ansible_facts:
  description: Facts about the scanners.
  returned: always
  type: dict
  contains:
    quillon_scanners:
      description: The ports whose device answered (with I(version=false), every port looked at).
      type: list
      elements: dict
      contains:
        port:
          description: The port's name, as the port dialog shows it.
          type: str
          sample: COM3
        path:
          description: The device path.
          type: str
          sample: /dev/ttyUSB0
        description:
          description: The USB adapter's product, or empty.
          type: str
          sample: USB Serial
        identity:
          description: >-
            A name that stays when the device moves to another USB socket: its /dev/serial/by-id path, else the
            USB serial number, else empty.
          type: str
          sample: /dev/serial/by-id/usb-Scanner_0001-if00
        version:
          description: The version fields by name (snake_case), e.g. C(firmware_version).
          type: dict
          sample: {"firmware_version": "V1.02"}
        version_fields:
          description: Every field as the device sent it, with its code, name, the program's caption and value.
          type: list
          elements: dict
silent_ports:
  description: The ports looked at whose device did not answer, with the reason.
  returned: when version is true
  type: list
  elements: dict
  sample: [{"port": "COM1", "path": "/dev/ttyS0", "reason": "no answer"}]
quillon_cli_version:
  description: The version of quillon-cli that ran.
  returned: when quillon-cli was found
  type: str
  sample: 1.1.0
"""

from concurrent.futures import ThreadPoolExecutor

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.quillon.scanner.plugins.module_utils.inventory import (
    chosen_ports, found_ports, scanner, version_record)
from ansible_collections.quillon.scanner.plugins.module_utils.provisioning import BadOptions
from ansible_collections.quillon.scanner.plugins.module_utils.quillon_cli import CliFailed, info_needs
from ansible_collections.quillon.scanner.plugins.module_utils.running import quillon_cli

# Ports asked at once: a port without a device costs a whole time-out.
_AT_ONCE = 8


# Kept as a literal for the test that holds it against DOCUMENTATION.
ARGUMENT_SPEC = {
    "ports": {"type": "list", "elements": "str", "default": ["all"]},
    "version": {"type": "bool", "default": True},
    "catalogue": {"type": "path"},
    "timeout": {"type": "int"},
    "quillon_cli": {"type": "path"},
}


def main():
    module = AnsibleModule(
        argument_spec=ARGUMENT_SPEC,
        supports_check_mode=True,
    )
    params = module.params
    cli = quillon_cli(module, info_needs(bool(params["catalogue"])))
    try:
        chosen = chosen_ports(found_ports(cli.run_json(["ports", "--json"])[1]), params["ports"])
    except (CliFailed, ValueError, BadOptions) as error:
        module.fail_json(msg="quillon-cli ports: %s" % error, quillon_cli_version=cli.version)
    if not params["version"]:
        module.exit_json(changed=False, ansible_facts=dict(quillon_scanners=[scanner(port) for port in chosen]),
                         quillon_cli_version=cli.version)

    options = [] if params["timeout"] is None else ["--timeout", str(params["timeout"])]
    if params["catalogue"]:
        options += ["--catalogue", params["catalogue"]]

    def ask(port):
        try:
            rc, document, complaint = cli.run_json(["version", "--port", port["name"], "--json"] + options)
        except CliFailed as error:
            return None, str(error)
        if rc != 0:
            return None, complaint or "status %d" % rc
        return version_record(document), None

    try:
        with ThreadPoolExecutor(max_workers=_AT_ONCE) as pool:
            answers = list(pool.map(ask, chosen))
    except ValueError as error:
        module.fail_json(msg="quillon-cli version: %s" % error, quillon_cli_version=cli.version)
    scanners = [scanner(port, version) for port, (version, _) in zip(chosen, answers) if version is not None]
    silent = [dict(port=port["name"], path=port["path"], reason=reason)
              for port, (version, reason) in zip(chosen, answers) if version is None]
    module.exit_json(changed=False, ansible_facts=dict(quillon_scanners=scanners), silent_ports=silent,
                     quillon_cli_version=cli.version)


if __name__ == "__main__":
    main()
