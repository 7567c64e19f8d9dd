# SPDX-License-Identifier: GPL-3.0-or-later
"""The one error that stops the table generator and its modules, with a message, before anything
is written, and the check that raises it."""


class GenerationError(Exception):
    pass


def require(condition, message):
    """Raises GenerationError with `message` unless `condition` holds."""
    if not condition:
        raise GenerationError(message)
