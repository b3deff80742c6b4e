#!/usr/bin/env python3
"""The fault placer of scripts/mutate: each kind placed where it belongs and
nowhere else, and the same faults in the same order from the same seed."""

import sys
import unittest
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import placer  # noqa: E402


def faults(body, scope="code"):
    """{(kind, line after)} for the lines of body, inside a function body or
    at namespace scope."""
    text = "void f()\n{\n" + body + "\n}\n" if scope == "code" else body
    return {(f.kind, f.after) for f in placer.candidates("src/x.cpp", text)}


class Kinds(unittest.TestCase):
    def test_each_kind_changes_its_place(self):
        cases = {
            "if (a == b) {": {("flip", "if (a != b) {")},
            "while (i < n && !done) {": {
                ("flip", "while (i >= n && !done) {"), ("boundary", "while (i <= n && !done) {"),
                ("logic", "while (i < n || !done) {"), ("not", "while (i < n && done) {"),
            },
            "x = y + 0x1B;": {
                ("arith", "x = y - 0x1B;"), ("constant", "x = y + 0x1C;"), ("constant", "x = y + 0x1A;"),
                ("drop", "{}"),
            },
            "++count;": {("arith", "--count;"), ("drop", "{}")},
            "Send(first, second, 3);": {
                ("swap", "Send(second, first, 3);"), ("swap", "Send(first, 3, second);"),
                ("constant", "Send(first, second, 4);"), ("constant", "Send(first, second, 2);"), ("drop", "{}"),
            },
            "return a >= b;": {("flip", "return a < b;"), ("boundary", "return a > b;"), ("return", "return {};")},
            "return true;": {("bool", "return false;")},  # returning {} would be the same
            "char name[260];": {("constant", "char name[259];")},  # an array bound only shrinks
        }
        for line, expected in cases.items():
            with self.subTest(line=line):
                self.assertEqual(faults(line), expected)

    def test_nothing_placed_where_no_logic_is(self):
        untouched = [
            '// if (a == b) return 1;', 'Log("a < b && !c");', "#define LIMIT 3", "static_assert(LIMIT == 3);",
            "std::array<std::uint8_t, N> bytes{};", "auto&& value = std::move(other);", "return;", "return {};",
            "const double half = 0.5;", "wait(20ms);", "x = std::min(a, b);", "int x64;",
        ]
        for line in untouched:
            with self.subTest(line=line):
                self.assertEqual({f for f in faults(line) if f[0] != "drop"}, set())
        # A declaration is no statement to drop (its constructor's arguments can swap),
        # and a function's parameters are no arguments.
        self.assertEqual(faults("int count = total;\nstd::string name(first, last);"),
                         {("swap", "std::string name(last, first);")})
        self.assertEqual(faults("void Send(int first, int second);", scope="namespace"), set())

    def test_a_statement_over_several_lines_goes_whole(self):
        text = "void f()\n{\n    Send(first,\n         second);\n    done = true;\n}\n"
        (drop,) = [f for f in placer.candidates("src/x.cpp", text) if f.kind == "drop" and f.line == 3]
        self.assertEqual(drop.apply(text), "void f()\n{\n    {}\n\n    done = true;\n}\n")


class Seeds(unittest.TestCase):
    SOURCE = "\n".join(["void f()", "{"] + [f"    if (a{i} < {i}) {{ x = !y; }}" for i in range(40)] + ["}"])

    def test_the_seed_alone_fixes_the_order(self):
        pool = placer.candidates("src/x.cpp", self.SOURCE)
        first = [f.id for f in placer.seeded_order(pool, "1")]
        self.assertEqual(first, [f.id for f in placer.seeded_order(list(reversed(pool)), "1")])
        self.assertNotEqual(first[:10], [f.id for f in placer.seeded_order(pool, "2")][:10])
        # Each line once before any line twice.
        lines = [f.line for f in placer.seeded_order(pool, "1")[:40]]
        self.assertEqual(sorted(lines), list(range(3, 43)))

    def test_ids_and_order_survive_unrelated_edits(self):
        before = placer.seeded_order(placer.candidates("src/x.cpp", self.SOURCE), "1")
        edited = self.SOURCE.replace("{\n", "{\n    Setup(a, b);\n", 1)
        after = placer.seeded_order(placer.candidates("src/x.cpp", edited), "1")
        kept = {f.id for f in before}
        self.assertEqual([f.id for f in after if f.id in kept], [f.id for f in before])
        self.assertEqual({f.line for f in after if f.id == before[0].id}, {before[0].line + 1})


if __name__ == "__main__":
    unittest.main()
