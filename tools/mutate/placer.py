"""The fault placer of scripts/mutate: finds every single-point fault that can
be placed in a C++ source, gives each a stable id, and orders them by a seed.

A fault changes one place on one logic line (a dropped statement or a replaced
return may span the lines of its statement). Comments, string and character
texts, preprocessor lines and static_asserts are never touched. The code is
clang-formatted, so a binary operator has a space on either side: that tells
a comparison from a template's angle brackets, and a minus from a sign.

Kinds:
  flip      a comparison negated: == and != swapped, < to >=, > to <=, ...
  boundary  < and <=, > and >= swapped
  constant  an integer literal n to n+1 or n-1 (an array bound only shrinks)
  drop      an expression statement replaced by an empty block
  return    a return of a value returning {} (false, 0, empty) instead
  swap      two neighbouring arguments of a call swapped
  logic     && and || swapped
  arith     + and -, += and -=, ++ and -- swapped
  not       a ! dropped
  bool      true and false swapped

An id hashes the file, the line's text, which of the file's lines with that
text it is, the kind and the place in the line: it stays the same while other
lines change. The order of a seed hashes the seed with the line and the id, so
a fault's place in the order does not move when other faults come or go.
"""

import hashlib
import re
from dataclasses import dataclass, field

KINDS = ("flip", "boundary", "constant", "drop", "return", "swap", "logic", "arith", "not", "bool")


@dataclass(frozen=True)
class Fault:
    id: str
    path: str  # relative to the tree, with forward slashes
    line: int  # 1-based, the first line changed
    kind: str
    before: str  # the first line changed, as it was (stripped)
    after: str  # the same line with the fault (stripped)
    edits: tuple = field(repr=False, default=())  # ((line, new text), ...), 1-based
    line_key: str = field(repr=False, default="")

    def apply(self, text):
        """The file's text with the fault placed."""
        lines = text.split("\n")
        for number, new in self.edits:
            lines[number - 1] = new
        return "\n".join(lines)


def _hash(*parts):
    return hashlib.sha1("\0".join(str(p) for p in parts).encode()).hexdigest()


# ---------------------------------------------------------------- masking


