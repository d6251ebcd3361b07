#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Names every mutable global of the game's code (src/game): a variable defined or declared at
namespace scope (anonymous namespaces and `static` ones included), a `static` data member, or a
`static` or `thread_local` variable inside a function, that is neither `constexpr` nor `const`
itself (a pointer to const data is not enough: the pointer must be const too). The game keeps
its state in the Game value it hands around, so none may exist.

A plain pass over the text, not a compiler: comments, strings and preprocessor lines are set
aside, braces are followed to tell namespaces, classes, function bodies and initializers apart,
and a declaration with parentheses is taken for a function unless an argument is a literal.

  check-game-globals.py               check src/game (exit 1 naming each mutable global)
  check-game-globals.py --self-test   check a small fixture, and fail unless exactly its
                                      mutable globals are named
"""

import os
import re
import sys

ROOT = "src/game"
SOURCE_SUFFIXES = (".cpp", ".h")
WORD = re.compile(r"[A-Za-z_]\w*")
TEMPLATE_HEAD = re.compile(r"^template\s*<")
TYPE_BODY = re.compile(r"\b(class|struct|union|enum)\b")
LITERAL_ARGUMENT = re.compile(r"^\s*([0-9'\"{-]|true\b|false\b|nullptr\b)")
NOT_VARIABLES = ("using", "typedef", "static_assert", "friend", "namespace", "return")


def blank_out(text):
    """The text with comments, string and character literals and preprocessor lines replaced by
    spaces (strings by an empty literal), line breaks kept so that line numbers stay true."""
    out = []
    i = 0
    at_line_start = True
    while i < len(text):
        c = text[i]
        if at_line_start and c == "#":
            end = i
            while True:
                end = text.find("\n", end)
                if end == -1:
                    end = len(text)
                    break
                if text[end - 1] != "\\":
                    break
                end += 1
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
            continue
        if c == "/" and text.startswith("//", i):
            end = text.find("\n", i)
            end = len(text) if end == -1 else end
            out.append(" " * (end - i))
            i = end
            continue
        if c == "/" and text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = len(text) if end == -1 else end + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
            continue
        raw = re.match(r'R"([^(\s]*)\(', text[i:])
        if raw and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            end = text.find(")" + raw.group(1) + '"', i)
            end = len(text) if end == -1 else end + len(raw.group(1)) + 2
            out.append('""' + re.sub(r"[^\n]", " ", text[i + 2 : end]))
            i = end
            continue
        if c in "\"'":
            j = i + 1
            while j < len(text) and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(c + c + " " * (j - i - 1))
            i = j + 1
            continue
        out.append(c)
        if c == "\n":
            at_line_start = True
        elif not c.isspace():
            at_line_start = False
        i += 1
    return "".join(out)


def matching_brace(text, start):
    """The index just past the brace that closes the one at start."""
    depth = 0
    for i in range(start, len(text)):
        if text[i] == "{":
            depth += 1
        elif text[i] == "}":
            depth -= 1
            if depth == 0:
                return i + 1
    return len(text)


def top_level_parens(statement):
    """The text inside the statement's first pair of parentheses, or None."""
    start = statement.find("(")
    if start == -1:
        return None
    depth = 0
    for i in range(start, len(statement)):
        if statement[i] == "(":
            depth += 1
        elif statement[i] == ")":
            depth -= 1
            if depth == 0:
                return statement[start + 1 : i]
    return statement[start + 1 :]


def outside_parens(text):
    """The text with the inside of every pair of parentheses taken out."""
    previous = None
    while previous != text:
        previous, text = text, re.sub(r"\([^()]*\)", "()", text)
    return text


def is_function(statement):
    """Whether a declaration with parentheses before any '=' declares a function."""
    before = statement.split("=", 1)[0]
    if "(" not in before:
        return False
    if re.search(r"\boperator\b", before):
        return True
    inside = top_level_parens(before)
    if inside is None or not inside.strip():
        return True
    return not any(LITERAL_ARGUMENT.match(argument) for argument in inside.split(","))


def declared_name(statement):
    """The first declarator's name: the last word before '=', '{', '[' or '(' or the end."""
    head = re.split(r"[=\[{(]", statement, 1)[0]
    words = WORD.findall(head)
    return words[-1] if words else "?"


def is_mutable_variable(statement):
    """Whether a statement that ends with ';' defines or declares a mutable variable."""
    statement = statement.strip()
    while TEMPLATE_HEAD.match(statement):
        depth = 0
        for i, c in enumerate(statement):
            depth += {"<": 1, ">": -1}.get(c, 0)
            if c == ">" and depth == 0:
                statement = statement[i + 1 :].strip()
                break
        else:
            return False
    words = WORD.findall(statement)
    if not words or words[0] in NOT_VARIABLES:
        return False
    if re.match(r"^extern\s*\"\"", statement):
        statement = statement[statement.index('""') + 2 :]
        words = WORD.findall(statement)
    if TYPE_BODY.search(statement) and re.search(r"\{\}\s*$", statement):
        return False  # a type's definition, with no variable after its body
    if re.match(r"^(enum|class|struct|union)\b[^={}]*$", statement):
        return False  # a type's declaration
    if is_function(statement):
        return False
    if "constexpr" in words:
        return False
    head = re.split(r"[=\[{]", statement, 1)[0]
    if "*" in head:
        return not re.search(r"\bconst\b", head[head.rindex("*") :])
    return "const" not in WORD.findall(head)


