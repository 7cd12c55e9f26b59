#!/usr/bin/env python3
"""The globals check: every mutable global of production code is named gCamel and names its
owner module.

Usage: check_globals.py SOURCE_DIR
A global is a variable at namespace scope that is not a constant (const or constexpr): an
extern declaration in a header, or a definition in a source file that no header declares
(anonymous-namespace and static state included). Each one needs an "Owner:" comment in the
block of lines it stands in: on the lines above it, up to the first blank line. The definition
of a global a header declares is passed over; its header says the owner.
Prints one line per global out of form or without an owner and exits 1 when there is any.
"""
import os
import re
import sys

sys.dont_write_bytecode = True  # the check runs from the source tree: leave no cache in it
from check_structure import is_above_everything, report, source_dir_argument, tracked_files

SKIPPED_STARTS = re.compile(
    r"^(using|typedef|template|friend|static_assert|class|struct|enum|union|namespace|return|"
    r"extern\s+template|#)\b")
FUNCTION_POINTER = re.compile(r"\(\s*\*\s*\w+\s*\)")
DECLARATOR = re.compile(r"(\w+)\s*(\[[^\]]*\]\s*)*$")
GLOBAL_NAME = re.compile(r"^g[A-Z][A-Za-z0-9]*$")


def production_files(source_dir):
    """The C++ files of the system itself: not tests, benchmarks, fuzz targets, harnesses or
    the build's tools."""
    return sorted(n for n in tracked_files(source_dir) if n.endswith((".cpp", ".h")) and
                  not is_above_everything(n) and not n.startswith("tools/"))


def blank_out(text):
    """The text with comments, string and character literals and preprocessor lines turned
    into spaces, so braces and semicolons in them do not count; line breaks are kept."""
    out = []
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#" or (line_start and c in " \t" and
                                       text[i:].lstrip(" \t").startswith("#")):
            end = i
            while end < n and (text[end] != "\n" or text[end - 1] == "\\"):
                end += 1
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
            continue
        line_start = False
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(" " * (end - i))
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
        elif c == 'R' and text.startswith('R"', i):
            delim_end = text.find("(", i)
            delim = text[i + 2:delim_end]
            end = text.find(")" + delim + '"', delim_end)
            end = n if end < 0 else end + len(delim) + 2
            out.append('""' + re.sub(r"[^\n]", " ", text[i + 2:end]))
            i = end
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(c + " " * (min(j, n) - i - 1) + c)
            i = j + 1
        else:
            out.append(c)
            if c == "\n":
                line_start = True
            i += 1
    return "".join(out)


def is_function_head(head):
    """Whether the text before a brace opens a function body (or a constructor's member
    initialiser, which the body follows): a parameter list not after an "=" of an initialiser."""
    if "(" not in head:
        return False
    return "=" not in head.split("(")[0] or re.search(r"\boperator\b", head) is not None


def statements_at_namespace_scope(code):
    """(statement text, offset of its first character, inside an anonymous namespace) for each
    statement that ends with a semicolon at namespace scope; braces of initialisers are kept
    as "{}" and function bodies end their statement."""
    stack = []  # per open brace: "namespace", "anonymous" or "other"
    statement, start = [], None
    i = 0
    while i < len(code):
        c = code[i]
        at_namespace = all(kind != "other" for kind in stack)
        if not at_namespace:
            if c == "{":
                stack.append("other")
            elif c == "}":
                stack.pop()
                if all(kind != "other" for kind in stack):
                    head = "".join(statement)
                    if is_function_head(head) or not head.strip():
                        statement, start = [], None  # a function body ends its statement
                    else:
                        statement.append("{}")
            i += 1
            continue
        if c == "{":
            head = "".join(statement).strip()
            if re.match(r"^(inline\s+)?namespace\b", head) or re.match(r'^extern\s*"\s*"$', head):
                stack.append("anonymous" if re.match(r"^namespace$", head) else "namespace")
                statement, start = [], None
            else:
                stack.append("other")
        elif c == "}":
            if stack:
                stack.pop()
            statement, start = [], None
        elif c == ";":
            yield "".join(statement).strip(), start, "anonymous" in stack
            statement, start = [], None
        else:
            if start is None and not c.isspace():
                start = i
            statement.append(c)
        i += 1


def global_name(statement):
    """The variable a namespace-scope statement declares when it is a mutable global, else
    None (functions, types, aliases, constants)."""
    text = re.sub(r"\[\[.*?\]\]", " ", statement).strip()
    if not text or SKIPPED_STARTS.match(text):
        return None
    declaration = re.split(r"=|\{\}", text, maxsplit=1)[0].strip()
    if "(" in declaration:
        pointer = FUNCTION_POINTER.search(declaration)
        if not pointer or pointer.start() != declaration.index("("):
            return None  # a function, whatever pointers its parameters hold
        name = re.search(r"\w+", pointer.group(0)).group(0)
    else:
        if re.search(r"\boperator\b", declaration):
            return None
        match = DECLARATOR.search(declaration)
        if not match or len(re.findall(r"\w+", declaration)) < 2:
            return None
        name = match.group(1)
    if re.search(r"\bconstexpr\b", text):
        return None
    pointer_part = declaration.rsplit("*", 1)
    if "*" in declaration:
        if re.search(r"\bconst\b", pointer_part[1]):
            return None
    elif re.search(r"\bconst\b", declaration):
        return None
    return name


def has_owner(lines, index):
    """Whether an "Owner:" comment stands on the line or above it within its block."""
    while index >= 0 and lines[index].strip():
        if "Owner:" in lines[index]:
            return True
        index -= 1
    return False


def globals_of(path, source_dir):
    """(name, line, is extern declaration, has internal linkage, owned) for each global."""
    text = open(os.path.join(source_dir, path), encoding="latin-1").read()
    code = blank_out(text)
    lines = text.split("\n")
    found = []
    for statement, start, anonymous in statements_at_namespace_scope(code):
        name = global_name(statement)
        if name is None:
            continue
        line = code.count("\n", 0, start)
        is_extern = statement.startswith("extern")
        internal = anonymous or statement.startswith("static")
        found.append((name, line + 1, is_extern, internal, has_owner(lines, line)))
    return found


def main():
    source_dir = source_dir_argument(__doc__)
    files = production_files(source_dir)
    found = {path: globals_of(path, source_dir) for path in files}
    declared = {name for path, rows in found.items() if path.endswith(".h")
                for name, _, is_extern, _, _ in rows if is_extern}
    problems, count = [], 0
    for path, rows in found.items():
        for name, line, is_extern, internal, owned in rows:
            if path.endswith(".cpp") and not internal and name in declared:
                continue
            count += 1
            if not GLOBAL_NAME.match(name):
                problems.append(f"{path}:{line}: global {name} is not named in the gCamel form")
            if not owned:
                problems.append(f"{path}:{line}: global {name} has no \"Owner:\" comment")
    return report(problems, f"{len(problems)} problems among {count} globals",
                  f"{count} globals in {len(files)} files, each named gCamel with its owner module")


if __name__ == "__main__":
    sys.exit(main())
