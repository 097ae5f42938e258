#!/usr/bin/env python3
"""Runs every case of the hostile corpus (make_hostile_corpus.py beside this file) through
`zelvotta-tool check` and a headless `zelvotta-tool run`, and checks what a user who
downloaded such a character must be able to rely on:

- no run ends by a signal or hangs, and each exits with its documented code
  (check: 0 when every character loads, else 1 with an error line; run: 0);
- a run that stops before its last frame has shown a message;
- nothing outside the application folder's Params/ is made, changed or removed (the
  tree compared before and after, and under strace every write the process made);
- no text of the files outside the application folder shows in anything it printed,
  traced or wrote;
- damaged state files are read as defaults and written back whole.

Ends with the line "N passed, N failed".

    python3 tests/hostile/run_hostile_corpus.py --tool build/default/zelvotta-tool --base characters
"""
import argparse
import concurrent.futures
import hashlib
import json
import os
import re
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

from param_file import decode_param, param_file_name

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
APP_CFG_KEYS = ["LowQuality", "MoveScopeLeft", "MoveScopeTop", "MoveScopeRight", "MoveScopeBottom", "ScaleID",
                "AlphaID", "UnMouse", "WndTopOrBottom"]
WRITE_FLAGS = ("O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC")


# --- looking at a tree ------------------------------------------------------------
def tree_of(root, skip):
    """Every entry below `root` (links not followed) with what identifies its content."""
    entries = {}
    for folder, dirs, files in os.walk(root):
        if os.path.abspath(folder) == skip:
            dirs[:] = []
            continue
        for name in dirs + files:
            path = os.path.join(folder, name)
            if os.path.abspath(path) == skip:
                continue
            info = os.lstat(path)
            kind = stat.S_IFMT(info.st_mode)
            # A folder is compared by its entries (making Params changes the folder
            # above it); FIFOs are never opened, since that would block.
            entry = (kind,)
            if stat.S_ISREG(info.st_mode):
                with open(path, "rb") as f:
                    entry = (kind, hashlib.sha1(f.read()).hexdigest(), info.st_mtime_ns)
            elif stat.S_ISLNK(info.st_mode):
                entry = (kind, os.readlink(path))
            entries[os.path.relpath(path, root)] = entry
    return entries


def tree_changes(before, after):
    changes = [f"removed {p}" for p in sorted(set(before) - set(after))]
    changes += [f"made {p}" for p in sorted(set(after) - set(before))]
    changes += [f"changed {p}" for p in sorted(set(before) & set(after)) if before[p] != after[p]]
    return changes


def strace_writes(log_prefix):
    """(call, path) for every call of the traced processes that writes to a path."""
    writes = []
    pattern = re.compile(r'^(?:\d+\s+)?(\w+)\((.*)\)\s+=\s+(-?\d+)')
    for name in os.listdir(os.path.dirname(log_prefix)):
        if not name.startswith(os.path.basename(log_prefix)):
            continue
        with open(os.path.join(os.path.dirname(log_prefix), name), "rb") as f:
            for raw in f:
                line = raw.decode("latin-1")
                match = pattern.match(line)
                if not match or int(match.group(3)) < 0:
                    continue
                call, args = match.group(1), match.group(2)
                paths = [decode_strace(p) for p in re.findall(r'"((?:[^"\\]|\\.)*)"', args)]
                if call in ("open", "openat", "openat2", "creat"):
                    if call == "creat" or any(flag in args for flag in WRITE_FLAGS):
                        writes += [(call, p) for p in paths[:1]]
                elif call in ("rename", "renameat", "renameat2", "link", "linkat", "symlink", "symlinkat"):
                    writes += [(call, p) for p in paths[-1:]] + [(call + "-from", p) for p in paths[:-1]]
                elif call in ("unlink", "unlinkat", "mkdir", "mkdirat", "rmdir", "truncate", "chmod", "fchmodat"):
                    writes += [(call, p) for p in paths[:1]]
    return writes


def decode_strace(text):
    return text.encode("latin-1").decode("unicode_escape").encode("latin-1").decode("utf-8", "surrogateescape")


