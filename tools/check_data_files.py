#!/usr/bin/env python3
"""Checks the data files (elem.txt, abundances.txt and, where there is one, masses.txt)
for what the calculation relies on: as many abundance lines as element columns, 21 fields a
line, whole-number Width and offsets, abundances adding to 100 (1e-9 relative), Width at
least every |offset|; in masses.txt as many lines again, 11 fields a line, the Elem of the
abundances line, "0" in every slot of abundance 0 and in every other slot a mass within
0.5 u of its mass number (the rounded weight plus the slot's offset); in isotopes.txt, where
there is one, 3 fields a line, a symbol of elem.txt, a whole mass number and a mass within
0.5 u of it, each symbol's lines together and ascending, and every natural isotope of
masses.txt listed with the same mass (one evaluation for both files).
Exits 1 and lists the faults when any check fails.

Usage: check_data_files.py [DIR]   (default: share/orvane beside this script)
"""

import os
import sys

FIELDS = 21
MAX_TABS = 199
MASS_FIELDS = 11
TOLERANCE = 1e-9
MASS_NUMBER_DISTANCE = 0.5
BLANKS = "".join(map(chr, range(33)))


def read_lines(path):
    """The lines of a data file as the loaders see them: LF or CR LF ends a line, a lone
    CR is dropped, 0x1A ends the data, a last line without a line end counts."""
    with open(path, "rb") as f:
        data = f.read()
    data = data.split(b"\x1a", 1)[0]
    lines = data.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    return [line.replace(b"\r", b"").decode("latin-1") for line in lines]


def check(directory):
    faults = []
    elem_lines = read_lines(os.path.join(directory, "elem.txt"))
    rows = read_lines(os.path.join(directory, "abundances.txt"))
    if not elem_lines:
        return ["elem.txt: empty"]
    if len(elem_lines) < 2:
        faults.append("elem.txt: no weights line")
    symbols = elem_lines[0].split("\t")
    count = len(symbols) - 1
    if count > MAX_TABS:
        faults.append(f"elem.txt, line 1: {count} TABs, more than {MAX_TABS}")
    if len(elem_lines) >= 2:
        weights = elem_lines[1].split("\t")
        if len(weights) != len(symbols):
            faults.append(f"elem.txt: {len(symbols)} symbol fields but {len(weights)} weight fields")
        for c, weight in enumerate(weights[1:], start=1):
            try:
                float(weight)
            except ValueError:
                faults.append(f"elem.txt, column {c}: weight {weight!r} is not a number")
    if len(rows) != count:
        faults.append(f"abundances.txt: {len(rows)} lines for {count} elements")

    used = {}
    for r, line in enumerate(rows, start=1):
        where = f"abundances.txt, line {r}"
        fields = [field.strip(BLANKS) for field in line.split("\t")]
        if len(fields) != FIELDS:
            faults.append(f"{where}: {len(fields)} fields, not {FIELDS}")
            continue
        try:
            width = int(fields[0])
            offsets = [0] + [int(field) for field in fields[1:10]]
            shares = [float(field) for field in fields[10:20]]
        except ValueError as error:
            faults.append(f"{where}: {error}")
            continue
        total = sum(shares)
        if abs(total - 100.0) > TOLERANCE * 100.0:
            faults.append(f"{where} ({fields[20]}): abundances add to {total!r}")
        if any(share < 0 for share in shares):
            faults.append(f"{where} ({fields[20]}): negative abundance")
        widest = max(abs(offset) for offset in offsets)
        if width < widest:
            faults.append(f"{where} ({fields[20]}): Width {width} below offset {widest}")
        if r <= count and fields[20] != symbols[r].strip():
            faults.append(f"{where}: Elem {fields[20]!r} but element column {r} is {symbols[r]!r}")
        else:
            used[r] = (offsets, shares, fields[20])

    masses_path = os.path.join(directory, "masses.txt")
    if os.path.exists(masses_path):
        weights = elem_lines[1].split("\t") if len(elem_lines) >= 2 else []
        faults += check_masses(read_lines(masses_path), count, weights, used)
        isotopes_path = os.path.join(directory, "isotopes.txt")
        if os.path.exists(isotopes_path):
            natural = natural_masses(read_lines(masses_path), weights, used)
            faults += check_isotopes("isotopes.txt", read_lines(isotopes_path), symbols, natural)
    return faults


