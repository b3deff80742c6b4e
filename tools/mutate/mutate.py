#!/usr/bin/env python3
"""Our own mutation run: places seeded single-point faults in the program's
sources, builds each in a scratch copy of the tree and runs the suites
against it. See scripts/mutate for the command line, placer.py for the
faults, and the README (Mutation run) for how to read the table."""

import argparse
import contextlib
import fcntl
import json
import os
import re
import shutil
import subprocess
import sys
import threading
import time
from dataclasses import dataclass, field
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import placer  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
OUT = ROOT / "out" / "mutate"
TREE = OUT / "tree"  # the first worker's; the others' are tree-2, tree-3, ...
EQUIVALENT_LIST = ROOT / "tools" / "mutate" / "equivalent.txt"
SOURCE_SUFFIXES = (".cpp", ".h")
# The scratch builds leave out what changes nothing the suites see: debug
# information, and (where it is installed) the slower linker.
QUICKER = ["-DCMAKE_CXX_FLAGS_DEBUG=-g0", "-DCMAKE_C_FLAGS_DEBUG=-g0",
           "-DCMAKE_EXE_LINKER_FLAGS=" + ("-fuse-ld=lld" if shutil.which("ld.lld") else "")]

# Where a fault lands, by the first folder that holds its file.
SUBSYSTEMS = [
    ("src/app/", "application"),
    ("src/channel/", "command channel"),
    ("src/transfer/", "transfer"),
    ("src/catalogue/", "catalogue"),
    ("src/printers/", "catalogue"),
    ("src/description/", "printer description"),
    ("src/platform/headless/", "headless backend"),
    ("src/platform/win32/", "Win32 backend"),
    ("src/platform/", "shared platform"),
    ("src/driver/", "driver"),
    ("src/res/", "resources"),
]
SUBSYSTEM_ORDER = [name for _, name in SUBSYSTEMS]


def subsystem_rank(path):
    name = subsystem_of(path)
    return (SUBSYSTEM_ORDER.index(name) if name in SUBSYSTEM_ORDER else len(SUBSYSTEM_ORDER), name)


def subsystem_of(path):
    for prefix, name in SUBSYSTEMS:
        if path.startswith(prefix):
            return name
    return path.split("/")[0]


def log(text):
    print(text, flush=True)


# ------------------------------------------------------------ the scratch tree


