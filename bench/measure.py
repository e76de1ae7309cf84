#!/usr/bin/env python3
"""Times the teluri command and the main window against their references.

Called by bench/run.sh once the programs are built and the archives made.
Every measurement is a whole process started from here, under GNU time (so
every row and every reference carry the same small cost of it): wall time
from the start to the end of the process, and its peak resident memory.
Each round measures every row and its reference, one after the other; the
table shows the medians over the rounds and the ratio of the two medians.  One round before them warms the page cache and is not
counted.  Outputs go to a pipe that is read and thrown away: grep treats an
output of /dev/null as a reason to stop at the first match.
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

TIME = "/usr/bin/time"


class Failure(Exception):
    pass


def run(command, env=None, cwd=None):
    """Runs `command` under GNU time, in folder `cwd` when one is given;
    returns (milliseconds, peak resident KiB, stdout bytes).  The peak comes
    from GNU time, not from this process's wait4: Linux counts a child's
    memory before its exec, this script's own, into the child's peak."""
    with tempfile.NamedTemporaryFile(prefix="teluri-bench-", suffix=".rss") as rss:
        start = time.perf_counter()
        process = subprocess.run([TIME, "-f", "%M", "-o", rss.name] + command,
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env,
                                 cwd=cwd)
        elapsed = (time.perf_counter() - start) * 1000
        if process.returncode != 0:
            raise Failure(f"{' '.join(command[:3])} ... exited with {process.returncode}: "
                          f"{process.stderr.decode(errors='replace').strip()}")
        peak = int(open(rss.name).read().split()[-1])
    return elapsed, peak, process.stdout


def figures(out):
    """The name=value figures a window_bench line reports."""
    result = {}
    for field in out.decode().split():
        name, _, value = field.partition("=")
        result[name] = float(value)
    return result


def median(values):
    return statistics.median(values)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--references", help="the build whose reference programs "
                        "(teluri_read_pages, the plain and bare windows) are run; "
                        "default: --build, another one to measure an older build")
    parser.add_argument("--archive", required=True)
    parser.add_argument("--chain", required=True)
    parser.add_argument("--tree", required=True, help="the archive's Tree.dat")
    parser.add_argument("--chain-tree", required=True, help="the chain's Tree.dat")
    parser.add_argument("--rare", required=True)
    parser.add_argument("--common", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--display", help="an X display with a window manager (Xvfb + openbox) "
                        "for the window's analysis run there")
    args = parser.parse_args()

    teluri = os.path.join(args.build, "cli", "teluri")
    window = os.path.join(args.build, "bench", "teluri_window_bench")
    references = args.references or args.build
    read_pages = os.path.abspath(os.path.join(references, "bench", "teluri_read_pages"))
    reference_window = os.path.join(references, "bench", "teluri_window_bench")
    pages = sorted(os.path.join(args.archive, name) for name in os.listdir(args.archive)
                   if name.endswith(".msg"))
    page_names = [os.path.basename(page) for page in pages]
    archive_bytes = sum(os.path.getsize(page) for page in pages)
    c_env = dict(os.environ, LC_ALL="C")
    x_env = dict(os.environ, DISPLAY=args.display or "", TELURI_BENCH_PLATFORM="xcb")
    # The pages the saved tree shows: the thread filter counts only those.
    with open(args.tree, "rb") as tree_file:
        tree_numbers = {line.lstrip(b"\t")[:4] for line in tree_file.read().split(b"\r\n")
                        if line.strip()}

    chain_pages = [os.path.join(args.chain, name) for name in os.listdir(args.chain)
                   if name.endswith(".msg")]

    def warm(files):
        """Reads `files` once, untimed. This machine's page cache loses a few
        hundred of the archive's pages a minute even with most of its memory
        free, so that the first command after a pause reads them from disk
        and the commands after it find them cached: each timed run that reads
        files starts from the same, warm, cache."""
        subprocess.run([read_pages] + files, stdout=subprocess.DEVNULL, check=True)

    def run_warm(files, command, env=None, cwd=None):
        warm(files)
        return run(command, env, cwd)

    samples = {}

    def note(name, value):
        samples.setdefault(name, []).append(value)

    def search_hits(out):
        # Three lines per hit in the search log.
        return out.count(b"\r\n") // 3 if b"\r\n" in out else out.count(b"\n") // 3

    checks = {}

    def round_(counted):
        ms, rss, out = run_warm(pages, [teluri, "analyze", args.archive])
        checks["analyze_nodes"] = out.count(b"\r\n")
        if counted:
            note("analyze", ms)
            note("analyze_rss", rss)
        # The plain reads run in the archive's folder and open each page by
        # its bare name, as the analysis opens them in the folder it holds
        # open: by whole paths they would also pay for every folder on the
        # way, which depends on where the archive lies.
        ms, _, _ = run_warm(pages, ["cat"] + page_names, cwd=args.archive)
        if counted:
            note("cat", ms)
        ms, _, _ = run_warm(pages, [read_pages] + page_names, cwd=args.archive)
        if counted:
            note("read_pages", ms)

        for label, word in (("rare", args.rare), ("common", args.common)):
            ms, _, out = run_warm(pages, [teluri, "search", args.archive, word])
            checks[f"search_{label}"] = search_hits(out)
            if counted:
                note(f"search_{label}", ms)
            ms, _, out = run_warm(pages, ["rg", "-j2", "-l", "-i", "-F", word, args.archive])
            checks[f"rg_{label}"] = out.count(b"\n")
            if counted:
                note(f"rg_{label}", ms)
            ms, _, out = run_warm(pages, ["grep", "-l", "-i", "-F", word] + pages, env=c_env)
            checks[f"grep_{label}"] = out.count(b"\n")
            checks[f"grep_tree_{label}"] = sum(
                1 for path in out.split(b"\n") if os.path.basename(path)[:-4] in tree_numbers
                and path)
            if counted:
                note(f"grep_{label}", ms)

        ms, _, _ = run_warm([args.tree], [teluri, "tree", args.tree])
        if counted:
            note("tree", ms)
        ms, _, _ = run_warm([args.tree], ["wc", "-l", args.tree])
        if counted:
            note("wc", ms)

        ms, rss, out = run_warm(pages, [window, "analyze", args.archive])
        f = figures(out)
        checks["window_nodes"] = int(f["nodes"])
        if counted:
            note("window_run", f["run_ms"])
            note("window_painted", f["painted_ms"])
            note("window_process", ms)
            note("window_rss", rss)

        for label, word in (("rare", args.rare), ("common", args.common)):
            ms, _, out = run_warm(pages, [window, "search", args.archive, word])
            f = figures(out)
            checks[f"window_search_{label}"] = int(f["rows"])
            if counted:
                note(f"window_search_{label}", f["search_ms"])
                note(f"window_search_{label}_painted", f["painted_ms"])

        if args.display:
            ms, _, out = run_warm(pages, [window, "analyze", args.archive], env=x_env)
            f = figures(out)
            checks["x_window_nodes"] = int(f["nodes"])
            if counted:
                note("x_window_run", f["run_ms"])
                note("x_window_painted", f["painted_ms"])

        ms, _, out = run_warm([args.tree], [window, "draft", args.tree, args.archive])
        f = figures(out)
        checks["draft_nodes"] = int(f["nodes"])
        if counted:
            note("draft", f["draft_ms"])
            note("draft_painted", f["painted_ms"])

        ms, _, out = run_warm(pages + [args.tree],
                             [window, "filter", args.tree, args.archive, args.rare, args.common])
        f = figures(out)
        for label, word in (("rare", args.rare), ("common", args.common)):
            checks[f"filter_{label}"] = int(f[f"pages_{word}"])
        if counted:
            note("filter_first", f["first_ms"])
            note("filter_first_painted", f["first_painted_ms"])
            note("filter_key_max", f["key_max_ms"])
            note("filter_key_max_painted", f["key_max_painted_ms"])
            note("filter_key_median_painted", f["key_median_painted_ms"])
            note("filter_bytes", f["texts_bytes"])
            checks["filter_keys"] = int(f["keys"])

        ms, _, out = run_warm(pages + [args.tree],
                             [window, "filter-at-once", args.tree, args.archive, args.rare])
        if counted:
            note("filter_at_once", figures(out)["first_ms"])

        ms, _, _ = run([window, "startup"])
        if counted:
            note("startup", ms)
        ms, _, _ = run([reference_window, "plain"])
        if counted:
            note("plain", ms)
        ms, _, _ = run([reference_window, "bare"])
        if counted:
            note("bare", ms)

        ms, _, out = run_warm(chain_pages, [window, "analyze", args.chain])
        f = figures(out)
        checks["chain_window_nodes"] = int(f["nodes"])
        if counted:
            note("chain_run", f["run_ms"])
            note("chain_painted", f["painted_ms"])
        ms, _, out = run_warm([args.chain_tree], [window, "draft", args.chain_tree, args.chain])
        f = figures(out)
        checks["chain_draft_nodes"] = int(f["nodes"])
        if counted:
            note("chain_draft", f["draft_ms"])
            note("chain_draft_painted", f["painted_ms"])
        ms, _, _ = run_warm(chain_pages, [teluri, "analyze", args.chain])
        if counted:
            note("chain_analyze", ms)
        ms, _, _ = run_warm([args.chain_tree], [teluri, "tree", args.chain_tree])
        if counted:
            note("chain_tree", ms)

    load_before = os.getloadavg()
    started = time.perf_counter()
    round_(False)
    for _ in range(args.runs):
        round_(True)
    took = time.perf_counter() - started
    load_after = os.getloadavg()

    # The figures must describe correct runs: the window shows the tree the
    # command computes, and the search finds the pages grep finds.
    problems = []
    if checks["window_nodes"] != checks["analyze_nodes"]:
        problems.append(f"window run shows {checks['window_nodes']} nodes, "
                        f"teluri analyze {checks['analyze_nodes']}")
    if checks["draft_nodes"] != checks["analyze_nodes"]:
        problems.append(f"draft open shows {checks['draft_nodes']} nodes, "
                        f"Tree.dat has {checks['analyze_nodes']}")
    if args.display and checks["x_window_nodes"] != checks["analyze_nodes"]:
        problems.append(f"window run under the window manager shows {checks['x_window_nodes']} "
                        f"nodes, teluri analyze {checks['analyze_nodes']}")
    for label in ("rare", "common"):
        if checks[f"window_search_{label}"] != checks[f"search_{label}"]:
            problems.append(f"search window lists {checks[f'window_search_{label}']} rows for the "
                            f"{label} word, teluri search {checks[f'search_{label}']}")
        if checks[f"rg_{label}"] != checks[f"grep_{label}"]:
            problems.append(f"rg finds {checks[f'rg_{label}']} pages for the {label} word, "
                            f"grep {checks[f'grep_{label}']}")
        if checks[f"search_{label}"] != checks[f"grep_{label}"]:
            problems.append(f"search finds {checks[f'search_{label}']} pages for the {label} "
                            f"word, grep {checks[f'grep_{label}']}")
        if checks[f"filter_{label}"] != checks[f"grep_tree_{label}"]:
            problems.append(f"the thread filter counts {checks[f'filter_{label}']} pages for "
                            f"the {label} word, grep {checks[f'grep_tree_{label}']} of the "
                            f"tree's pages")
    for key in ("chain_window_nodes", "chain_draft_nodes"):
        if checks[key] != 9000:
            problems.append(f"{key}: {checks[key]} nodes, not 9000")

    m = {name: median(values) for name, values in samples.items()}
    mb = archive_bytes / 1e6

    def ms(value):
        return f"{value:,.1f} ms"

    rows = [
        ("`teluri analyze` (9000 pages)", ms(m["analyze"]), "`cat` of every page",
         ms(m["cat"]), m["analyze"] / m["cat"], "≤ 1.5", m["analyze"] <= 1.5 * m["cat"]),
        ("`teluri analyze`, against the plain read", ms(m["analyze"]),
         "open, read, close of every page (`teluri_read_pages`)", ms(m["read_pages"]),
         m["analyze"] / m["read_pages"], "≤ 1.0", m["analyze"] <= m["read_pages"]),
        (f"`teluri search` rare word ({args.rare}, {checks['grep_rare']} pages)",
         ms(m["search_rare"]), "`rg -j2 -l -i -F`", ms(m["rg_rare"]),
         m["search_rare"] / m["rg_rare"], "≤ 1.0", m["search_rare"] <= m["rg_rare"]),
        (f"`teluri search` common word ({args.common}, {checks['grep_common']} pages)",
         ms(m["search_common"]), "`rg -j2 -l -i -F`", ms(m["rg_common"]),
         m["search_common"] / m["rg_common"], "≤ 1.0", m["search_common"] <= m["rg_common"]),
        ("`teluri search` rare word", ms(m["search_rare"]), "`LC_ALL=C grep -l -i -F`",
         ms(m["grep_rare"]), m["search_rare"] / m["grep_rare"], "—", None),
        ("`teluri search` common word", ms(m["search_common"]), "`LC_ALL=C grep -l -i -F`",
         ms(m["grep_common"]), m["search_common"] / m["grep_common"], "—", None),
        ("`teluri tree` of the 9000-node Tree.dat", ms(m["tree"]), "`wc -l` of the file",
         ms(m["wc"]), m["tree"] / m["wc"], "—", None),
        ("window: analysis run, tree view filled", ms(m["window_run"]), "`teluri analyze`",
         ms(m["analyze"]), m["window_run"] / m["analyze"], "≤ 1.2",
         m["window_run"] <= 1.2 * m["analyze"]),
        ("window: … until the tree view has painted", ms(m["window_painted"]),
         "`teluri analyze`", ms(m["analyze"]), m["window_painted"] / m["analyze"], "—", None),
    ]
    if args.display:
        rows.append(
            ("window under Xvfb + openbox: analysis run, tree view filled", ms(m["x_window_run"]),
             "`teluri analyze`", ms(m["analyze"]), m["x_window_run"] / m["analyze"], "≤ 1.2",
             m["x_window_run"] <= 1.2 * m["analyze"]))
    for label, word in (("rare", args.rare), ("common", args.common)):
        rows.append(
            (f"window: search, Enter to rows shown and log written ({word})",
             ms(m[f"window_search_{label}"]), "`teluri search`", ms(m[f"search_{label}"]),
             m[f"window_search_{label}"] / m[f"search_{label}"], "≤ 1.2",
             m[f"window_search_{label}"] <= 1.2 * m[f"search_{label}"]))
    rows += [
        ("window: draft open of the 9000-node Tree.dat", ms(m["draft"]), "`teluri tree`",
         ms(m["tree"]), m["draft"] / m["tree"], "≤ 2", m["draft"] <= 2 * m["tree"]),
        ("window: start-up to shown, then quit", ms(m["startup"]),
         "plain Qt main window: menu bar, tool bar, tree, rich text, status bar, Japanese text",
         ms(m["plain"]), m["startup"] / m["plain"], "≤ 1.3", m["startup"] <= 1.3 * m["plain"]),
        ("window: start-up to shown, then quit", ms(m["startup"]),
         "bare Qt: empty `QMainWindow`", ms(m["bare"]), m["startup"] / m["bare"], "—", None),
        ("window: thread filter, first letter 150 ms after the field took the focus, "
         "tree updated",
         ms(m["filter_first"]), "`teluri search` rare word", ms(m["search_rare"]),
         m["filter_first"] / m["search_rare"], "≤ 1.0", m["filter_first"] <= m["search_rare"]),
        ("window: … first letter until the tree view has painted", ms(m["filter_first_painted"]),
         "`teluri search` rare word", ms(m["search_rare"]),
         m["filter_first_painted"] / m["search_rare"], "—", None),
        ("window: … the first letter as the field takes the focus (waits for the pages)",
         ms(m["filter_at_once"]), "`teluri search` rare word", ms(m["search_rare"]),
         m["filter_at_once"] / m["search_rare"], "—", None),
        (f"window: thread filter, slowest of {checks['filter_keys']} keystrokes, tree updated",
         ms(m["filter_key_max"]), "the goal", ms(50), m["filter_key_max"] / 50, "≤ 1.0",
         m["filter_key_max"] <= 50),
        ("window: … until the tree view has painted", ms(m["filter_key_max_painted"]),
         "the goal", ms(50), m["filter_key_max_painted"] / 50, "—", None),
        ("window: thread filter, median keystroke until painted",
         ms(m["filter_key_median_painted"]), "the goal", ms(50),
         m["filter_key_median_painted"] / 50, "—", None),
        ("memory of the thread filter's page texts", f"{m['filter_bytes'] / 1e6:.1f} MB",
         "archive size (sum of files)", f"{mb:.1f} MB", m["filter_bytes"] / archive_bytes,
         "≤ 1.2", m["filter_bytes"] <= 1.2 * archive_bytes),
        ("peak memory of `teluri analyze`", f"{m['analyze_rss'] / 1024:.1f} MiB",
         "archive size (sum of files)", f"{mb:.1f} MB",
         m["analyze_rss"] * 1024 / archive_bytes, "< 32 MiB", m["analyze_rss"] < 32 * 1024),
        ("peak memory of the window after the run", f"{m['window_rss'] / 1024:.1f} MiB",
         "archive size (sum of files)", f"{mb:.1f} MB",
         m["window_rss"] * 1024 / archive_bytes, "—", None),
        ("9000-deep chain: window analysis run", ms(m["chain_run"]),
         "`teluri analyze` of the chain", ms(m["chain_analyze"]),
         m["chain_run"] / m["chain_analyze"], "< 1 s", m["chain_run"] < 1000),
        ("9000-deep chain: window draft open", ms(m["chain_draft"]),
         "`teluri tree` of its Tree.dat", ms(m["chain_tree"]),
         m["chain_draft"] / m["chain_tree"], "< 1 s", m["chain_draft"] < 1000),
    ]

    print(f"Medians of {args.runs} runs ({took:.0f} s in all; load average "
          f"{load_before[0]:.2f} before, {load_after[0]:.2f} after).")
    print()
    print("| Measurement | Median | Reference (same run) | Reference median | Ratio | Goal | Met |")
    print("|---|---:|---|---:|---:|---|---|")
    for name, value, ref, ref_value, ratio, goal, met in rows:
        mark = "—" if met is None else ("yes" if met else "**no**")
        print(f"| {name} | {value} | {ref} | {ref_value} | {ratio:.2f} | {goal} | {mark} |")
    print()
    print(f"Window process in all (analysis run, 9000 pages): {ms(m['window_process'])}; "
          f"draft open until painted: {ms(m['draft_painted'])}; "
          f"chain: run until painted {ms(m['chain_painted'])}, "
          f"draft open until painted {ms(m['chain_draft_painted'])}; "
          f"search window until painted: {ms(m['window_search_rare_painted'])} (rare word), "
          f"{ms(m['window_search_common_painted'])} (common word)"
          + (f"; under Xvfb + openbox, run until painted {ms(m['x_window_painted'])}."
             if args.display else "."))
    if problems:
        print()
        for problem in problems:
            print(f"CHECK FAILED: {problem}")
        return 1
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as failure:
        print(f"measure.py: {failure}", file=sys.stderr)
        sys.exit(1)
