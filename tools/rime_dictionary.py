# SPDX-License-Identifier: GPL-3.0-or-later
"""The body of a Rime dictionary (*.dict.yaml): the lines after the "..." that ends its YAML
header, one entry a line, "text<TAB>code or readings[<TAB>weight...]", with "#" comments."""


def body_lines(path):
    """Yields each line of the dictionary's body, comments and blank lines included."""
    in_body = False
    for line in path.read_text(encoding="utf-8").splitlines():
        if in_body:
            yield line
        else:
            in_body = line == "..."


def entries(path):
    """Yields the tab-separated fields of each entry of the body that has a text and a code or
    readings; comments, blank lines and shorter lines are passed over."""
    for line in body_lines(path):
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) >= 2:
            yield fields
