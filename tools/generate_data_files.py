#!/usr/bin/env python3
"""Writes share/orvane/elem.txt, abundances.txt, masses.txt and isotopes.txt
from the Blue Obelisk Data Repository (Debian package bodr): every element with a natural
isotopic composition, in atomic-number order, with the masses of NIST SRD 144.

elem.txt holds two lines, "Atom" and the symbols, "AW" and the standard atomic weights
as elements.xml writes them. abundances.txt holds one line per element with the 21
fields Width, p1..p9, x0..x9, Elem:

- offset 0 is the element's weight rounded half to even, where the pattern engine puts
  an atom's unshifted share. When no natural isotope has that mass number (Br, Cu, ...)
  x0 is 0 and every natural isotope takes a p slot, so the pattern still lands on the
  true masses;
- p1..p9 are the other natural isotopes' mass numbers minus offset 0, ascending;
- Width is the largest absolute offset, at least 1, so no isotope falls outside the
  engine's window;
- the abundances are the source's texts, rescaled to add to 100 where they do not;
- an element with more natural isotopes than free slots keeps the most abundant ones,
  rescaled (bodr 2019 has none).

masses.txt holds, line for line with abundances.txt, the 11 fields M0..M9, Elem: the
exact mass in u of the isotope in each slot, "0" where the slot's abundance is 0.

isotopes.txt holds every isotope with an exact mass of the elements of elem.txt, in their
order, mass numbers ascending: "symbol TAB mass number TAB exact mass in u". Isotope labels
such as [14C] or [125I] take their masses from it.

Both take their masses from one evaluation, so that an isotope has one mass wherever it is
asked: NIST's Standard Reference Data 144, the 2016 Atomic Mass Evaluation, as the Debian
package python3-qcelemental ships the table (read as data, not imported), the masses the
common formula finders use. The texts are NIST's.

Standard library only. Usage: generate_data_files.py [--bodr DIR] [--nist FILE] [--out DIR]
"""

import argparse
import ast
import os
import re
import sys
import xml.etree.ElementTree as ET
from decimal import ROUND_HALF_EVEN, Decimal

CML = "{http://www.xml-cml.org/schema}"
SLOTS = 10  # x0..x9
LINE_END = "\r\n"


def scalar(node, dict_ref):
    for child in node.findall(CML + "scalar"):
        if child.get("dictRef") == dict_ref:
            return child.text.strip()
    return None


def read_elements(path):
    """Symbol -> (atomic number, weight text) for every element with a weight."""
    elements = {}
    for atom in ET.parse(path).getroot().findall(CML + "atom"):
        number = int(scalar(atom, "bo:atomicNumber"))
        weight = scalar(atom, "bo:mass")
        if number > 0 and weight is not None:
            elements[atom.get("id")] = (number, weight)
    return elements


def read_natural_isotopes(path):
    """Symbol -> [(mass number, abundance text)] of the isotopes with a natural abundance."""
    isotopes = {}
    for isotope_list in ET.parse(path).getroot().findall(CML + "isotopeList"):
        natural = []
        for isotope in isotope_list.findall(CML + "isotope"):
            abundance = scalar(isotope, "bo:relativeAbundance")
            if abundance is not None and Decimal(abundance) > 0:
                natural.append((int(isotope.get("number")), abundance))
        if natural:
            isotopes[isotope_list.get("id")] = sorted(natural)
    return isotopes


def read_nist_isotopes(path):
    """Symbol -> [(mass number, exact mass text)] from NIST SRD 144 as python3-qcelemental
    holds it: one dict literal whose "EA" names isotopes ("Br79") and "mass" their masses."""
    with open(path, encoding="utf-8") as source:
        tree = ast.parse(source.read(), path)
    assignments = [node for node in tree.body if isinstance(node, ast.Assign)]
    if len(assignments) != 1:
        raise SystemExit(f"{path}: not one table")
    table = ast.literal_eval(assignments[0].value)
    isotopes = {}
    for name, mass in zip(table["EA"], table["mass"]):
        # "D", "T" and bare symbols name isotopes listed under their mass numbers as well
        match = re.fullmatch(r"([A-Z][a-z]?)(\d+)", name)
        if match:
            isotopes.setdefault(match.group(1), []).append((int(match.group(2)), mass))
    return {symbol: sorted(known) for symbol, known in isotopes.items()}


def round_half_even(text):
    return int(Decimal(text).quantize(Decimal(1), rounding=ROUND_HALF_EVEN))


