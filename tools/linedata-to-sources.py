#!/usr/bin/env python3
"""Converts the public-domain line data in ../shared/linedata (atoms.csv, molecules.csv) into
the CSV sources of Lumora's sample line database (data/linedb/). Run by a developer when the
line data change; the build only reads the committed data/linedb/ files.

    python3 tools/linedata-to-sources.py ../shared/linedata data/linedb
"""
import colorsys
import csv
import os
import sys

# Atomic numbers, so that the element table lists atoms in periodic order.
SYMBOLS = ("H He Li Be B C N O F Ne Na Mg Al Si P S Cl Ar K Ca Sc Ti V Cr Mn Fe Co Ni Cu Zn "
           "Ga Ge As Se Br Kr Rb Sr Y Zr Nb Mo Tc Ru Rh Pd Ag Cd In Sn Sb Te I Xe Cs Ba La Ce "
           "Pr Nd Pm Sm Eu Gd Tb Dy Ho Er Tm Yb Lu Hf Ta W Re Os Ir Pt Au Hg Tl Pb Bi").split()
STAGES = ["I", "II", "III", "IV"]

# Band systems commonly seen in the emission of plasmas, per molecule (matched against the
# start of the system name, upper case). Molecular ions are the "singly ionised" file of
# their neutral molecule.
MOLECULE_SYSTEMS = {
    "N2": ["SECOND POSITIVE", "FIRST POSITIVE"],
    "N2+": ["FIRST NEGATIVE", "MEINEL"],
    "OH": ["3064 Å", "3121.7 Å", "3184.8 Å", "3428.1 Å"],
    "CN": ["VIOLET SYSTEM", "RED SYSTEM"],
    "C2": ["SWAN", "DESLANDRES"],
    "CH": ["4300 Å", "3900 Å", "3143 Å"],
    "CH+": ["DOUGLAS-HERZBERG"],
    "NH": ["3360 Å", "3240 Å"],
    "CO": ["THE ÅNGSTRÖM", "THIRD POSITIVE", "THE TRIPLET", "FOURTH POSITIVE", "THE HERZBERG"],
    "CO+": ["COMET-TAIL", "FIRST NEGATIVE", "BALDET-JOHNSON"],
    "NO": ["Β SYSTEM", "Δ SYSTEM", "Ε SYSTEM"],
    "O2": ["SCHUMANN-RUNGE", "ATMOSPHERIC"],
    "O2+": ["FIRST NEGATIVE", "SECOND NEGATIVE"],
    "H2": ["SECONDARY SPECTRUM"],
    "AlO": ["GREEN SYSTEM"],
    "TiO": ["Α,", "Γ,", "Γ'", "Δ,"],
    "SiO": ["A¹Π-X¹Σ"],
}
MOLECULES = [("N2", ["N2", "N2+"]), ("O2", ["O2", "O2+"]), ("CO", ["CO", "CO+"]),
             ("CH", ["CH", "CH+"]), ("OH", ["OH"]), ("NH", ["NH"]), ("CN", ["CN"]),
             ("C2", ["C2"]), ("NO", ["NO"]), ("H2", ["H2"]), ("AlO", ["AlO"]),
             ("TiO", ["TiO"]), ("SiO", ["SiO"])]

# Characters of the transcribed system names that Windows-1252 cannot hold.
GLYPHS = {"Π": "Pi", "Σ": "Sigma", "Δ": "Delta", "Φ": "Phi", "Γ": "Gamma", "α": "alpha",
          "β": "beta", "γ": "gamma", "δ": "delta", "ε": "epsilon", "⁺": "+", "⁻": "-",
          "ᵤ": "u", "₁": "1", "₂": "2", "⁴": "4", "→": "->", "–": "-"}

HEADER = "wavelength_nm,value,lower_energy_eV,upper_energy_eV,lower_state,upper_state,j_lower,j_upper,comment"
REL_COMMENT = "rel. Int. NIST"


def plain(text):
    out = "".join(GLYPHS.get(c, c) for c in text)
    out = out.replace(";", ",")
    out.encode("cp1252")  # every character must survive the database encoding
    return out


def file_stem(label):
    return label.replace(" ", "_")


