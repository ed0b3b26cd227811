#!/usr/bin/env python3
"""Writes forms/uGtkDeclarations_gtk.h: the part of GTK 3, GLib and GObject
that the GTK views use, taken from the GTK development headers of this machine,
so that the library builds where those headers are not installed.

What is taken: the prototypes of the functions in WQ_GTK_FUNCTIONS
(forms/uGtkApi_gtk.h) and every GTK or GLib name the views spell (types, enum
constants, macros), each with what its declaration needs in turn. Structures
are opaque but for VALUE_TYPES, which the views keep on the stack or read.
Prototypes and types come from clang's printout of <gtk/gtk.h>, enum values
and underlying types from a program compiled against it, macros as the
preprocessor holds them. Needs clang, a C++ compiler and pkg-config with
gtk+-3.0; run again after a change to the views or the function table.
"""

import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")
OUTPUT = os.path.join(FORMS, "uGtkDeclarations_gtk.h")
TABLE = os.path.join(FORMS, "uGtkApi_gtk.h")

# Structures the views hold by value or read fields of.
VALUE_TYPES = {"GError", "GList", "GtkTextIter", "GtkTreeIter"}
# GTK and GLib names are spelled this way: the C library's (size_t, NULL) are never taken.
GLIB_NAME = re.compile(r"^(?:G[A-Za-z_]\w*|g[a-z]+|TRUE|FALSE)$")
IDENTIFIER = re.compile(r"[A-Za-z_]\w*")


