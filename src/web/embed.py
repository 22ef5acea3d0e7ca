#!/usr/bin/env python3
"""Writes the C++ header that carries the page's template, its style sheet and
its script, the script's files joined in the order given, both without their
comments, and the SHA-256 hashes of the style sheet and the script that the
page's Content-Security-Policy names.

Usage: embed.py OUTPUT TEMPLATE STYLE SCRIPT...
"""
import base64
import hashlib
import os
import re
import sys


def literal(text):
    # Raw string pieces, each a literal of its own (an array of them): no
    # compiler's limit on one literal's length is reached, whatever the length.
    pieces = [text[i:i + 2000] for i in range(0, len(text), 2000)] or [""]
    for piece in pieces:
        if ")web\"" in piece:
            sys.exit("embed.py: the text holds the literal's closing delimiter")
    return ",\n".join('R"web(' + piece + ')web"' for piece in pieces)


def read(path):
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    if "\r" in text:
        sys.exit(f"embed.py: {path} has a CR; the page's text must end its lines with LF")
    return text


def without_comments(text, kind):
    # The comments are for whoever reads the sources, not for the browser: the
    # script's lines that are only a comment, and the style sheet's comments.
    if kind == "script":
        return "".join(line for line in text.splitlines(keepends=True) if not line.lstrip().startswith("//"))
    return re.sub(r"/\*.*?\*/\n?", "", text, flags=re.S)


def hashed(text):
    # The browser hashes the element's text as parsed, in UTF-8.
    return "sha256-" + base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode("ascii")


def main():
    output, template_path, style_path, *script_paths = sys.argv[1:]
    style = without_comments(read(style_path), "style")
    # One script, strict, its files' names kept in one block of their own: each
    # file declares what the later ones use.
    script = "'use strict';\n{\n" + "\n".join(without_comments(read(path), "script") for path in script_paths) + "}\n"
    parts = [("Template", read(template_path), None), ("Style", style, hashed(style)),
             ("Script", script, hashed(script))]
    body = ""
    for name, text, digest in parts:
        body += f"inline constexpr std::string_view kPage{name}[] = {{\n{literal(text)}}};\n"
        if digest:
            body += f'inline constexpr std::string_view kPage{name}Hash = "{digest}";\n'
    os.makedirs(os.path.dirname(output), exist_ok=True)
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write("// Written by src/web/embed.py: do not edit.\n#pragma once\n"
                "#include <string_view>\nnamespace zorvin::web {\n" + body + "}  // namespace zorvin::web\n")


if __name__ == "__main__":
    main()