def source_files():
    """The work tree's files as git sees them: tracked, and new ones that are
    not ignored (a test being written counts before it is added)."""
    listing = subprocess.run(
        ["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
        cwd=ROOT, check=True, capture_output=True,
    ).stdout.decode()
    return sorted({name for name in listing.split("\0") if name and (ROOT / name).is_file()})


def sync_tree(tree, files):
    """Makes the scratch tree hold exactly these files of the work tree. Only
    files whose bytes differ are written, so the scratch build stays
    incremental; a fault an interrupted run left behind is undone here."""
    wanted = set(files)
    for name in files:
        source, target = ROOT / name, tree / name
        data = source.read_bytes()
        if not target.is_file() or target.read_bytes() != data:
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(data)
            shutil.copymode(source, target)
    for folder, subfolders, names in os.walk(tree):
        relative = Path(folder).relative_to(tree)
        if relative == Path("."):
            subfolders[:] = [s for s in subfolders if s not in ("build", "out")]
        for name in names:
            if (relative / name).as_posix() not in wanted:
                (Path(folder) / name).unlink()


def run(command, cwd, **kwargs):
    return subprocess.run(command, cwd=cwd, text=True, capture_output=True, **kwargs)


@dataclass
class Suite:
    name: str
    executable: Path | None  # None: not a program of the build (a script)


class Build:
    """One preset's build in the scratch tree and its suites."""

    def __init__(self, tree, preset, timeout):
        self.tree = tree
        self.preset = preset
        self.folder = tree / "build" / preset
        configure = run(["cmake", "--preset", preset, f"-DVR38_TEST_TIMEOUT={timeout}",
                         *(QUICKER if preset == "native" else [])], tree)
        if configure.returncode != 0:
            sys.exit(f"mutate: cmake --preset {preset} failed in {tree}:\n{configure.stdout}{configure.stderr}")
        self.suites = []
        self.holders = {}  # file -> the suites whose programs are built from it

    def find_suites(self):
        """The suites, once their programs are built, and for every file of
        the tree the suites whose programs it goes into (headers through the
        objects that include them)."""
        listing = run(["ctest", "--test-dir", str(self.folder), "--show-only=json-v1"], self.tree)
        self.suites = []
        for test in json.loads(listing.stdout)["tests"]:
            program = Path(test["command"][0])
            inside = program.is_relative_to(self.folder)
            self.suites.append(Suite(test["name"], program if inside else None))
        made_from = self.objects()
        self.holders = {}
        for suite in self.suites:
            if suite.executable:
                target = suite.executable.relative_to(self.folder).as_posix()
                for line in run(["ninja", "-C", str(self.folder), "-t", "inputs", target], self.tree).stdout.split():
                    for name in made_from.get(line, ()):
                        self.holders.setdefault(name, set()).add(suite.name)

    def objects(self):
        """{object: files of the tree it is compiled from} (ninja's log of
        the headers each compilation read)."""
        made_from = {}
        current = None
        for line in run(["ninja", "-C", str(self.folder), "-t", "deps"], self.tree).stdout.splitlines():
            if not line.startswith(" ") and ":" in line:
                current = made_from.setdefault(line.split(":")[0], set())
            elif line.startswith("    ") and current is not None:
                path = Path(line.strip())
                if not path.is_absolute():
                    path = (self.folder / path).resolve()
                if path.is_relative_to(self.tree) and not path.is_relative_to(self.tree / "build"):
                    current.add(path.relative_to(self.tree).as_posix())
        return made_from

    def files(self):
        return set().union(*self.objects().values())

    def build(self, targets=()):
        """(built, seconds, output) for the programs of the suites named;
        none named: everything."""
        started = time.monotonic()
        command = ["cmake", "--build", str(self.folder), "--parallel", "2"]
        programs = [s.executable.stem for s in self.suites if s.name in targets and s.executable]
        if programs:
            command += ["--target", *programs]
        result = run(command, self.tree)
        return result.returncode == 0, time.monotonic() - started, result.stdout + result.stderr

    def test(self, names):
        """{suite: "passed" | "failed" | "timeout"} for the suites named."""
        if not names:
            return {}
        jobs = 4 if self.preset == "native" else 2  # each Windows suite runs a Wine of its own
        pattern = "^(" + "|".join(re.escape(n) for n in names) + ")$"
        result = run(["ctest", "--test-dir", str(self.folder), "-R", pattern, "-j", str(min(jobs, len(names)))],
                     self.tree)
        outcomes = {}
        for match in re.finditer(r"Test\s+#\d+: (\S+) \.*\s*(.*?)\s+[\d.]+ sec", result.stdout):
            name, status = match.groups()
            outcomes[name] = "passed" if status.strip() == "Passed" else "timeout" if "Timeout" in status else "failed"
        for name in names:
            outcomes.setdefault(name, "failed")  # did not run: a crash of ctest's own, or not found
        return outcomes


# ------------------------------------------------------------------ the faults


def in_scope(path, paths, wine):
    if paths and not any(path == p or path.startswith(p.rstrip("/") + "/") for p in paths):
        return False
    if not paths and not path.startswith("src/"):
        return False
    return path.endswith(SOURCE_SUFFIXES) and (wine or not windows_only(path))


def windows_only(path):
    return path.startswith("src/platform/win32/") or path.endswith("_win32.cpp")


def all_faults(tree, files):
    faults = []
    for name in files:
        text = (tree / name).read_text(encoding="utf-8", errors="surrogateescape")
        faults += placer.candidates(name, text)
    return faults


def read_equivalents():
    """{id: reason line} from tools/mutate/equivalent.txt."""
    listed = {}
    if EQUIVALENT_LIST.exists():
        for line in EQUIVALENT_LIST.read_text().splitlines():
            words = line.split()
            if words and re.fullmatch(r"[0-9a-f]{8}", words[0]):
                listed[words[0]] = line
    return listed


# --------------------------------------------------------------------- running


@dataclass
class Outcome:
    fault: placer.Fault
    result: str = ""  # killed, timeout, survived, equivalent, not compiled
    suites: list = field(default_factory=list)  # the suites that failed or timed out
    where: str = ""  # native or wine
    build_s: float = 0.0
    test_s: float = 0.0
    note: str = ""


@contextlib.contextmanager
def placed(tree, fault):
    """The fault in the scratch tree's copy of its file, for the time of the
    block; the file's bytes are restored after (its time stamp is newer, so
    the next build compiles it again, from the compiler cache)."""
    path = tree / fault.path
    original = path.read_bytes()
    text = original.decode("utf-8", errors="surrogateescape")
    path.write_bytes(fault.apply(text).encode("utf-8", errors="surrogateescape"))
    try:
        yield
    finally:
        path.write_bytes(original)


def try_fault(build, fault, likely_first=None):
    """(compiled, failing suites {name: status}, build s, test s). Natively
    the suites whose programs hold the fault's file are built and run one at
    a time, those likeliest to catch it first, until one fails: a caught
    fault costs one suite's build (a fault that breaks only a later suite's
    build is then counted as caught). The Windows suites are built and run
    all together."""
    build_s = test_s = 0.0
    with placed(build.tree, fault):
        if build.preset != "native":
            built, build_s, _ = build.build()
            if not built:
                return False, {}, build_s, 0.0
            started = time.monotonic()
            outcomes = build.test([s.name for s in build.suites])
            failing = {name: status for name, status in outcomes.items() if status != "passed"}
            return True, failing, build_s, time.monotonic() - started
        holders = sorted(build.holders.get(fault.path, ()), key=likely_first or (lambda name: name))
        for name in holders:
            built, seconds, _ = build.build([name])
            build_s += seconds
            if not built:
                return False, {}, build_s, test_s
            started = time.monotonic()
            outcome = build.test([name])
            test_s += time.monotonic() - started
            if outcome[name] != "passed":
                return True, outcome, build_s, test_s
        if not holders:  # in no suite's program: that it compiles is all there is to know
            built, seconds, _ = build.build()
            return built, {}, build_s + seconds, test_s
    return True, {}, build_s, test_s


def settle(outcome, failing, where, equivalents):
    outcome.where = where
    if failing:
        outcome.suites = sorted(failing)
        outcome.result = "timeout" if all(s == "timeout" for s in failing.values()) else "killed"
        if outcome.fault.id in equivalents:
            outcome.note = "listed as equivalent, but caught: take it off the list"
    else:
        outcome.result = "equivalent" if outcome.fault.id in equivalents else "survived"


def baseline(build, what):
    built, seconds, output = build.build()
    if not built:
        raise SystemExit(f"mutate: the {build.preset} build fails without any fault:\n{output[-4000:]}")
    build.find_suites()
    started = time.monotonic()
    outcomes = build.test([s.name for s in build.suites])
    failing = sorted(n for n, s in outcomes.items() if s != "passed")
    if failing:
        raise SystemExit(f"mutate: {what}: suites fail without any fault ({', '.join(failing)}); "
                         "the run would mean nothing")
    log(f"   {what} in {build.tree.relative_to(ROOT)}: built in {seconds:.0f} s, "
        f"{len(build.suites)} suites passed in {time.monotonic() - started:.1f} s")


class Worker:
    """One scratch tree with its native build (and its win64 build with
    --wine); several work side by side, each on its own files."""

    def __init__(self, tree, files, timeout, wine):
        tree.mkdir(parents=True, exist_ok=True)
        sync_tree(tree, files)
        self.native = Build(tree, "native", timeout)
        # A Windows suite takes up to a minute under Wine; one that hangs is ended well before its own 600 s.
        self.wine = Build(tree, "win64", timeout * 16) if wine else None

    def check(self):
        baseline(self.native, "native")
        if self.wine:
            baseline(self.wine, "win64 (under Wine)")

    def run(self, fault, native_file, equivalents, likely_first):
        """The outcome of one fault, or None when it does not compile."""
        outcome = Outcome(fault)
        build = self.native if native_file else self.wine
        built, failing, outcome.build_s, outcome.test_s = try_fault(build, fault, likely_first)
        if not built:
            return None
        settle(outcome, failing, "native" if native_file else "wine", equivalents)
        if self.wine and native_file and outcome.result in ("survived", "equivalent"):
            built, failing, build_s, test_s = try_fault(self.wine, fault)
            outcome.build_s += build_s
            outcome.test_s += test_s
            # The Windows build checks some constants against the Windows
            # headers (static_assert): a fault there does not build.
            settle(outcome, failing if built else {"the win64 build": "failed"}, "wine", equivalents)
        return outcome


def run_faults(workers, sequence, count, native_files, equivalents, started):
    """Builds and tests faults of the sequence until count of them compiled:
    the first count, then for each that does not compile the next ones. The
    workers take a file's faults at a time, so that consecutive builds of a
    tree mostly recompile the same file. Returns (outcomes, dropped,
    interrupted)."""
    outcomes, dropped = [], []
    guard = threading.Lock()
    stop = threading.Event()
    next_index = 0
    threads = []
    # The suites that caught faults so far, by file and by subsystem: tried
    # first on the next fault there.
    catches = {}

    def likely_first(fault):
        def rank(name):
            return (-catches.get((fault.path, name), 0), -catches.get((subsystem_of(fault.path), name), 0), name)
        return rank

    def work(worker, groups):
        while not stop.is_set():
            with guard:
                if not groups:
                    return
                group = groups.pop(0)
            for fault in group:
                if stop.is_set():
                    return
                with guard:
                    rank = likely_first(fault)
                outcome = worker.run(fault, fault.path in native_files, equivalents, rank)
                if stop.is_set():
                    return  # an interrupt ends its builds and suites too: no outcome to trust
                with guard:
                    for name in outcome.suites if outcome else ():
                        for key in ((fault.path, name), (subsystem_of(fault.path), name)):
                            catches[key] = catches.get(key, 0) + 1
                    if outcome is None:
                        dropped.append(fault)
                        log(f"   {fault.id} {fault.path}:{fault.line} {fault.kind}: does not compile, replaced")
                        continue
                    outcomes.append(outcome)
                    log(f"[{len(outcomes)}/{count}] {fault.id} {fault.path}:{fault.line} {fault.kind}: "
                        f"{result_text(outcome)} ({outcome.build_s:.0f} s build, {outcome.test_s:.1f} s suites; "
                        f"{(time.monotonic() - started) / 60:.1f} min)")

    try:
        while len(outcomes) < count and next_index < len(sequence):
            batch = sequence[next_index : next_index + count - len(outcomes)]
            next_index += len(batch)
            groups = {}
            for fault in sorted(batch, key=lambda f: (f.path, f.line, f.id)):
                groups.setdefault(fault.path, []).append(fault)
            # The largest groups first, so that no worker is left with a long one at the end.
            queue = sorted(groups.values(), key=len, reverse=True)
            threads = [threading.Thread(target=work, args=(w, queue), daemon=True) for w in workers]
            for thread in threads:
                thread.start()
            for thread in threads:
                while thread.is_alive():
                    thread.join(0.5)
    except KeyboardInterrupt:
        stop.set()
        log("mutate: interrupted; the faults under way are left out (their files are restored)")
        for thread in threads:
            thread.join()
        return outcomes, dropped, True
    return outcomes, dropped, False


# --------------------------------------------------------------------- report


def cell(text):
    text = text.replace("|", "\\|")
    ticks = "``" if "`" in text else "`"
    pad = " " if "`" in text else ""
    return f"{ticks}{pad}{text}{pad}{ticks}" if text else ""


def result_text(outcome):
    if outcome.result in ("killed", "timeout"):
        verb = "timed out" if outcome.result == "timeout" else "killed by"
        where = " (Wine)" if outcome.where == "wine" else ""
        return f"{verb} {', '.join(outcome.suites)}{where}" + (f" ({outcome.note})" if outcome.note else "")
    return outcome.result


def tally(outcomes):
    killed = sum(o.result in ("killed", "timeout") for o in outcomes)
    equivalent = sum(o.result == "equivalent" for o in outcomes)
    survived = sum(o.result == "survived" for o in outcomes)
    counted = len(outcomes) - equivalent
    percent = 100.0 * killed / counted if counted else 0.0
    return killed, equivalent, survived, percent


def summary_lines(outcomes):
    by_subsystem = {}
    for o in outcomes:
        by_subsystem.setdefault(subsystem_of(o.fault.path), []).append(o)
    order = sorted(by_subsystem, key=lambda name: subsystem_rank(by_subsystem[name][0].fault.path))
    lines = ["| subsystem | faults | killed | equivalent | survived | caught |", "|---|---|---|---|---|---|"]
    for name in order + ["all"]:
        group = outcomes if name == "all" else by_subsystem[name]
        killed, equivalent, survived, percent = tally(group)
        label = "**all**" if name == "all" else name
        lines.append(f"| {label} | {len(group)} | {killed} | {equivalent} | {survived} | {percent:.1f} % |")
    return lines


def last_line(outcomes):
    killed, equivalent, survived, percent = tally(outcomes)
    return f"mutate: killed={killed} of {len(outcomes)} ({percent:.1f} %) equivalent={equivalent} survived={survived}"


def write_report(outcomes, not_compiled, settings, elapsed):
    OUT.mkdir(parents=True, exist_ok=True)
    ordered = sorted(outcomes, key=lambda o: (subsystem_rank(o.fault.path), o.fault.path, o.fault.line, o.fault.id))
    lines = [
        f"# Mutation run: {settings['title']}",
        "",
        f"Sources: {settings['sources']}. Started {settings['started']}, took {elapsed / 60:.1f} min "
        f"(builds {sum(o.build_s for o in outcomes) / 60:.1f} min, suites {sum(o.test_s for o in outcomes) / 60:.1f} min); "
        f"{not_compiled} more faults did not compile and were replaced.",
        "",
        "| id | subsystem | file:line | kind | before | after | result |",
        "|---|---|---|---|---|---|---|",
    ]
    for o in ordered:
        f = o.fault
        lines.append(
            f"| {f.id} | {subsystem_of(f.path)} | {f.path}:{f.line} | {f.kind} | {cell(f.before)} | {cell(f.after)} "
            f"| {result_text(o)} |"
        )
    survivors = [o for o in ordered if o.result == "survived"]
    lines += ["", f"## Survivors ({len(survivors)})", ""]
    lines += [f"- {o.fault.id} {o.fault.path}:{o.fault.line} ({o.fault.kind}): {cell(o.fault.before)} -> "
              f"{cell(o.fault.after)}" for o in survivors] or ["none"]
    lines += ["", "## By subsystem", ""] + summary_lines(outcomes) + ["", last_line(outcomes)]
    text = "\n".join(lines) + "\n"
    stamp = time.strftime("%Y%m%d-%H%M%S")
    (OUT / f"mutate-{stamp}.md").write_text(text)
    (OUT / "last.md").write_text(text)
    records = [
        {"id": o.fault.id, "path": o.fault.path, "line": o.fault.line, "kind": o.fault.kind, "before": o.fault.before,
         "after": o.fault.after, "result": o.result, "suites": o.suites, "where": o.where,
         "build_s": round(o.build_s, 2), "test_s": round(o.test_s, 2)}
        for o in ordered
    ]
    (OUT / "last.json").write_text(json.dumps({**settings, "elapsed_s": round(elapsed), "not_compiled": not_compiled,
                                               "faults": records}, indent=1))
    return OUT / "last.md"


def rescore(path):
    """An earlier run's table again, with the equivalent list as it is now:
    for when survivors have been judged. Builds nothing."""
    data = json.loads(Path(path).read_text())
    equivalents = read_equivalents()
    outcomes = []
    for r in data["faults"]:
        fault = placer.Fault(r["id"], r["path"], r["line"], r["kind"], r["before"], r["after"])
        outcome = Outcome(fault, r["result"], r["suites"], r["where"], r["build_s"], r["test_s"])
        if outcome.result in ("survived", "equivalent"):
            outcome.result = "equivalent" if fault.id in equivalents else "survived"
        outcomes.append(outcome)
    settings = {k: v for k, v in data.items() if k not in ("faults", "elapsed_s", "not_compiled")}
    settings.setdefault("title", f"seed {data['seed']}, {len(outcomes)} faults in {' '.join(data['paths']) or 'src/'}")
    report = write_report(outcomes, data.get("not_compiled", "?"), settings, data["elapsed_s"])
    for line in summary_lines(outcomes):
        log(line)
    log(f"table: {report.relative_to(ROOT)} (rescored from {path})")
    log(last_line(outcomes))
    return 0


def compare(outcomes, earlier_path):
    """The faults an earlier run's suites caught that this run's miss."""
    earlier = {r["id"]: r for r in json.loads(Path(earlier_path).read_text())["faults"]}
    lost = [o for o in outcomes if o.result == "survived" and earlier.get(o.fault.id, {}).get("result") in
            ("killed", "timeout")]
    missing = sorted(set(earlier) - {o.fault.id for o in outcomes})
    log(f"== against {earlier_path}: {len(lost)} fault(s) caught there and missed here")
    for o in lost:
        log(f"   {o.fault.id} {o.fault.path}:{o.fault.line} ({o.fault.kind}), was "
            f"{', '.join(earlier[o.fault.id]['suites'])}")
    if missing:
        log(f"   {len(missing)} of its faults were not in this run: {' '.join(missing[:20])}")
    return not lost


# ------------------------------------------------------------------------ main


def parse_arguments():
    parser = argparse.ArgumentParser(prog="scripts/mutate", description=__doc__)
    parser.add_argument("--count", type=int, default=200, help="faults to build and test (default 200)")
    parser.add_argument("--seed", default="1", help="the seed that orders the faults (default 1)")
    parser.add_argument("--paths", nargs="+", metavar="PATH", help="place faults only in these folders or files")
    parser.add_argument("--wine", action="store_true",
                        help="also the Win32 backend, and the Windows suites (win64) for what the native ones miss")
    parser.add_argument("--ids", nargs="+", metavar="ID", help="these faults only (from a table), whatever the count")
    parser.add_argument("--list", action="store_true", help="list the faults in the seed's order; build nothing")
    parser.add_argument("--against", metavar="JSON", help="an earlier run's last.json: name its caught faults missed now")
    parser.add_argument("--rescore", metavar="JSON", help="write an earlier run's table again with today's equivalent list")
    parser.add_argument("--timeout", type=int, default=15, help="seconds a native suite may take (default 15)")
    parser.add_argument("--jobs", type=int, default=2, help="faults built side by side, each in a tree (default 2)")
    return parser.parse_args()


def main():
    args = parse_arguments()
    if args.rescore:
        return rescore(args.rescore)
    if args.against:
        args.ids = args.ids or [r["id"] for r in json.loads(Path(args.against).read_text())["faults"]]
    OUT.mkdir(parents=True, exist_ok=True)
    lock = open(OUT / ".lock", "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        sys.exit("mutate: another run is using out/mutate/")

    started_at, started = time.strftime("%Y-%m-%d %H:%M"), time.monotonic()
    paths = [Path(p).resolve().relative_to(ROOT).as_posix() if Path(p).exists() else p.rstrip("/")
             for p in (args.paths or [])]
    files = source_files()
    description = subprocess.run(["git", "describe", "--always", "--dirty"], cwd=ROOT, capture_output=True,
                                 text=True).stdout.strip()
    jobs = 1 if args.list else max(1, args.jobs)
    trees = [TREE] + [OUT / f"tree-{n}" for n in range(2, jobs + 1)]
    log(f"== scratch trees: {', '.join(str(t.relative_to(ROOT)) for t in trees)}")
    workers = [Worker(tree, files, args.timeout, args.wine) for tree in trees]
    if not args.list:
        # Every tree's build and suites without a fault, one tree after the
        # other: the later ones take what the first compiled from the cache.
        if not all(_checked(w) for w in workers):
            return 1

    first = workers[0]
    # The files each build compiles; before a first build, the sources the
    # native build would take.
    native_files = first.native.files() or {f for f in files if f.endswith(SOURCE_SUFFIXES) and not windows_only(f)}
    wine_files = first.wine.files() if first.wine else set()
    scope = sorted(f for f in (native_files | wine_files) if in_scope(f, paths, args.wine))
    if not scope:
        sys.exit("mutate: no source file of the build in " + (" ".join(paths) or "src/"))
    pool = all_faults(first.native.tree, scope)
    sequence = placer.seeded_order(pool, args.seed)
    if args.ids:
        wanted = set(args.ids)
        sequence = [f for f in sequence if f.id in wanted]
        unknown = wanted - {f.id for f in sequence}
        if unknown:
            log(f"mutate: no such fault in these sources (the line changed?): {' '.join(sorted(unknown))}")
        count = len(sequence)
    else:
        count = min(args.count, len(sequence))
    log(f"== {len(pool)} faults can be placed in {len(scope)} files; seed {args.seed}, {count} to build, "
        f"{len(workers)} at a time")

    if args.list:
        for fault in sequence[:count]:
            log(f"{fault.id} {subsystem_of(fault.path):20} {fault.path}:{fault.line} {fault.kind}: "
                f"{fault.before}  ->  {fault.after}")
        return 0

    outcomes, dropped, interrupted = run_faults(workers, sequence, count, native_files, read_equivalents(), started)

    where = " ".join(paths) if paths else "src/" + (" with the Win32 backend" if args.wine else "")
    settings = {
        "title": f"seed {args.seed}, {len(outcomes)} faults in {where}" + (", Windows suites too" if args.wine else ""),
        "seed": args.seed, "paths": paths, "wine": args.wine, "sources": description or "unknown",
        "started": started_at,
    }
    elapsed = time.monotonic() - started
    report = write_report(outcomes, len(dropped), settings, elapsed)
    log("")
    for line in summary_lines(outcomes):
        log(line)
    log(f"table: {report.relative_to(ROOT)} (took {elapsed / 60:.1f} min)")
    status = 0
    if args.against and not compare(outcomes, args.against):
        status = 1
    log(last_line(outcomes))
    return 130 if interrupted else status


def _checked(worker):
    try:
        worker.check()
        return True
    except SystemExit as failure:
        log(str(failure))
        return False


if __name__ == "__main__":
    sys.exit(main())
