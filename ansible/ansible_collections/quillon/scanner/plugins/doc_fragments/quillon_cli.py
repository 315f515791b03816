# -*- coding: utf-8 -*-
# Copyright: Quillon developers
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    # The program every module of the collection runs.
    DOCUMENTATION = r"""
options:
  quillon_cli:
    description:
      - Path of quillon-cli on the managed host. By default it is found on C(PATH).
      - A quillon-cli that is missing, is not quillon-cli, or is too old for the JSON results fails the task
        before anything is sent.
    type: path
"""