def decimal_text(value):
    """12 significant digits, fixed notation, trailing zeros dropped."""
    text = format(value.quantize(Decimal(1).scaleb(value.adjusted() - 11)), "f")
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


def abundance_row(symbol, weight, natural, notes):
    nominal = round_half_even(weight)
    has_nominal = any(mass == nominal for mass, _ in natural)
    free = SLOTS if has_nominal else SLOTS - 1
    kept = natural
    if len(natural) > free:
        kept = sorted(natural, key=lambda item: -Decimal(item[1]))[:free]
        if not any(mass == nominal for mass, _ in kept):
            kept = sorted(natural, key=lambda item: -Decimal(item[1]))[: SLOTS - 1]
        kept.sort()
        has_nominal = any(mass == nominal for mass, _ in kept)
        notes.append(f"{symbol}: {len(natural)} natural isotopes, kept the {len(kept)} most abundant")
    if not has_nominal:
        notes.append(f"{symbol}: no natural isotope at {nominal}, x0 = 0")

    total = sum(Decimal(text) for _, text in kept)
    if total == 100:
        abundances = {mass: text for mass, text in kept}
    else:
        abundances = {mass: decimal_text(Decimal(text) * 100 / total) for mass, text in kept}
        notes.append(f"{symbol}: abundances added to {total}, rescaled to 100")

    offsets = ["0"] * (SLOTS - 1)
    shares = ["0"] * SLOTS
    if has_nominal:
        shares[0] = abundances[nominal]
    others = [mass for mass, _ in kept if mass != nominal]
    for slot, mass in enumerate(others, start=1):
        offsets[slot - 1] = str(mass - nominal)
        shares[slot] = abundances[mass]
    width = max([1] + [abs(mass - nominal) for mass in others])
    return [str(width)] + offsets + shares + [symbol]


def mass_row(symbol, weight, row, masses):
    """M0..M9, Elem for an abundances.txt row: slot 0 is the rounded weight, slot k that
    plus the offset pk; a slot of abundance 0 holds "0"."""
    nominal = round_half_even(weight)
    offsets = [0] + [int(field) for field in row[1:SLOTS]]
    shares = row[SLOTS : 2 * SLOTS]
    fields = []
    for offset, share in zip(offsets, shares):
        if Decimal(share) == 0:
            fields.append("0")
        elif nominal + offset in masses:
            fields.append(masses[nominal + offset])
        else:
            raise SystemExit(f"{symbol}{nominal + offset}: a natural isotope without a mass")
    return fields + [row[-1]]


def write_lines(path, lines):
    with open(path, "w", encoding="ascii", newline="") as out:
        for line in lines:
            out.write(line + LINE_END)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bodr", default="/usr/share/bodr")
    parser.add_argument(
        "--nist",
        default="/usr/lib/python3/dist-packages/qcelemental/data/nist_2011_atomic_weights.py",
    )
    parser.add_argument(
        "--out",
        default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "share", "orvane"),
    )
    args = parser.parse_args()

    elements = read_elements(os.path.join(args.bodr, "elements.xml"))
    natural = read_natural_isotopes(os.path.join(args.bodr, "isotopes.xml"))
    symbols = sorted((s for s in natural if s in elements), key=lambda s: elements[s][0])

    notes = []
    rows = [abundance_row(s, elements[s][1], natural[s], notes) for s in symbols]
    nist = read_nist_isotopes(args.nist)
    mass_rows = [
        mass_row(s, elements[s][1], row, dict(nist.get(s, []))) for s, row in zip(symbols, rows)
    ]
    os.makedirs(args.out, exist_ok=True)
    write_lines(
        os.path.join(args.out, "elem.txt"),
        ["\t".join(["Atom"] + symbols), "\t".join(["AW"] + [elements[s][1] for s in symbols])],
    )
    write_lines(os.path.join(args.out, "abundances.txt"), ["\t".join(row) for row in rows])
    write_lines(os.path.join(args.out, "masses.txt"), ["\t".join(row) for row in mass_rows])
    write_lines(
        os.path.join(args.out, "isotopes.txt"),
        [f"{s}\t{number}\t{mass}" for s in symbols for number, mass in nist.get(s, [])],
    )

    print(f"{len(symbols)} elements written to {os.path.normpath(args.out)}")
    for note in notes:
        print("  " + note)
    return 0


if __name__ == "__main__":
    sys.exit(main())