def write_species(folder, label, rows):
    rows.sort(key=lambda r: float(r[0]))
    path = os.path.join(folder, file_stem(label) + ".csv")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("species,%s,%s\n" % (label, label))
        f.write(HEADER + "\n")
        w = csv.writer(f, lineterminator="\n")
        for r in rows:
            w.writerow(r)


def number(text):
    return "%.6g" % float(text)


def colours(n):
    # Hues spread by the golden angle, two brightness levels, all dark enough for white paper.
    result, seen, i = [], set(), 0
    while len(result) < n:
        h = (i * 0.618033988749895) % 1.0
        s = 0.95 if i % 3 else 0.75
        v = 0.80 if i % 2 else 0.62
        rgb = tuple(int(round(c * 255)) for c in colorsys.hsv_to_rgb(h, s, v))
        if rgb not in seen:
            seen.add(rgb)
            result.append(rgb)
        i += 1
    return result


def main(src, dst):
    os.makedirs(dst, exist_ok=True)
    atoms = {}
    with open(os.path.join(src, "atoms.csv"), encoding="utf-8") as f:
        for r in csv.DictReader(f):
            atoms.setdefault(r["species"], []).append(r)

    species_rows = {}
    for label, rows in atoms.items():
        strongest = max((float(r["rel_int"]) for r in rows if r["rel_int"]), default=0.0)
        out = []
        for r in rows:
            if r["fik"]:
                value, comment = number(r["fik"]), ""
            elif r["rel_int"] and strongest > 0:
                # No f-value: the NIST relative intensity scaled to the species' strongest.
                value, comment = "%.4g" % (float(r["rel_int"]) / strongest), REL_COMMENT
            else:
                continue
            out.append([r["wavelength_air_nm"], value, r["ei_ev"], r["ek_ev"],
                        plain(r["lower_term"]), plain(r["upper_term"]), r["j_lower"],
                        r["j_upper"], comment])
        species_rows[label] = out

    molecules = {}
    with open(os.path.join(src, "molecules.csv"), encoding="utf-8") as f:
        for r in csv.DictReader(f):
            prefixes = MOLECULE_SYSTEMS.get(r["species"])
            if not prefixes:
                continue
            system = r["system"].upper()
            if not any(system.startswith(p) for p in prefixes):
                continue
            name = plain(r["system"])
            lower = upper = ""
            states = name.rsplit(", ", 1)[-1] if ", " in name else ""
            if "-" in states and " " not in states.strip():
                upper, lower = [s.strip() for s in states.split("-", 1)]
            page = plain(r["comment"]).split(",")[0].replace("Pearse & Gaydon (1976)", "P&G")
            comment = "Bandenkopf %s, %s" % (name, page)
            if r["rel_int"]:
                value = "%.4g" % (float(r["rel_int"]) / 1000.0)
            else:
                # The book gives no intensity for this head: strength 0, said in the comment.
                value, comment = "0", comment + ", ohne Intensitätsangabe"
            molecules.setdefault(r["species"], []).append(
                [r["wavelength_air_nm"], value, "", "",
                 lower, upper, "", "", comment])

    table = []
    for symbol in SYMBOLS:
        stages = [symbol + " " + s for s in STAGES if symbol + " " + s in species_rows]
        if not stages:
            continue
        files = []
        for i, stage in enumerate(STAGES[:len(stages)]):
            label = symbol + " " + stage
            if label not in species_rows:
                species_rows[label] = []  # keeps the later stages at their index
            files.append(label)
        table.append((symbol, "*A", files))
    for name, labels in MOLECULES:
        labels = [l for l in labels if l in molecules]
        if labels:
            table.append((name, "*M", labels))

    for label, rows in species_rows.items():
        write_species(dst, label, rows)
    for label, rows in molecules.items():
        if any(label in t[2] for t in table):
            write_species(dst, label, rows)

    with open(os.path.join(dst, "Elements.csv"), "w", encoding="utf-8", newline="") as f:
        f.write("name,text,red,green,blue,files\n")
        for (name, text, files), (r, g, b) in zip(table, colours(len(table))):
            f.write(",".join([name, text, str(r), str(g), str(b)] + [file_stem(l) for l in files]) + "\n")
    print("%d elements, %d species files" % (len(table), sum(len(t[2]) for t in table)))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