def local_statics(body, offset, text):
    """(offset, statement) of every function-local static or thread_local statement."""
    found = []
    for match in re.finditer(r"(?:^|(?<=[;{}]))\s*((?:static|thread_local)\b[^;]*);", body):
        if re.match(r"static_assert\b|static_cast\b", match.group(1)):
            continue
        found.append((offset + match.start(1), match.group(1)))
    return found


def check_text(text):
    """(line, name) of every mutable global in one file's text."""
    code = blank_out(text)
    found = []

    def line_of(index):
        return code.count("\n", 0, index) + 1

    def flag(index, statement):
        found.append((line_of(index), declared_name(statement)))

    def scan(start, end, in_class):
        """Scans the declarations between start and end at namespace (or class) scope."""
        statement = ""
        statement_start = start
        i = start
        while i < end:
            c = code[i]
            if not statement.strip():
                statement_start = i
            if c == "{":
                head = statement.strip()
                close = matching_brace(code, i)
                if re.match(r"^(inline\s+)?namespace\b", head) or re.match(r'^extern\s*""', head):
                    scan(i + 1, close - 1, False)
                    statement = ""
                    i = close
                    continue
                if (
                    TYPE_BODY.search(head)
                    and "(" not in head
                    and "=" not in head
                    and not re.search(r"\benum\b", head)
                ):
                    scan(i + 1, close - 1, True)
                    statement += "{}"
                    i = close
                    continue
                if "(" in head and "=" not in outside_parens(head).replace("operator=", ""):
                    # A function's body, after any member initializers it has.
                    while True:
                        for offset, inner in local_statics(code[i + 1 : close - 1], i + 1, code):
                            if is_mutable_variable(inner):
                                flag(offset, inner)
                        rest = code[close:end].lstrip()
                        if not rest.startswith(("{", ",")):
                            break
                        i = code.index(rest[0], close)
                        if rest[0] == ",":
                            i = code.index("{", i)
                        close = matching_brace(code, i)
                    statement = ""
                    i = close
                    continue
                statement += "{}"
                i = close
                continue
            if c == "}":
                statement = ""
            elif c == ";":
                words = WORD.findall(statement)
                if in_class:
                    if "static" in words and is_mutable_variable(statement):
                        flag(statement_start, statement)
                elif is_mutable_variable(statement):
                    flag(statement_start, statement)
                statement = ""
            elif c == ":" and in_class and re.match(
                r"^\s*(public|private|protected)\s*$", statement
            ):
                statement = ""
            else:
                statement += c
            i += 1

    scan(0, len(code), False)
    return found


SELF_TEST_FIXTURE = """
#include "world.h"  // int notAGlobal;
namespace zelto {
namespace {
int counter = 0;                         // flagged
static std::vector<int> kept;            // flagged
constexpr int kLimit = 3;
const char* const kName = "a;b";
const char* label = nullptr;             // flagged: the pointer may change
thread_local int perThread;              // flagged
const std::string kText{"x"};
struct Place { int x; int y; };
}  // namespace
extern int declared;                     // flagged
std::array<int, 2> pair{1, 2};           // flagged
Widget made(3, "x");                     // flagged
void Run(Game& game);
Game* Find(const char* name, int count);
int Twice(int value) {
    static const int kOnce = 1;
    static int calls = 0;                // flagged
    return value * 2 + kOnce + calls;
}
class Holder {
public:
    static int instances;                // flagged
    static constexpr int kMost = 4;
    static Holder Make(int size);
    int own = 0;
};
Holder::Holder() : own_{1}, other_(2) {
    int local = 0;
}
enum class Kind { A, B };
/* int commented = 1; */
const auto kMake = [] { int inside = 0; return inside; };
}  // namespace zelto
"""

SELF_TEST_EXPECTED = [
    "counter",
    "kept",
    "label",
    "perThread",
    "declared",
    "pair",
    "made",
    "calls",
    "instances",
]


def self_test():
    names = [name for _, name in check_text(SELF_TEST_FIXTURE)]
    if names != SELF_TEST_EXPECTED:
        print(f"check-game-globals: self-test named {names}, not {SELF_TEST_EXPECTED}",
              file=sys.stderr)
        return 1
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    failed = 0
    for folder, _, files in sorted(os.walk(ROOT)):
        for name in sorted(files):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as source:
                for line, variable in check_text(source.read()):
                    print(f"{path}:{line}: mutable global '{variable}'", file=sys.stderr)
                    failed = 1
    return failed


if __name__ == "__main__":
    sys.exit(main())