def natural_masses(lines, weights, used):
    """(symbol, mass number) -> mass text of masses.txt's slots of abundance above 0."""
    natural = {}
    for r, line in enumerate(lines, start=1):
        fields = [field.strip(BLANKS) for field in line.split("\t")]
        if r not in used or r >= len(weights) or len(fields) != MASS_FIELDS:
            continue
        offsets, shares, symbol = used[r]
        try:
            nominal = round(float(weights[r]))
        except ValueError:
            continue
        for offset, share, text in zip(offsets, shares, fields):
            if share != 0:
                natural[(symbol, nominal + offset)] = text
    return natural


def check_isotopes(name, lines, symbols, natural):
    """The faults of an isotope list against the element symbols and the natural masses of
    masses.txt: each must be listed with masses.txt's mass."""
    faults = []
    listed = set()
    known = {symbol.strip(BLANKS) for symbol in symbols[1:]}
    finished = set()
    previous = None
    for r, line in enumerate(lines, start=1):
        where = f"{name}, line {r}"
        fields = [field.strip(BLANKS) for field in line.split("\t")]
        if len(fields) != 3:
            faults.append(f"{where}: {len(fields)} fields, not 3")
            continue
        symbol, number_text, mass_text = fields
        if symbol not in known:
            faults.append(f"{where}: {symbol!r} is no symbol of elem.txt")
        try:
            number = int(number_text)
            mass = float(mass_text)
        except ValueError:
            faults.append(f"{where}: {number_text!r} {mass_text!r} are not numbers")
            continue
        if previous is not None and previous[0] != symbol:
            finished.add(previous[0])
        if symbol in finished:
            faults.append(f"{where}: {symbol} again after other elements")
        elif previous is not None and previous[0] == symbol and number <= previous[1]:
            faults.append(f"{where}: {symbol} mass number {number} not above {previous[1]}")
        previous = (symbol, number)
        if number < 1 or abs(mass - number) > MASS_NUMBER_DISTANCE:
            faults.append(f"{where}: mass {mass_text} is not within "
                          f"{MASS_NUMBER_DISTANCE} u of mass number {number}")
        listed.add((symbol, number))
        expected = natural.get((symbol, number))
        if expected is not None and float(expected) != mass:
            faults.append(f"{where}: {symbol}{number} is {mass_text}, masses.txt has {expected}")
    faults += [f"{name}: no {symbol}{number}, a natural isotope of masses.txt"
               for symbol, number in sorted(natural.keys() - listed)]
    return faults


def check_masses(lines, count, weights, used):
    """The faults of masses.txt against the element weights and the checked abundance rows
    (line number -> (offsets, abundances, Elem))."""
    faults = []
    if len(lines) != count:
        faults.append(f"masses.txt: {len(lines)} lines for {count} elements")
    for r, line in enumerate(lines, start=1):
        where = f"masses.txt, line {r}"
        fields = [field.strip(BLANKS) for field in line.split("\t")]
        if len(fields) != MASS_FIELDS:
            faults.append(f"{where}: {len(fields)} fields, not {MASS_FIELDS}")
            continue
        if r not in used or r >= len(weights):
            continue
        offsets, shares, symbol = used[r]
        if fields[10] != symbol:
            faults.append(f"{where}: Elem {fields[10]!r} but abundances.txt has {symbol!r}")
        try:
            nominal = round(float(weights[r]))  # Python rounds half to even, as the loaders do
        except ValueError:
            continue  # reported with elem.txt
        for slot, (offset, share, text) in enumerate(zip(offsets, shares, fields)):
            if share == 0:
                if text != "0":
                    faults.append(f"{where} ({symbol}): M{slot} is {text!r} for abundance 0")
                continue
            try:
                mass = float(text)
            except ValueError:
                faults.append(f"{where} ({symbol}): M{slot} {text!r} is not a number")
                continue
            if abs(mass - (nominal + offset)) > MASS_NUMBER_DISTANCE:
                faults.append(
                    f"{where} ({symbol}): M{slot} {mass!r} is not within "
                    f"{MASS_NUMBER_DISTANCE} u of mass number {nominal + offset}"
                )
    return faults


def main():
    directory = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "share", "orvane")
    faults = check(directory)
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        return 1
    print(f"{os.path.normpath(directory)}: data files consistent")
    return 0


if __name__ == "__main__":
    sys.exit(main())
