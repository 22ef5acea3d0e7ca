#!/usr/bin/env python3
"""Writes a C++ header that carries the page's script and style sheet, each
with the SHA-256 hash its Content-Security-Policy entry names.

Usage: embed-web.py OUTPUT SCRIPT STYLE
"""
import base64
import hashlib
import os
import sys


def literal(text):
    # Raw string pieces, short enough for every compiler's limit on one literal.
    pieces = [text[i:i + 2000] for i in range(0, len(text), 2000)] or [""]
    for piece in pieces:
        if ")web\"" in piece:
            sys.exit("embed-web.py: the text holds the literal's closing delimiter")
    return "\n".join('R"web(' + piece + ')web"' for piece in pieces)


def main():
    output, script_path, style_path = sys.argv[1:4]
    parts = []
    for name, path in (("Script", script_path), ("Style", style_path)):
        with open(path, encoding="utf-8", newline="") as f:
            text = f.read()
        if "\r" in text:
            sys.exit(f"embed-web.py: {path} has a CR; the page's text must end its lines with LF")
        # The browser hashes the element's text as parsed, in UTF-8.
        digest = base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode("ascii")
        parts.append(f"inline constexpr std::string_view kPage{name} =\n{literal(text)};\n"
                     f'inline constexpr std::string_view kPage{name}Hash = "sha256-{digest}";\n')
    os.makedirs(os.path.dirname(output), exist_ok=True)
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write("// Written by cmake/embed-web.py from src/web/: do not edit.\n#pragma once\n"
                "#include <string_view>\nnamespace zorvin::cli {\n" + "".join(parts) + "}  // namespace zorvin::cli\n")


if __name__ == "__main__":
    main()
