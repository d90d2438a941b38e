#!/usr/bin/env python3
"""Makes a delay-import library from a mingw-w64 import library.

A program linked against the result binds the DLL on the first call of one of its
functions instead of at process start. The functions are those the import library
offers with a call thunk; data exports cannot be bound late and are left out. Members of
the import library that are not import stubs (the GUIDs several of them carry, such as
FOLDERID_* in shell32 or the WIC class ids in windowscodecs) are copied over unchanged.

Usage: make_delay_import.py NM DLLTOOL AR IMPORT_LIB OUT_LIB
"""
import os
import shutil
import subprocess
import sys
import tempfile


def run(*args, cwd=None):
    return subprocess.run(args, check=True, capture_output=True, text=True, cwd=cwd).stdout


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    nm, dlltool, ar, import_lib, out_lib = sys.argv[1:]
    import_lib = os.path.abspath(import_lib)
    out_lib = os.path.abspath(out_lib)
    identified = run(dlltool, "--identify", import_lib).split()
    if len(identified) != 1:
        sys.exit("make_delay_import: %s names %d DLLs, expected one" % (import_lib, len(identified)))
    dll = identified[0]

    # "archive:member:address type name" for every defined global symbol.
    symbols = []
    for line in run(nm, "-A", "-g", "--defined-only", import_lib).splitlines():
        parts = line.rsplit(None, 2)
        if len(parts) != 3 or ":" not in parts[0]:
            continue
        member = parts[0][len(import_lib) + 1:].rsplit(":", 1)[0]
        symbols.append((member, parts[1], parts[2]))
    slots = {name[len("__imp_"):] for _, kind, name in symbols if kind == "I" and name.startswith("__imp_")}
    functions = sorted({name for _, kind, name in symbols if kind == "T" and name in slots})
    if not functions:
        sys.exit("make_delay_import: no functions found in %s" % import_lib)
    stubs = {member for member, kind, name in symbols if kind == "I" or (kind == "T" and name in slots)}
    others = sorted({member for member, _, _ in symbols} - stubs)
    mixed = {member for member, kind, name in symbols
             if member in stubs and not (kind == "I" or (kind == "T" and name in slots))}
    if mixed:
        sys.exit("make_delay_import: %s mixes import stubs and other symbols in %s" % (import_lib, sorted(mixed)))

    definition = out_lib + ".def"
    with open(definition, "w") as out:
        out.write('LIBRARY "%s"\nEXPORTS\n' % dll)
        for name in functions:
            out.write(name + "\n")
    if os.path.exists(out_lib):
        os.remove(out_lib)
    # dlltool keeps its temporary objects in the current folder: each run gets its own, as
    # several libraries are made at once in a parallel build.
    work = tempfile.mkdtemp(prefix="delayimp-")
    try:
        run(dlltool, "--input-def", definition, "--dllname", dll, "--output-delaylib", out_lib, cwd=work)
        if others:
            run(ar, "x", import_lib, *others, cwd=work)
            run(ar, "qs", out_lib, *others, cwd=work)
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
