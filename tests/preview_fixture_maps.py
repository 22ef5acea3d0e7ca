#!/usr/bin/env python3
"""The shared preview fixtures (tests/preview/fixtures.json) for a zorvin
that draws maps: 'maps FIXTURES DIR' writes each fixture light as a map source
DIR/N.map and prints 'N SIZE' a line; 'check FIXTURES N PNG' holds the PNG
drawn of fixture N to its pixels, within 1 a channel, and prints what is off."""
import json
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from png_pixels import pixels  # noqa: E402

command, fixtures = sys.argv[1], json.load(open(sys.argv[2]))['lights']
if command == 'maps':
    for n, light in enumerate(fixtures):
        with open(os.path.join(sys.argv[3], f'{n}.map'), 'w', newline='\n') as out:
            out.write('{\n"classname" "worldspawn"\n')
            out.writelines(f'"{key}" "{value}"\n' for key, value in light['fields'].items())
            out.write('}\n')
        print(n, light['size'])
else:
    light = fixtures[int(sys.argv[3])]
    width, _, rgb = pixels(sys.argv[4])
    off = [f'({i}, {j}) {list(rgb[(j * width + i) * 3:(j * width + i) * 3 + 3])} for {want}'
           for i, j, want in light['pixels']
           if any(abs(rgb[(j * width + i) * 3 + k] - want[k]) > 1 for k in range(3))]
    if off:
        print(light['name'] + ': ' + ', '.join(off))
        sys.exit(1)