def mask(text):
    """The text with comments blanked and the insides of string and character
    literals replaced by underscores; every other character (newlines too)
    stays where it was, so columns match the original."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if text[k] != "\n":
                    out[k] = " "
            i = j
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_paren = text.find("(", i + 2)
            delimiter = text[i + 2 : open_paren]
            close = text.find(")" + delimiter + '"', open_paren)
            end = n if close < 0 else close + len(delimiter) + 1
            for k in range(open_paren + 1, end - len(delimiter) - 2 + 1):
                if text[k] != "\n":
                    out[k] = "_"
            i = end + 1
        elif c in "\"'":
            # A digit separator (1'000) is no character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                if text[j] == "\\":
                    out[j] = "_"
                    j += 1
                out[j] = "_"
                j += 1
            i = j + 1
        else:
            i += 1
    return "".join(out)


# ------------------------------------------------------------- line roles

_NAMESPACE = re.compile(r'\bnamespace\b|^extern\s+"_*"$')
_RECORD = re.compile(r"\b(class|struct|union)\b")
_ENUM = re.compile(r"\benum\b")
_CODE_END = re.compile(r"(\)|\bconst|\bnoexcept|\boverride|\bfinal|\bmutable|\belse|\bdo|\btry|:|\])$")
_TRAILING_RETURN = re.compile(r"\)\s*(const\s*)?->\s*[\w:<>,&*\s]+$")


def _scope_of(header, parent):
    """What a '{' opens, from the text before it since the last ; { or }."""
    h = " ".join(header.split())
    if _NAMESPACE.search(h):
        return "namespace"
    if _ENUM.search(h):
        return "enum"
    if _RECORD.search(h) and "(" not in h and "=" not in h:
        return "record"
    if _CODE_END.search(h) or _TRAILING_RETURN.search(h):
        return "code"
    if h == "":
        # A block of its own, or a constructor's body after a braced member
        # initialiser; in a table, the next row.
        return "code" if parent in ("code", "namespace", "record") else "init"
    return "init"  # a braced initialiser: a table row, an aggregate


def line_roles(masked_lines):
    """For each line: (scope at its start, skip), where scope is the kind of
    block the line starts in and skip tells a line no fault may touch: a
    preprocessor line with its continuations, or a static_assert."""
    roles = []
    stack = ["namespace"]
    header = []
    continued = False  # the previous line was a preprocessor line ending in '\'
    in_assert = False
    depth = 0  # parentheses inside a static_assert
    for text in masked_lines:
        stripped = text.strip()
        skip = False
        if continued or stripped.startswith("#"):
            skip = True
            continued = text.rstrip().endswith("\\")
            roles.append((stack[-1], True))
            continue
        if in_assert or re.match(r"(static_assert)\b", stripped):
            skip = True
            in_assert = True
            depth += text.count("(") - text.count(")")
            if depth <= 0 and ";" in text:
                in_assert, depth = False, 0
        roles.append((stack[-1], skip))
        for c in text:
            if c == "{":
                stack.append(_scope_of("".join(header), stack[-1]))
                header = []
            elif c == "}":
                if len(stack) > 1:
                    stack.pop()
                header = []
            elif c == ";":
                header = []
            else:
                header.append(c)
        header.append(" ")
    return roles


# ---------------------------------------------------------------- finders

_COMPARISONS = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}
_BOUNDARIES = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
_COMPARISON = re.compile(r"(?<= )(==|!=|<=|>=|<|>)(?= )")
_LOGIC = re.compile(r"(?<= )(&&|\|\|)(?= )")
_ARITH = re.compile(r"(?<= )(\+|-|\+=|-=)(?= )|(?<![+\-])(\+\+|--)(?![+\-=])")
_NOT = re.compile(r"!(?![=!])")
_BOOL = re.compile(r"\b(true|false)\b")
_INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F']+|\d[\d']*)([uUlL]*)(?![\w.'])")
_CALL = re.compile(r"\b([A-Za-z_]\w*)\(")
_NOT_CALLS = {
    "if", "for", "while", "switch", "return", "sizeof", "alignof", "alignas", "decltype", "noexcept",
    "static_assert", "catch", "defined", "throw", "operator", "typeid", "requires",
    "min", "max", "swap",  # the same either way round
}
_DECLARATOR = re.compile(r"^(const\s+)?[\w:]+(<[^()]*>)?[\s*&]+[*&]*[A-Za-z_]\w*(\s*=.*)?$")
_KEYWORD_START = re.compile(
    r"^(if|for|while|switch|return|sizeof|static_assert|catch|do|else|case|default|goto|throw|new|delete|using|"
    r"typedef|template|co_return|co_await|decltype|static_cast|const_cast|reinterpret_cast|dynamic_cast|"
    r"const|constexpr|static|auto|inline|virtual|explicit|friend|public|private|protected|namespace|struct|class|"
    r"enum|union|extern)\b"
)
_EXPRESSION_STATEMENT = re.compile(
    r"^(?:"
    r"(?:::)?[A-Za-z_]\w*(?:(?:::|\.|->)~?[A-Za-z_]\w*)*(?:<[^;()=]*>)?\("  # a call
    r"|\*?\(?[A-Za-z_][\w:]*(?:(?:\.|->)[A-Za-z_]\w*|\[[^\]]*\]|\))*\s*(?:[-+*/%|&^]|<<|>>)?=(?!=)"  # assignment
    r"|(?:\+\+|--)[A-Za-z_(*]"  # pre-increment
    r"|[A-Za-z_][\w.\->\[\]]*(?:\+\+|--)\s*;"  # post-increment
    r")"
)
# Returned already, or (true) the bool fault's twin.
_NOT_RETURN_FAULTS = {"{}", "false", "true", "0", "nullptr", "std::nullopt", '""', "0u", "0U"}


def _occurrences(kind, matches):
    """(kind, index of the match among its kind's matches on the line, match)."""
    return [(kind, index, match) for index, match in enumerate(matches)]


def _integer_edit(literal, suffix, start, text_masked):
    """The neighbouring values of an integer literal: (variant, new text)."""
    digits = literal.replace("'", "")
    base = 16 if digits[:2].lower() == "0x" else 8 if len(digits) > 1 and digits[0] == "0" else 10
    value = int(digits, base)
    in_bound = start > 0 and text_masked[start - 1] == "[" and text_masked.find("]", start) >= 0
    deltas = [-1] if in_bound else [1, -1]
    out = []
    for delta in deltas:
        new = value + delta
        if new < 0:
            continue
        if base == 16:
            width = len(digits) - 2
            hex_digits = format(new, "x" if any(ch.islower() for ch in digits[2:]) else "X").rjust(width, "0")
            spelled = digits[:2] + hex_digits
        elif base == 8:
            spelled = "0" + format(new, "o")
        else:
            spelled = str(new)
        out.append((f"{delta:+d}", spelled + suffix))
    return out


def _split_arguments(masked, open_paren):
    """The top-level arguments of the call whose '(' is at open_paren, as
    (start, end) columns, or None when the call does not close on the line or
    an argument holds a template's commas."""
    depth = 0
    args = []
    start = open_paren + 1
    for i in range(open_paren, len(masked)):
        c = masked[i]
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth == 0:
                args.append((start, i))
                break
        elif c == "," and depth == 1:
            args.append((start, i))
            start = i + 1
    else:
        return None
    for a, b in args:
        part = masked[a:b]
        opening = len(re.findall(r"(?<! )<(?! )", part))
        closing = len(re.findall(r"(?<![ -])>(?! )", part))
        if opening != closing:
            return None
    return args


def _statement_span(masked_lines, first, limit=8):
    """The last line of the statement that starts on line index first: the
    line where its brackets close and it ends with ';'."""
    depth = 0
    for index in range(first, min(first + limit, len(masked_lines))):
        text = masked_lines[index]
        for c in text:
            if c in "([{":
                depth += 1
            elif c in ")]}":
                depth -= 1
        if depth < 0:
            return None
        if depth == 0 and text.rstrip().endswith(";"):
            return index
    return None


def _starts_statement(masked_lines, index, roles):
    """Whether a statement can start on this line: the code line before it
    ended one, opened a block or is a label."""
    for previous in range(index - 1, -1, -1):
        if roles[previous][1]:
            continue
        text = masked_lines[previous].strip()
        if not text:
            continue
        if text[-1] in ";{}:":
            return True
        return bool(re.match(r"^(\}\s*)?(else\b|(if|for|while)\b.*\)$)", text))
    return True


def candidates(path, text):
    """Every fault that can be placed in the file's text, in the order of its
    lines. path is the file's name relative to the tree (used in the ids)."""
    masked_lines = mask(text).split("\n")
    lines = text.split("\n")
    roles = line_roles(masked_lines)
    seen = {}
    out = []
    for index, (original, masked) in enumerate(zip(lines, masked_lines)):
        scope, skip = roles[index]
        stripped = original.strip()
        duplicate = seen.get(stripped, 0)
        seen[stripped] = duplicate + 1
        if skip or not masked.strip():
            continue
        number = index + 1
        line_key = _hash(path, stripped, duplicate)
        found = []  # (kind, occurrence, variant, [(line number, new text)])

        def replace(start, end, new, kind, occurrence, variant=""):
            found.append((kind, occurrence, variant, [(number, original[:start] + new + original[end:])]))

        comparisons = list(_COMPARISON.finditer(masked))
        for kind, k, m in _occurrences("flip", comparisons):
            replace(m.start(), m.end(), _COMPARISONS[m.group(1)], kind, k)
        ordered = [m for m in comparisons if m.group(1) in _BOUNDARIES]
        for kind, k, m in _occurrences("boundary", ordered):
            replace(m.start(), m.end(), _BOUNDARIES[m.group(1)], kind, k)
        for kind, k, m in _occurrences("logic", list(_LOGIC.finditer(masked))):
            replace(m.start(), m.end(), "||" if m.group(0) == "&&" else "&&", kind, k)
        for kind, k, m in _occurrences("arith", list(_ARITH.finditer(masked))):
            op = m.group(0)
            swapped = {"+": "-", "-": "+", "+=": "-=", "-=": "+=", "++": "--", "--": "++"}[op]
            replace(m.start(), m.end(), swapped, kind, k)
        for kind, k, m in _occurrences("not", list(_NOT.finditer(masked))):
            replace(m.start(), m.end(), "", kind, k)
        for kind, k, m in _occurrences("bool", list(_BOOL.finditer(masked))):
            replace(m.start(), m.end(), "false" if m.group(1) == "true" else "true", kind, k)
        for kind, k, m in _occurrences("constant", list(_INTEGER.finditer(masked))):
            for variant, new in _integer_edit(m.group(1), m.group(2), m.start(), masked):
                replace(m.start(), m.end(), new, kind, k, variant)

        if scope == "code":
            calls = [m for m in _CALL.finditer(masked) if m.group(1) not in _NOT_CALLS]
            pair = 0
            for m in calls:
                args = _split_arguments(masked, m.end() - 1)
                if not args:
                    continue
                for (a0, a1), (b0, b1) in zip(args, args[1:]):
                    first, second = original[a0:a1].strip(), original[b0:b1].strip()
                    if not first or not second or first == second:
                        continue
                    if _DECLARATOR.match(masked[a0:a1].strip()) or _DECLARATOR.match(masked[b0:b1].strip()):
                        continue
                    lead_a = original[a0:a1][: len(original[a0:a1]) - len(original[a0:a1].lstrip())]
                    lead_b = original[b0:b1][: len(original[b0:b1]) - len(original[b0:b1].lstrip())]
                    new = original[:a0] + lead_a + second + "," + lead_b + first + original[b1:]
                    found.append(("swap", pair, "", [(number, new)]))
                    pair += 1

            body = masked.strip()
            if _starts_statement(masked_lines, index, roles):
                last = _statement_span(masked_lines, index)
                is_return = re.match(r"^return\b\s*(\S.*)$", body)
                if last is not None and is_return:
                    value = " ".join(" ".join(lines[i].strip() for i in range(index, last + 1)).split())
                    value = value[len("return") :].strip().rstrip(";").strip()
                    if value and value not in _NOT_RETURN_FAULTS:
                        column = masked.index("return")
                        edits = [(number, original[:column] + "return {};")]
                        edits += [(i + 1, "") for i in range(index + 1, last + 1)]
                        found.append(("return", 0, "", edits))
                elif last is not None and not _KEYWORD_START.match(body) and _EXPRESSION_STATEMENT.match(body):
                    column = len(masked) - len(masked.lstrip())
                    tail = original[masked_lines[last].rstrip().rindex(";") + 1 :] if last == index else ""
                    edits = [(number, original[:column] + "{}" + tail)]
                    edits += [(i + 1, "") for i in range(index + 1, last + 1)]
                    found.append(("drop", 0, "", edits))

        placed = set()
        for kind, occurrence, variant, edits in found:
            if tuple(edits) in placed:
                continue
            placed.add(tuple(edits))
            fault_id = _hash(path, stripped, duplicate, kind, occurrence, variant)[:8]
            out.append(
                Fault(fault_id, path, number, kind, stripped, edits[0][1].strip(), tuple(edits), line_key)
            )
    return out


def seeded_order(faults, seed):
    """The faults in the order of the seed: one fault of every line, the
    lines in an order the seed gives; then a second fault of every line that
    has one, and so on. Each line's faults in an order the seed gives."""
    by_line = {}
    for fault in faults:
        by_line.setdefault(fault.line_key, []).append(fault)
    lines = sorted(by_line, key=lambda key: _hash(seed, key))
    for key in lines:
        by_line[key].sort(key=lambda f: _hash(seed, f.id))
    ordered = []
    rank = 0
    while True:
        round_ = [by_line[key][rank] for key in lines if rank < len(by_line[key])]
        if not round_:
            return ordered
        ordered += round_
        rank += 1