def run(command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def gtk_flags():
    return run(["pkg-config", "--cflags", "gtk+-3.0"]).split()


def strip_comments_and_strings(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    return re.sub(r'u?"(?:\\.|[^"\\])*"', '""', text)


def table_functions():
    with open(TABLE, encoding="utf-8") as table:
        text = table.read()
    body = re.search(r"#define WQ_GTK_FUNCTIONS\(X\)(.*?)\n\n", text, re.S)
    return re.findall(r"X\((\w+)\)", body.group(1))


def view_identifiers():
    names = set()
    for name in sorted(os.listdir(FORMS)):
        path = os.path.join(FORMS, name)
        if re.search(r"_gtk\.(cpp|h)$", name) and path != OUTPUT:
            with open(path, encoding="utf-8") as view:
                names.update(IDENTIFIER.findall(strip_comments_and_strings(view.read())))
    return {name for name in names if GLIB_NAME.match(name)}


def top_level_declarations(printout):
    """clang's -ast-print of the C headers, one string a top-level declaration,
    without attributes (deprecation, format checks, visibility)."""
    declarations, lines, depth = [], [], 0
    for line in printout.splitlines():
        line = without_attributes(line)
        lines.append(line)
        code = re.sub(r"'(?:\\.|[^'\\])*'|\"(?:\\.|[^\"\\])*\"", "", line)
        depth += code.count("{") - code.count("}")
        stripped = line.strip()
        if depth == 0 and (stripped.endswith(";") or stripped == "}"):
            declarations.append("\n".join(lines))
            lines = []
    return declarations


class Headers:
    """Where each GLib and GTK name is declared in clang's printout."""

    def __init__(self, declarations, macros):
        self.declarations = declarations
        self.macros = macros
        self.functions = {}     # name -> index
        self.typedefs = {}      # name -> index
        self.structs = {}       # tag without the underscore -> index of its definition
        self.enumerators = {}   # constant -> enum type
        for index, text in enumerate(declarations):
            self._index(index, text)

    def _index(self, index, text):
        first = text.split("\n", 1)[0]
        if match := re.match(r"^(?:extern )?[^(]*?\b(\w+)\(", first):
            if not first.startswith(("typedef", "struct", "union", "enum")) and "=" not in first.split("(")[0]:
                self.functions.setdefault(match.group(1), index)
                return
        if match := re.match(r"^struct _(\w+) \{", first):
            self.structs.setdefault(match.group(1), index)
            return
        if not text.startswith("typedef"):
            return
        if match := re.search(r"\}\s*(\w+);$", text):  # typedef enum { ... } Name;
            name = match.group(1)
            body = text[text.index("{") + 1:text.rindex("}")]
            if text.startswith("typedef enum"):
                for constant in re.findall(r"^\s*(\w+)", body, re.M):
                    self.enumerators[constant] = name
        elif match := re.search(r"\(\*(\w+)\)\(", first):  # a function pointer
            name = match.group(1)
        else:
            name = re.search(r"(\w+)(?:\[\d*\])*;$", first).group(1)
        self.typedefs.setdefault(name, index)


class Selection:
    """What the views need, found by following each name to its declaration."""

    def __init__(self, headers):
        self.headers = headers
        self.functions = {}        # name -> index
        self.typedefs = set()      # indices
        self.struct_definitions = set()
        self.opaque = set()        # structure names
        self.values = set()        # structure names, defined
        self.enum_constants = {}   # enum type -> constants
        self.macros = set()

    def need_function(self, name):
        index = self.headers.functions.get(name)
        if index is None:
            sys.exit(f"{name}: no such function in GTK's headers")
        self.functions[name] = index
        self.need_names(IDENTIFIER.findall(prototype(self.headers.declarations[index])))

    def need_names(self, names):
        for name in names:
            self.need_name(name)

    def need_name(self, name):
        headers = self.headers
        if name in headers.macros and GLIB_NAME.match(name) and name not in self.macros:
            self.macros.add(name)
            self.need_names(IDENTIFIER.findall(headers.macros[name].split(None, 2)[2]))
        elif name in headers.enumerators:
            enum = headers.enumerators[name]
            constants = self.enum_constants.setdefault(enum, set())
            constants.add(name)
            self.need_name(enum)
        elif name in headers.typedefs and headers.typedefs[name] not in self.typedefs:
            index = headers.typedefs[name]
            self.typedefs.add(index)
            text = headers.declarations[index]
            if text.startswith("typedef enum"):
                self.enum_constants.setdefault(name, set())
            elif re.match(rf"^typedef struct _{name} {name};$", text):
                if name in VALUE_TYPES:
                    self.need_struct(name)
                else:
                    self.opaque.add(name)
            else:
                self.need_names(IDENTIFIER.findall(text))

    def need_struct(self, name):
        index = self.headers.structs[name]
        if index not in self.struct_definitions:
            self.struct_definitions.add(index)
            self.values.add(name)
            body = self.headers.declarations[index].split("{", 1)[1]
            self.need_names(IDENTIFIER.findall(body))


def without_attributes(text):
    return re.sub(r" __attribute__\(\(.*\)\)", "", text)


def prototype(text):
    """A function's declaration without extern."""
    return re.sub(r"^extern ", "", text)


def enum_facts(selection):
    """Each enum's underlying type and each chosen constant's value, as GTK compiles them."""
    lines = ["#include <gtk/gtk.h>", "#include <cstdio>", "#include <type_traits>",
             "template <typename E> void Enum(const char* AName) {",
             "    using U = std::underlying_type_t<E>;",
             "    std::printf(\"enum %s %s%s\\n\", AName, std::is_signed_v<U> ? \"\" : \"unsigned \",",
             "                sizeof(U) == sizeof(int) ? \"int\" : \"long\");",
             "}", "int main() {"]
    for enum, constants in sorted(selection.enum_constants.items()):
        lines.append(f"    Enum<{enum}>(\"{enum}\");")
        lines += [f"    std::printf(\"value {c} %lld\\n\", static_cast<long long>({c}));" for c in sorted(constants)]
    lines.append("}")
    with tempfile.TemporaryDirectory() as folder:
        source, program = os.path.join(folder, "probe.cpp"), os.path.join(folder, "probe")
        with open(source, "w", encoding="utf-8") as probe:
            probe.write("\n".join(lines) + "\n")
        run(["c++", "-std=c++20", *gtk_flags(), source, "-o", program])
        output = run([program])
    underlying, values = {}, {}
    for line in output.splitlines():
        kind, name, value = line.split(" ", 2)
        (underlying if kind == "enum" else values)[name] = value
    return underlying, values


def declaration_text(selection, index, underlying, values):
    text = selection.headers.declarations[index]
    if index in selection.struct_definitions:
        return re.sub(r"^struct _(\w+) \{", r"struct \1 {", text)
    if match := re.match(r"^typedef struct _(\w+) \1;$", text):
        return f"struct {match.group(1)};"
    if text.startswith("typedef enum"):
        name = re.search(r"(\w+);$", text).group(1)
        constants = sorted(selection.enum_constants[name], key=lambda c: (int(values[c]), c))
        body = "".join(f"\n    {c} = {values[c]}," for c in constants)
        return f"enum {name} : {underlying[name]} {{{body}\n}};" if body else f"enum {name} : {underlying[name]} {{}};"
    return text


def x_list(name, items):
    entries = " ".join(f"X({item})" for item in items)
    return f"#define {name}(X) {entries}" if entries else f"#define {name}(X)"


def render(selection, versions):
    headers = selection.headers
    underlying, values = enum_facts(selection)
    types = "\n".join(declaration_text(selection, index, underlying, values)
                      for index in sorted(selection.typedefs | selection.struct_definitions))
    functions = "\n".join(prototype(headers.declarations[index]) for index in sorted(selection.functions.values()))
    macros = "\n".join(headers.macros[name] for name in sorted(selection.macros))
    constants = sorted(c for group in selection.enum_constants.values() for c in group)
    return f"""\
// GTK 3, GLib and GObject as far as the views use them, declared here so that
// the library builds without GTK's development files: it loads GTK at run
// time (uGtkApi_gtk.h) and never links it. Generated by
// scripts/gtk_declarations.py from the headers of GTK {versions['gtk+-3.0']}, GLib
// {versions['glib-2.0']} on x86_64 Linux (GTK 3 keeps this ABI); edit the views or
// the function table, then run it again. Inside forms::gtk, so that a file
// that also includes GTK's own headers sees both without conflict; the
// macros are GLib's to the letter, which makes their second definition legal.
// tests/ui/GtkDeclarationsCheck.cpp holds these against GTK's headers.
#pragma once

namespace forms::gtk {{

{types}

// Prototypes only name the types of the function table's entries: GTK is
// reached through the table, never linked.
namespace prototypes {{
{functions}
}}  // namespace prototypes

}}  // namespace forms::gtk

{macros}

// What is declared above, for the check against GTK's headers.
{x_list("WQ_GTK_OPAQUE_TYPES", sorted(selection.opaque))}
{x_list("WQ_GTK_VALUE_TYPES", sorted(selection.values))}
{x_list("WQ_GTK_ENUM_TYPES", sorted(selection.enum_constants))}
{x_list("WQ_GTK_ENUM_CONSTANTS", constants)}
"""


def main():
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "gtk.c")
        with open(source, "w", encoding="utf-8") as probe:
            probe.write("#include <gtk/gtk.h>\n")
        printout = run(["clang", "-fsyntax-only", "-Xclang", "-ast-print", *gtk_flags(), source])
        defines = run(["clang", "-E", "-dM", *gtk_flags(), source])
    macros = {}
    for line in defines.splitlines():
        name = re.match(r"#define (\w+)", line).group(1)
        macros[name] = line
    headers = Headers(top_level_declarations(printout), macros)
    selection = Selection(headers)
    for function in table_functions():
        selection.need_function(function)
    selection.need_names(sorted(view_identifiers()))
    versions = {module: run(["pkg-config", "--modversion", module]).strip() for module in ("gtk+-3.0", "glib-2.0")}
    with open(OUTPUT, "w", encoding="utf-8") as header:
        header.write(render(selection, versions))


if __name__ == "__main__":
    main()
