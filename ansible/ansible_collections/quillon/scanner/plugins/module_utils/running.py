# -*- coding: utf-8 -*-
# Copyright: Quillon developers
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
"""The quillon-cli of the managed host, found and checked for a module."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import os

from ansible_collections.quillon.scanner.plugins.module_utils.quillon_cli import CliRefused, QuillonCli


def _located(module):
    path = module.params.get("quillon_cli")
    if not path:
        found = module.get_bin_path("quillon-cli")
        if not found:
            module.fail_json(msg="quillon-cli is not installed on this host (not found on PATH %s); install "
                                 "Quillon or name the program with quillon_cli" % os.environ.get("PATH", ""))
        return found
    if not os.path.isfile(path):
        module.fail_json(msg="quillon_cli %s does not exist on this host" % path)
    if not os.access(path, os.X_OK):
        module.fail_json(msg="quillon_cli %s is not executable by this user" % path)
    return path


def quillon_cli(module, needs):
    """The checked QuillonCli of the module's host; fails the module when it cannot serve."""

    def run(argv, data):
        # Exactly the profile's bytes on standard input, not one newline more.
        return module.run_command(argv, data=data, binary_data=True)

    cli = QuillonCli(_located(module), run)
    try:
        cli.require(needs)
    except CliRefused as refusal:
        module.fail_json(msg=str(refusal))
    return cli
