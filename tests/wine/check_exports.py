#!/usr/bin/env python3
"""Checks the built Vantrope.xfm as an editor sees it before loading it: an i386 DLL whose exports sit
at fixed ordinals under undecorated names (XfmDestroy sharing XfmInit's address), which imports only
from the system DLLs every Windows has, and which carries the toolbar bitmap resource. With --x86-64,
the same of the x86_64 test vehicle.
Reads `objdump -p`; prints one line per check; exit status 1 on any failure.
usage: check_exports.py [--x86-64] FILE [OBJDUMP]"""
import re
import subprocess
import sys

EXPECTED_ORDINALS = {"QueryXfm": 2, "XfmInit": 3, "XfmSetup": 4, "XfmDo": 5, "XfmDestroy": 6}
ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}

failures = 0


def check(ok, what, detail=""):
    global failures
    if not ok:
        failures += 1
    print(("ok: " if ok else "FAILED: ") + what + (" -- " + detail if detail else ""))


def export_tables(dump):
    """(ordinal base, {ordinal: rva}, {name: ordinal}) from the interpreted export section."""
    match = re.search(r"^Ordinal Base\s+(\d+)", dump, re.M)
    base = int(match.group(1)) if match else None
    rvas = {int(o): int(rva, 16)
            for o, rva in re.findall(r"^\s*\[\s*\d+\] \+base\[\s*(\d+)\] ([0-9a-f]+) Export RVA", dump, re.M)}
    names = {}
    table = dump.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) == 2 and base is not None:
        for line in table[1].splitlines()[1:]:
            entry = re.match(r"^\s*\[\s*(\d+)\] (\S+)\s*$", line)
            if not entry:
                break
            names[entry.group(2)] = int(entry.group(1)) + base
    return base, rvas, names


def check_exports(dump):
    base, rvas, names = export_tables(dump)
    check(base == 2, "ordinal base is 2", "got %s" % base)
    check(set(names) == set(EXPECTED_ORDINALS), "exactly the five undecorated names are exported",
          "got %s" % sorted(names))
    for name, ordinal in EXPECTED_ORDINALS.items():
        check(names.get(name) == ordinal, "%s is ordinal %d" % (name, ordinal), "got %s" % names.get(name))
    check(set(rvas) == set(EXPECTED_ORDINALS.values()), "the address table holds ordinals 2 to 6 only",
          "got %s" % sorted(rvas))
    check(rvas.get(3) is not None and rvas.get(3) == rvas.get(6), "XfmDestroy has XfmInit's address",
          "XfmInit %s, XfmDestroy %s" % (rvas.get(3), rvas.get(6)))
    others = [rvas.get(o) for o in (2, 3, 4, 5)]
    check(None not in others and len(set(others)) == 4, "the four routines have distinct addresses")


def check_imports(dump):
    dlls = re.findall(r"^\s*DLL Name: (\S+)", dump, re.M)
    check(bool(dlls), "the import table lists its DLLs")
    extra = sorted(d for d in dlls if d.lower() not in ALLOWED_IMPORTS)
    check(not extra, "imports only from KERNEL32, USER32, GDI32 and msvcrt", "also %s" % extra if extra else "")


def check_bitmap_resource(dump):
    """The name entry VANTROPE_TOOLBARICON must sit under the type entry RT_BITMAP (2)."""
    current_type = None
    found_under = []
    for line in dump.split("The .rsrc Resource Directory section:", 1)[-1].splitlines():
        entry = re.match(r"^[0-9a-f]+( +)Entry: (?:ID: 0x([0-9a-f]+)|name: \[[^]]*\]: (\S+)),", line)
        if not entry:
            continue
        depth = len(entry.group(1))
        if entry.group(2) is not None and depth == 3:
            current_type = int(entry.group(2), 16)
        elif entry.group(3) == "VANTROPE_TOOLBARICON":
            found_under.append(current_type)
    check(found_under == [2], "bitmap resource VANTROPE_TOOLBARICON is present once",
          "found under resource types %s" % found_under)


def main():
    args = sys.argv[1:]
    wide = bool(args) and args[0] == "--x86-64"
    if wide:
        args = args[1:]
    if len(args) not in (1, 2):
        print(__doc__.splitlines()[-1], file=sys.stderr)
        return 2
    objdump = args[1] if len(args) == 2 else ("x86_64" if wide else "i686") + "-w64-mingw32-objdump"
    run = subprocess.run([objdump, "-p", args[0]], capture_output=True, text=True)
    if run.returncode != 0:
        print("FAILED: %s -p %s: %s" % (objdump, args[0], run.stderr.strip()))
        return 1
    dump = run.stdout
    if wide:
        check("file format pei-x86-64" in dump, "the file is a 64-bit x86-64 PE image")
    else:
        check("file format pei-i386" in dump, "the file is a 32-bit i386 PE image")
    flags = re.search(r"^Characteristics (0x[0-9a-f]+)", dump, re.M)
    check(flags is not None and int(flags.group(1), 16) & 0x2000 != 0, "the image is a DLL")
    check_exports(dump)
    check_imports(dump)
    check_bitmap_resource(dump)
    print("%s" % ("all checks passed" if failures == 0 else "%d checks failed" % failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
