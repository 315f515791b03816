#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: Quillon developers
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: profile
short_description: Give barcode scanners the settings of a Quillon profile
version_added: "1.0.0"
description:
  - Writes a profile (the settings that C(quillon-cli read -o) or the window's 保存配置 saves) to the barcode
    scanners on serial ports of the managed host, through C(quillon-cli apply).
  - Every device is read back first and only the settings it does not hold are written, so a second run writes
    nothing; the task reports C(changed) only when something was written.
  - All ports are worked at once (at most I(jobs) at a time). A port that fails fails the task with its reason
    while the other ports are still provisioned; the result lists every port.
  - Refuses to run with a quillon-cli that is missing or too old to print its results as JSON.
options:
  profile:
    description:
      - Path of the profile file on the managed host.
      - Exactly one of I(profile) and I(content) is required.
    type: path
  content:
    description:
      - The profile itself, either its JSON text or a mapping with C(format), C(version) and C(settings) as a
        profile file holds them.
      - Exactly one of I(profile) and I(content) is required.
    type: raw
  ports:
    description:
      - The ports to provision, each C(COMn) (the name the port dialog shows) or a device path such as
        C(/dev/ttyUSB0) or a C(/dev/serial/by-id) link.
      - C(all) provisions every serial port that C(quillon-cli ports) finds.
    type: list
    elements: str
    required: true
  catalogue:
    description:
      - The catalogue file the profile's codes come from, on the managed host.
      - By default the one that quillon-cli finds as the window does (its C(config.ini)).
    type: path
  jobs:
    description:
      - How many ports are worked at once. By default all of them.
    type: int
attributes:
  check_mode:
    description: Reads every device and reports what would be written; writes nothing.
    support: full
  diff_mode:
    description: Shows each setting that differs, the device's value before and the profile's after, per port.
    support: full
notes:
  - The line's own settings (baud rate, USB or serial mode) are written only when a device does not hold them,
    and last; the device then answers on its new line settings.
  - A port whose final read-back still differs from the profile fails the task, with the codes that differ.
requirements:
  - quillon-cli with JSON results (C(apply --json) and C(--dry-run)) on the managed host
extends_documentation_fragment:
  - quillon.scanner.quillon_cli
seealso:
  - module: quillon.scanner.info
author:
  - Quillon developers
"""

EXAMPLES = r"""
- name: Give every till scanner the store's profile
  quillon.scanner.profile:
    profile: /etc/quillon/till.json
    ports: all

- name: Two scanners by name, the profile kept in the inventory
  quillon.scanner.profile:
    content: "{{ scanner_profile }}"
    ports: [COM3, /dev/serial/by-id/usb-Scanner_0001-if00]
    jobs: 2

- name: What would change on a packing station, without writing
  quillon.scanner.profile:
    profile: /etc/quillon/packing.json
    ports: [COM3]
  check_mode: true
  diff: true
  register: planned
"""

RETURN = r"""
ports:
  description: Every port, in the order given (or as found, for C(all)).
  returned: when quillon-cli ran
  type: list
  elements: dict
  contains:
    port:
      description: The port as named.
      type: str
      sample: COM3
    outcome:
      description: >-
        C(ok) the device holds the profile; C(differs) settings differ (after writing; in check mode, what would
        be written); C(failed) or C(interrupted) with I(reason).
      type: str
      sample: ok
    reason:
      description: Why the port did not end C(ok).
      type: str
      returned: when the outcome is not ok
      sample: the port was lost
    changes:
      description: The settings the device did not hold when read first, with its value and the profile's.
      type: list
      elements: dict
      sample: [{"code": "61820000", "setting": "单次读码时间", "device": "2000", "profile": "3000"}]
    written:
      description: The codes written; empty in check mode and when the device already held the profile.
      type: list
      elements: str
      sample: ["61820000"]
    differences:
      description: The settings that still differ after the final read-back (in check mode, I(changes)).
      type: list
      elements: dict
      sample: []
quillon_cli_version:
  description: The version of quillon-cli that ran.
  returned: when quillon-cli was found
  type: str
  sample: 1.1.0
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.quillon.scanner.plugins.module_utils.provisioning import (
    ApplyResult, BadOptions, apply_arguments, profile_text)
from ansible_collections.quillon.scanner.plugins.module_utils.quillon_cli import (
    CliFailed, profile_needs)
from ansible_collections.quillon.scanner.plugins.module_utils.running import quillon_cli


# Kept as a literal for the test that holds it against DOCUMENTATION.
ARGUMENT_SPEC = {
    "profile": {"type": "path"},
    "content": {"type": "raw"},
    "ports": {"type": "list", "elements": "str", "required": True},
    "catalogue": {"type": "path"},
    "jobs": {"type": "int"},
    "quillon_cli": {"type": "path"},
}


def main():
    module = AnsibleModule(
        argument_spec=ARGUMENT_SPEC,
        mutually_exclusive=[("profile", "content")],
        required_one_of=[("profile", "content")],
        supports_check_mode=True,
    )
    params = module.params
    cli = quillon_cli(module, profile_needs(bool(params["catalogue"])))
    try:
        stdin = None if params["content"] is None else profile_text(params["content"])
        arguments = apply_arguments(params["profile"] or "-", params["ports"], module.check_mode,
                                    params["jobs"], params["catalogue"])
    except BadOptions as error:
        module.fail_json(msg=str(error))
    try:
        _rc, document, _complaint = cli.run_json(arguments, stdin)
        result = ApplyResult(document, module.check_mode)
    except (CliFailed, ValueError) as error:
        module.fail_json(msg="quillon-cli apply: %s" % error, quillon_cli_version=cli.version)

    outcome = dict(changed=result.changed, msg=result.message(), ports=result.ports,
                   quillon_cli_version=cli.version)
    if module._diff:
        outcome["diff"] = result.diff
    if result.failures:
        module.fail_json(**outcome)
    module.exit_json(**outcome)


if __name__ == "__main__":
    main()
