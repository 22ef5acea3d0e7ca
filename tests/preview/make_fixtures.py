#!/usr/bin/env python3
"""Writes fixtures.json: lights that reach every term of the preview, the
bytes expected at chosen pixels of each, and the 64x64 differences between
some of them. A second model of the preview, written from its definition
alone (Python's decimal and math, none of the program's code), so that the
C++ tests and the browser tests hold both faces to it.
Usage: tests/preview/make_fixtures.py > tests/preview/fixtures.json"""
import json
import math
from decimal import Decimal, ROUND_HALF_UP, InvalidOperation


def numbers(value):
    words = value.replace('\t', ' ').split()
    out = []
    for w in words:
        body = w.lstrip('+-')
        if len(w) - len(body) > 1 or body in ('', '.') or body.count('.') > 1 or not body.replace('.', '').isdigit():
            return None
        if len(body.replace('.', '')) > 15:
            return None
        out.append(Decimal(w))
    return out


def color(value):
    n = numbers(value)
    if n is None or len(n) not in (3, 4):
        return None
    n = n[:3]
    scale = 1 if any(x > 1 for x in n) else 255
    return [min(255, max(0, int((x * scale).quantize(Decimal(1), rounding=ROUND_HALF_UP)))) / 255 for x in n]


def number(value):
    n = numbers(value)
    return float(n[0]) if n is not None and len(n) == 1 else None


def sun(value):
    n = numbers(value)
    if n is None or len(n) != 3:
        return None
    p, y = math.radians(float(n[0])), math.radians(float(n[1]))
    return (math.cos(p) * math.cos(y), math.cos(p) * math.sin(y), -math.sin(p))


def light_of(fields):
    get = lambda key: fields.get(key, '')
    white = [1.0, 1.0, 1.0]
    s = color(get('suncolor')) or white
    k = color(get('sundiffusecolor')) or white
    a = color(get('_color')) or white
    S = number(get('sunlight'))
    S = 1.0 if S is None else max(0.0, S)
    f = number(get('diffusefraction'))
    f = 0.0 if f is None else min(1.0, max(0.0, f))
    A = number(get('ambient'))
    A = 0.0 if A is None else max(0.0, A)
    return dict(d=sun(get('sundirection')), s=s, k=k, a=a, S=S, f=f, A=A)


def srgb_byte(u):
    u = min(1.0, max(0.0, u))
    e = 12.92 * u if u <= 0.0031308 else 1.055 * u ** (1 / 2.4) - 0.055
    return int(math.floor(255 * e + 0.5))


def pixel(light, n, i, j):
    x = -2 + 4 * (i + 0.5) / n
    y = 2 - 4 * (j + 0.5) / n
    d = light['d']
    if x * x + y * y < 1:
        normal, albedo = (x, y, math.sqrt(1 - x * x - y * y)), 0.8
    else:
        normal, albedo = (0.0, 0.0, 1.0), 0.5
    v = 1
    if d is None or d[2] <= 0:
        v = 0
    elif albedo == 0.5:
        b = x * d[0] + y * d[1] - d[2]
        if b < 0 and b * b >= x * x + y * y:
            v = 0
    facing = max(0.0, sum(p * q for p, q in zip(normal, d))) * v if v else 0.0
    out = []
    for c in range(3):
        L = albedo * (light['S'] * (1 - light['f']) * light['s'][c] * facing +
                      light['S'] * light['f'] * light['k'][c] * (1 + normal[2]) / 2 +
                      light['A'] * light['a'][c])
        out.append(srgb_byte(L))
    return out


def lab(rgb):
    lin = [(c / 255) / 12.92 if c / 255 <= 0.04045 else ((c / 255 + 0.055) / 1.055) ** 2.4 for c in rgb]
    X = 0.4124564 * lin[0] + 0.3575761 * lin[1] + 0.1804375 * lin[2]
    Y = 0.2126729 * lin[0] + 0.7151522 * lin[1] + 0.0721750 * lin[2]
    Z = 0.0193339 * lin[0] + 0.1191920 * lin[1] + 0.9503041 * lin[2]
    f = lambda t: t ** (1 / 3) if t > (6 / 29) ** 3 else t / (3 * (6 / 29) ** 2) + 4 / 29
    fx, fy, fz = f(X / 0.95047), f(Y / 1.0), f(Z / 1.08883)
    return (116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz))


def ciede2000(l1, l2):
    (L1, a1, b1), (L2, a2, b2) = l1, l2
    C1, C2 = math.hypot(a1, b1), math.hypot(a2, b2)
    Cm = (C1 + C2) / 2
    G = 0.5 * (1 - math.sqrt(Cm ** 7 / (Cm ** 7 + 25 ** 7)))
    a1p, a2p = (1 + G) * a1, (1 + G) * a2
    C1p, C2p = math.hypot(a1p, b1), math.hypot(a2p, b2)
    h = lambda b, a: 0.0 if a == 0 and b == 0 else math.degrees(math.atan2(b, a)) % 360
    h1, h2 = h(b1, a1p), h(b2, a2p)
    dLp, dCp = L2 - L1, C2p - C1p
    if C1p * C2p == 0:
        dhp = 0
    elif abs(h2 - h1) <= 180:
        dhp = h2 - h1
    elif h2 - h1 > 180:
        dhp = h2 - h1 - 360
    else:
        dhp = h2 - h1 + 360
    dHp = 2 * math.sqrt(C1p * C2p) * math.sin(math.radians(dhp / 2))
    Lm, Cmp = (L1 + L2) / 2, (C1p + C2p) / 2
    if C1p * C2p == 0:
        hm = h1 + h2
    elif abs(h1 - h2) <= 180:
        hm = (h1 + h2) / 2
    elif h1 + h2 < 360:
        hm = (h1 + h2 + 360) / 2
    else:
        hm = (h1 + h2 - 360) / 2
    T = (1 - 0.17 * math.cos(math.radians(hm - 30)) + 0.24 * math.cos(math.radians(2 * hm)) +
         0.32 * math.cos(math.radians(3 * hm + 6)) - 0.20 * math.cos(math.radians(4 * hm - 63)))
    dtheta = 30 * math.exp(-(((hm - 275) / 25) ** 2))
    RC = 2 * math.sqrt(Cmp ** 7 / (Cmp ** 7 + 25 ** 7))
    SL = 1 + 0.015 * (Lm - 50) ** 2 / math.sqrt(20 + (Lm - 50) ** 2)
    SC = 1 + 0.045 * Cmp
    SH = 1 + 0.015 * Cmp * T
    RT = -math.sin(math.radians(2 * dtheta)) * RC
    return math.sqrt((dLp / SL) ** 2 + (dCp / SC) ** 2 + (dHp / SH) ** 2 + RT * (dCp / SC) * (dHp / SH))