# --- one case ----------------------------------------------------------------------
class Runner:
    def __init__(self, args, corpus, secret):
        self.args = args
        self.corpus = corpus
        self.secret = secret
        self.strace = shutil.which("strace") if not args.no_strace else None

    def tool(self, arguments, work, strace_log=None):
        environment = dict(os.environ, XDG_RUNTIME_DIR=os.path.join(work, "runtime"), HOME=os.path.join(work, "home"))
        environment.pop("DISPLAY", None)
        os.makedirs(environment["XDG_RUNTIME_DIR"], exist_ok=True)
        os.makedirs(environment["HOME"], exist_ok=True)
        command = [self.args.tool] + arguments
        if strace_log:
            command = [self.strace, "-f", "-ff", "-qq", "-s", "4096", "-o", strace_log,
                       "-e", "trace=%file"] + command
        started = time.monotonic()
        # A session of its own, so a hung run is ended with everything it started (under
        # strace the tool is strace's child, not ours).
        process = subprocess.Popen(command, cwd=work, env=environment, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
        try:
            out, err = process.communicate(timeout=self.args.timeout)
            return process.returncode, out, err, time.monotonic() - started
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            out, err = process.communicate()
            return "timeout", out, err, time.monotonic() - started

    def run_case(self, case):
        name = case["name"]
        root = os.path.join(self.corpus, name)
        app = os.path.join(root, "app")
        params = os.path.join(app, "Params")
        problems = []
        work = tempfile.mkdtemp(prefix="zv-hostile-")
        try:
            before = tree_of(root, params)
            code, out, err, seconds = self.tool(["check", "--app-dir", app], work)
            self.expect_check(case, code, out, err, problems)
            trace = os.path.join(work, "trace.jsonl")
            log = os.path.join(work, "strace") if self.strace else None
            run_code, run_out, run_err, run_seconds = self.tool(
                ["run", "--app-dir", app, "--frames", str(self.args.frames), "--seed", "1", "--trace", trace],
                work, log)
            seconds += run_seconds
            self.expect_run(run_code, run_err, trace, problems)
            problems += tree_changes(before, tree_of(root, params))
            if log:
                problems += self.outside_writes(log, params, work)
            outputs = [out, err, run_out, run_err, read_bytes(trace)] + params_contents(params)
            if any(self.secret.encode() in output for output in outputs):
                problems.append("text of an outside file shows in its output")
            if case.get("state") and isinstance(run_code, int) and run_code == 0 and not message_boxes(trace):
                problems += state_written_back(params, trace)
        finally:
            shutil.rmtree(work, ignore_errors=True)
        return name, problems, seconds

    @staticmethod
    def expect_check(case, code, out, err, problems):
        if ended_badly("check", code, err, problems):
            return
        if code not in (0, 1):
            problems.append(f"check exited {code}: {tail(err)}")
        if case.get("check") is not None and code != case["check"]:
            problems.append(f"check exited {code}, not {case['check']}: {tail(out)}")
        lines = out.decode("utf-8", "replace").splitlines()
        if code == 1 and not any(line.startswith("error ") for line in lines) and not err.strip():
            problems.append("check failed without a message")
        if code == 0 and any(not line.startswith("ok ") for line in lines):
            problems.append(f"check passed with other lines: {tail(out)}")

    def expect_run(self, code, err, trace, problems):
        if ended_badly("run", code, err, problems):
            return
        if code != 0:
            problems.append(f"run exited {code}: {tail(err)}")
        records = trace_records(trace)
        quits = [r for r in records if r.get("event") == "quit"]
        if not quits and not message_boxes(trace):
            problems.append("the trace has neither a quit record nor a message")
        elif quits and quits[-1].get("frame", 0) < self.args.frames - 1 and not message_boxes(trace):
            problems.append(f"run stopped at frame {quits[-1].get('frame')} without a message")

    def outside_writes(self, log, params, work):
        allowed = [params + os.sep, work + os.sep]
        problems = []
        for call, path in strace_writes(log):
            full = os.path.normpath(os.path.join(work, path))
            if full == params or any(full.startswith(prefix) for prefix in allowed) or full.startswith("/dev/"):
                continue
            problems.append(f"{call} outside Params: {full}")
        return problems[:5]


def ended_badly(command, code, err, problems):
    """Whether the command hung or died by a signal (and says so in `problems`)."""
    if code == "timeout":
        problems.append(f"{command} hung")
    elif code < 0:
        problems.append(f"{command} ended by signal {-code}: {tail(err)}")
    else:
        return False
    return True


def read_bytes(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


def params_contents(params):
    contents = []
    if os.path.isdir(params) and not os.path.islink(params):
        for name in os.listdir(params):
            path = os.path.join(params, name)
            if os.path.isfile(path) and not os.path.islink(path):
                data = read_bytes(path)
                contents += [data, (decode_param(data) or "").encode("utf-8")]
    return contents


def trace_records(trace):
    records = []
    for line in read_bytes(trace).decode("utf-8", "replace").splitlines():
        try:
            records.append(json.loads(line))
        except ValueError:
            records.append({"event": "unreadable"})
    return records


def message_boxes(trace):
    return [r for r in trace_records(trace) if r.get("event") == "messagebox"]


def state_written_back(params, trace):
    """A run that went well leaves app.cfg and each character's .param whole."""
    if os.path.lexists(params) and not os.path.isdir(params):
        return []  # Params is a file: nothing can be written, and nothing may be lost
    problems = []
    config = os.path.join(params, "app.cfg")
    if not (os.path.isdir(config) and not os.path.islink(config)):
        text = read_bytes(config).decode("utf-8", "replace").removeprefix("\ufeff")
        missing = [key for key in APP_CFG_KEYS if not re.search(rf"(?m)^{key}=-?\d+$", text)]
        if missing:
            problems.append(f"app.cfg not written back whole (missing {', '.join(missing)})")
    startup = [r for r in trace_records(trace) if r.get("event") == "startup"]
    for folder in startup[0].get("characters", []) if startup else []:
        path = os.path.join(params, param_file_name(folder))
        if os.path.isdir(path) and not os.path.islink(path):
            continue  # a folder stands there: it is kept, so the state cannot be written
        text = decode_param(read_bytes(path))
        keys = [f"{folder}.{key}" for key in ("x", "y", "LineNum", "Mute", "Hide")]
        if text is None or any(key not in text for key in keys):
            problems.append(f"{param_file_name(folder)} not written back whole")
    return problems


def tail(data):
    text = data.decode("utf-8", "replace").strip().splitlines()
    return " | ".join(text[-3:])[:300]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--base", default=os.path.join(ROOT, "characters"))
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--frames", type=int, default=90)
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--only", help="run only the cases whose name contains this")
    parser.add_argument("--no-strace", action="store_true")
    parser.add_argument("--keep", help="write the corpus here and keep it")
    args = parser.parse_args()
    args.tool = os.path.abspath(args.tool)

    corpus = args.keep or tempfile.mkdtemp(prefix="zv-hostile-corpus-")
    subprocess.run([sys.executable, os.path.join(HERE, "make_hostile_corpus.py"), "--base", args.base,
                    "--out", corpus, "--seed", str(args.seed)], check=True)
    with open(os.path.join(corpus, "cases.json")) as f:
        index = json.load(f)
    cases = [c for c in index["cases"] if not args.only or args.only in c["name"]]
    runner = Runner(args, corpus, index["secret"])
    failed = []
    slowest = (0.0, "")
    started = time.monotonic()
    try:
        with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
            for name, problems, seconds in pool.map(runner.run_case, cases):
                slowest = max(slowest, (seconds, name))
                if problems:
                    failed.append(name)
                    print(f"FAIL {name}: " + "; ".join(problems[:6]), flush=True)
    finally:
        if not args.keep:
            shutil.rmtree(corpus, ignore_errors=True)
    print(f"hostile corpus: {len(cases)} cases in {time.monotonic() - started:.1f} s, "
          f"slowest {slowest[1]} {slowest[0]:.1f} s{'' if runner.strace else ', without strace'}")
    print(f"{len(cases) - len(failed)} passed, {len(failed)} failed")
    return 1 if failed or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
