#!/usr/bin/env python3
"""Prints README.md and every file of the tree it reaches by its relative
links, and theirs in turn (the docs and their pictures), one path a line
from the tree's top: what a release carries so that none of its links
leads nowhere. Fails, naming it, on a link to a file that is not there."""
import os
import re
import sys

os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
link = re.compile(r'\]\(([^)#\s]+)')
seen, todo, missing = set(), ['README.md'], []
while todo:
    path = todo.pop()
    if path in seen:
        continue
    seen.add(path)
    if not path.endswith('.md'):
        continue
    with open(path, encoding='utf-8') as text:
        for target in link.findall(text.read()):
            if '://' in target or target.startswith('mailto:'):
                continue
            found = os.path.normpath(os.path.join(os.path.dirname(path), target))
            (todo if os.path.isfile(found) else missing).append(found)
if missing:
    sys.exit('links to files that are not there: ' + ', '.join(sorted(set(missing))))
print('\n'.join(sorted(seen)))