def picture(light, n):
    return [pixel(light, n, i, j) for j in range(n) for i in range(n)]


def difference(x, y):
    return sum(ciede2000(lab(p), lab(q)) for p, q in zip(x, y)) / len(x)


# Each light reaches a term of the model; its pixels are where a fault would show.
LIGHTS = [
    # The sun in the east, 45 degrees up: the ball lit on the east, its shadow
    # on the west (a mirrored picture swaps them); a pixel each side of the
    # shadow's edge; sky light brighter on top of the ball.
    ('sun in the east', {'suncolor': '1 1 1', 'sundiffusecolor': '0.5 0.6 1', '_color': '1 1 1',
                         'sunlight': '1', 'diffusefraction': '0.25', 'ambient': '0.05', 'sundirection': '-45 0 0'},
     [(44, 32), (48, 32), (16, 32), (32, 32), (8, 32), (12, 32), (2, 2), (32, 8), (32, 56)]),
    # The sun in the north-east, low: the shadow falls to the south-west.
    ('sun in the north-east', {'suncolor': '1 0.9 0.7', 'sunlight': '1.2', 'sundirection': '-20 45 0',
                               '_color': '0.2 0.2 0.3', 'ambient': '0.1'},
     [(40, 24), (24, 40), (10, 54), (54, 10), (20, 44), (0, 63)]),
    # The sun below the horizon: no direct light, and no shadow; sky and ambient only.
    ('sun below the horizon', {'sundirection': '30 90 0', 'diffusefraction': '0.5', 'sundiffusecolor': '0.4 0.5 0.9',
                               'ambient': '0.2', '_color': '0.3 0.3 0.3'},
     [(32, 32), (32, 4), (4, 32), (40, 40)]),
    # Colours on the 0-255 scale, and a four-number colour (its fourth not drawn).
    ('colours on the 0-255 scale', {'suncolor': '255 128 0', '_color': '0 64 255 200', 'ambient': '0.3',
                                    'sundirection': '-60 200 0', 'sunlight': '0.9', 'diffusefraction': '.3',
                                    'sundiffusecolor': '200 200 255'},
     [(32, 32), (20, 36), (60, 60), (4, 4)]),
    # Nothing readable: suncolor is one number, sunlight empty, the direction
    # two numbers; every default drawn, and with no sun, sky or ambient, black.
    ('every default', {'suncolor': '1.2', 'sunlight': '', 'sundirection': '10 20', 'ambient': 'bright',
                       'diffusefraction': 'x', 'sundiffusecolor': 'blue', '_color': ''},
     [(32, 32), (0, 0)]),
    # The colours and sunlight missing, drawn white and 1, under sky and ambient light.
    ('white by default', {'diffusefraction': '0.6', 'ambient': '0.15', 'sundirection': '-50 300 0'},
     [(32, 32), (40, 20), (2, 60), (26, 40)]),
    # A dim light: the bytes of sRGB, far above what linear light would give.
    ('dim', {'suncolor': '1 1 1', 'sunlight': '0.05', 'sundirection': '-90 0 0', 'ambient': '0.001', '_color': '1 1 1'},
     [(32, 32), (0, 0), (10, 10)]),
]

DIFFERENCES = [('sun in the east', 'sun in the north-east'), ('sun in the east', 'sun below the horizon'),
               ('colours on the 0-255 scale', 'dim'), ('white by default', 'sun in the east')]


def main():
    size = 64
    lights, pictures = [], {}
    for name, fields, points in LIGHTS:
        model = light_of(fields)
        pictures[name] = picture(model, size)
        defaults = [key for key, read in (('suncolor', color), ('sundiffusecolor', color), ('_color', color),
                                          ('sundirection', sun), ('sunlight', number), ('diffusefraction', number),
                                          ('ambient', number)) if read(fields.get(key, '')) is None]
        lights.append({'name': name, 'fields': fields, 'size': size, 'defaults': defaults,
                       'pixels': [[i, j, pixel(model, size, i, j)] for i, j in points]})
    differences = [{'first': a, 'second': b, 'difference': round(difference(pictures[a], pictures[b]), 4)}
                   for a, b in DIFFERENCES]
    # One light, one difference a line.
    print('{"lights": [\n  ' + ',\n  '.join(json.dumps(x) for x in lights) + '],\n "differences": [\n  ' +
          ',\n  '.join(json.dumps(x) for x in differences) + ']}')


if __name__ == '__main__':
    main()
