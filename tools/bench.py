#!/usr/bin/env python3
"""The frame-rate table: the program's own "FPS.txt" for each way of running it, on this
machine, in one go, with the ratios between the rows and a chart of them.

    python3 tools/bench.py RELEASE_BUILD WINDOWS_BUILD [SECONDS] [REPEATS] [CHART]

Each run lasts about SECONDS (default 6) and is repeated REPEATS times (default 3); the table
shows the median. Peak memory is the run's peak resident set. CHART (default
RELEASE_BUILD/frame-rates.png) is the table drawn by gnuplot (tools/bench_chart.gp).
BENCH_BASELINE=path/to/fontloom in the environment follows each windowed native row with the
same run of that program: before and after a change, on one machine in one run.

Every measurement is a row (name, frames per second, peak MB); the table, the ratios and the
chart are made from the rows alone. The desktops come from tools/x_session.sh and the keys
that set the preferences window from tools/prefs_keys.sh, which the end-to-end tests share.
"""

import contextlib
import datetime
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from collections import namedtuple

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
X_SESSION = os.path.join(SOURCE_DIR, "tools", "x_session.sh")
PREFS_KEYS = os.path.join(SOURCE_DIR, "tools", "prefs_keys.sh")
CHART_SCRIPT = os.path.join(SOURCE_DIR, "tools", "bench_chart.gp")
SAMPLE_PAGE = os.path.join(SOURCE_DIR, "app", "sample", "text.txt")

# fps: frames per second, None when not measured; mb: peak resident MB, None for none.
Row = namedtuple("Row", "name fps mb")

# Each ratio line: its label, then the rows divided, top by bottom.
RATIOS = [
    ("native headless HAL / headless ceiling", "native, headless, HAL", "copy ceiling, headless"),
    ("headless full screen / its ceiling", "native, headless, full screen, HAL", "copy ceiling, headless, full screen"),
    ("native headless HAL / Reference", "native, headless, HAL", "native, headless, Reference"),
    ("native Xvfb HAL / Xvfb ceiling", "native, Xvfb, HAL", "copy ceiling, Xvfb"),
    ("Xvfb full screen / its ceiling", "native, Xvfb, full screen, HAL", "copy ceiling, Xvfb, full screen"),
    ("Xvfb full screen / Xvfb windowed", "native, Xvfb, full screen, HAL", "native, Xvfb, HAL"),
    ("native Xvfb HAL / Wine", "native, Xvfb, HAL", "Windows build under Wine, Xvfb, HAL"),
    ("native / Wine, 640 x 480 x 16 full screen", "native, Xvfb 640 x 480 x 16, full screen",
     "Windows build under Wine, Xvfb 640 x 480 x 16, full screen"),
    ("Wayland windowed / Xvfb windowed", "native, weston (Wayland), HAL", "native, Xvfb, HAL"),
]
BASELINE_RATIOS = [
    ("headless windowed / baseline", "native, headless, HAL", "baseline, headless, HAL"),
    ("Xvfb windowed / baseline", "native, Xvfb, HAL", "baseline, Xvfb, HAL"),
]


def read_prefs_keys(path=PREFS_KEYS):
    """The preferences window's choices as {choice: [key, ...]} in the sim script's names, and
    xdotool's name of each key, from the NAME="..." lines of tools/prefs_keys.sh."""
    with open(path, encoding="utf-8") as f:
        values = dict(re.findall(r'^([A-Z_]+)="([^"]*)"', f.read(), re.M))
    choices = {name[len("PREFS_"):].lower(): value.split()
               for name, value in values.items() if name.startswith("PREFS_")}
    x_names = dict(pair.split("=", 1) for pair in values["X_KEYS"].split())
    return choices, x_names


CHOICES, X_NAMES = read_prefs_keys()


def sim_keys(choice):
    """The choice as a FONTLOOM_SIM script: "key TAB; key SPACE; key RETURN"."""
    return "; ".join("key " + key for key in CHOICES[choice])


def x_keys(choice):
    """The choice as xdotool's key names: ["Tab", "space", "Return"]."""
    return [X_NAMES[key] for key in CHOICES[choice]]


def median(values):
    """The middle value (the lower one of an even count) of those measured, or None."""
    values = sorted(v for v in values if v is not None)
    return values[(len(values) + 1) // 2 - 1] if values else None


def fps_of(folder):
    """The average frame rate the program wrote, the first word of "FPS.txt"."""
    try:
        with open(os.path.join(folder, "FPS.txt"), encoding="ascii", errors="replace") as f:
            return float(f.read().split()[0])
    except (OSError, IndexError, ValueError):
        return None


def start(argv, cwd, env, limit):
    """Starts a program, stopped after limit seconds if it has not ended by then."""
    return subprocess.Popen(["timeout", str(limit), *argv], cwd=cwd, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def finish(process):
    """Waits for a program started by start(); its peak resident memory in MB, as
    /usr/bin/time sees it (timeout's waited-for child included)."""
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    return usage.ru_maxrss // 1024


def environment(printed):
    """The variables "env -0" printed."""
    return dict(item.split("=", 1) for item in printed.decode().split("\0") if "=" in item)


def shell(env, *call, env_after=False):
    """Runs call, a function of tools/x_session.sh, in bash with env: whether it succeeded and
    what it printed, or with env_after the environment it leaves (make_wine_prefix exports)."""
    script = 'source "$0" && "$@"' + (' >/dev/null && env -0' if env_after else "")
    done = subprocess.run(["bash", "-c", script, X_SESSION, *call], env=env, stdout=subprocess.PIPE)
    if env_after:
        return environment(done.stdout)
    return done.returncode == 0, done.stdout.decode().strip()


@contextlib.contextmanager
def desktop(kind, size="1280x1024x24"):
    """A private X server with a desktop on it, start_desktop KIND SIZE (tools/x_session.sh), in
    a bash that holds it until the block ends. Yields the environment of a program run there
    (DISPLAY; for weston also WAYLAND_DISPLAY, XDG_RUNTIME_DIR and SDL_VIDEODRIVER)."""
    script = 'source "$0"; trap stop_x_server EXIT; start_desktop "$1" "$2" >&2; env -0; exec >&-; read -r _'
    keeper = subprocess.Popen(["bash", "-c", script, X_SESSION, kind, size],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    try:
        told = environment(keeper.stdout.read())
        if not told:
            sys.exit(f"bench: the desktop {kind} {size} did not start")
        yield told
    finally:
        keeper.stdin.close()  # the end of its input: it stops the desktop and the server
        keeper.wait()


class Bench:
    def __init__(self, release, windows, seconds, repeats, work):
        self.program = os.path.join(release, "app", "fontloom")
        self.frame_bench = os.path.join(release, "bench", "frame_bench")
        self.exe = os.path.join(windows, "app", "fontloom.exe")
        self.seconds = seconds
        self.repeats = repeats
        self.work = work
        self.baseline = os.environ.get("BENCH_BASELINE") or None
        self.wine = None  # the environment Wine's prefix adds, once made
        self.startup = {}  # milliseconds to the preferences window, by "native" and "Wine"
        self.wine_full_log = None  # the first line of "log.txt" of Wine full screen

    def fresh_dir(self):
        folder = tempfile.mkdtemp(prefix="run.", dir=self.work)
        shutil.copy(SAMPLE_PAGE, folder)
        return folder

    def frames_for(self, program, choice, env):
        """A frame count that lasts about SECONDS at the rate a short trial run shows."""
        folder = self.fresh_dir()
        trial = {**env, "FONTLOOM_SIM": sim_keys(choice) + "; key ESCAPE after 300 frames"}
        finish(start([program], folder, trial, 120))
        return max(300, int((fps_of(folder) or 100) * self.seconds))

    def native(self, name, choice, env, program=None):
        """The native program, the preferences chosen by the sim script."""
        program = program or self.program
        frames = self.frames_for(program, choice, env)
        fps, mb = [], []
        for _ in range(self.repeats):
            folder = self.fresh_dir()
            run = {**env, "FONTLOOM_SIM": f"{sim_keys(choice)}; key ESCAPE after {frames} frames"}
            mb.append(finish(start([program], folder, run, self.seconds * 5 + 60)))
            fps.append(fps_of(folder))
        return Row(name, median(fps), median(mb))

    def windowed(self, name, env):
        """The row "native, NAME" and, with a baseline, the same run of it as "baseline, NAME".
        Only windowed: Return alone means the same to every build, while builds from before the
        preferences window started with the focus on itself need other keys for full screen."""
        yield self.native("native, " + name, "windowed", env)
        if self.baseline:
            yield self.native("baseline, " + name, "windowed", env, self.baseline)

    def ceiling(self, name, benchmark, env):
        """The copy ceiling, Clear + Present alone of frames that change every time
        (bench/frame_bench: BM_CopyCeiling windowed, BM_CopyCeilingFullScreen), or of the same
        frame again (BM_UnchangedFullScreen), from Google Benchmark's JSON report."""
        report = os.path.join(self.work, benchmark + ".json")
        subprocess.run([self.frame_bench, f"--benchmark_filter=^{benchmark}/",
                        f"--benchmark_min_time={self.seconds:g}", f"--benchmark_repetitions={self.repeats}",
                        "--benchmark_report_aggregates_only=true", f"--benchmark_out={report}",
                        "--benchmark_out_format=json"],
                       env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            with open(report, encoding="utf-8") as f:
                runs = json.load(f)["benchmarks"]
        except (OSError, ValueError, KeyError):
            return Row(name, None, None)
        # One repetition has no aggregates, only the run itself.
        medians = [run["frames/s"] for run in runs if run.get("aggregate_name") == "median"]
        plain = [run["frames/s"] for run in runs if run.get("run_type") == "iteration"]
        return Row(name, medians[0] if medians else median(plain), None)

    def can_run_wine(self):
        return shutil.which("wine") is not None and os.path.isfile(self.exe)

    def wine_env(self, env):
        """env with a Wine prefix: WINEPREFIX as given, or a quiet one made on first use."""
        if self.wine is None:
            if os.environ.get("WINEPREFIX"):
                self.wine = {}
            else:
                made = shell(env, "make_wine_prefix", os.path.join(self.work, "prefix"), env_after=True)
                self.wine = {key: made[key] for key in ("WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES")}
        return {**env, **self.wine}

    def wine_run(self, name, choice, env):
        """The Windows build under Wine, the preferences set with real key presses, running for
        SECONDS; also the first line of its "log.txt" when it logged anything."""
        env = self.wine_env(env)
        fps, mb, logged = [], [], None
        for _ in range(self.repeats):
            folder = self.fresh_dir()
            shutil.copy(self.exe, folder)
            process = start(["wine", "fontloom.exe"], folder, env, self.seconds * 5 + 60)
            found, window = shell(env, "wait_for_window", "User Preferences", "60")
            if found:
                for key in x_keys(choice):
                    shell(env, "press", window, key)
            found, window = shell(env, "wait_for_window", "^Fontloom$", "30")
            if found:
                time.sleep(self.seconds)
                shell(env, "press", window, "Escape")
            mb.append(finish(process))
            fps.append(fps_of(folder))
            with contextlib.suppress(OSError):
                with open(os.path.join(folder, "log.txt"), encoding="latin-1") as f:
                    logged = f.readline().rstrip("\r\n") or logged
        return Row(name, median(fps), median(mb)), logged

    def startup_ms(self, argv, env):
        """From launch to the preferences window being on the X screen; then Escape."""
        began = time.monotonic()
        process = subprocess.Popen(argv, cwd=self.fresh_dir(), env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        found, window = shell(env, "wait_for_window", "User Preferences", "60")
        took = int((time.monotonic() - began) * 1000)
        if found:
            shell(env, "press", window, "Escape")
        process.wait()
        return took if found else None

    @contextlib.contextmanager
    def desktop(self, kind, size="1280x1024x24"):
        """desktop(), with Wine's server stopped before the desktop goes."""
        with desktop(kind, size) as env:
            try:
                yield env
            finally:
                if self.wine is not None:
                    shell(self.wine_env(env), "stop_wine")

    def rows(self):
        """Every run, as its row, in the table's order."""
        headless = {**os.environ, "FONTLOOM_HEADLESS": "1"}
        yield from self.windowed("headless, HAL", headless)
        yield self.native("native, headless, Reference", "reference", headless)
        yield self.native("native, headless, full screen, HAL", "full_screen", headless)
        yield self.ceiling("copy ceiling, headless", "BM_CopyCeiling", headless)
        yield self.ceiling("copy ceiling, headless, full screen", "BM_CopyCeilingFullScreen", headless)
        yield self.ceiling("unchanged frame, headless, full screen", "BM_UnchangedFullScreen", headless)
        with self.desktop("bare") as env:
            shown = {**env, "FONTLOOM_HEADLESS": "0"}
            yield from self.windowed("Xvfb, HAL", shown)
            yield self.native("native, Xvfb, full screen, HAL", "full_screen", shown)
            yield self.ceiling("copy ceiling, Xvfb", "BM_CopyCeiling", shown)
            yield self.ceiling("copy ceiling, Xvfb, full screen", "BM_CopyCeilingFullScreen", shown)
            self.startup["native"] = self.startup_ms([self.program], shown)
            if self.can_run_wine():
                row, _ = self.wine_run("Windows build under Wine, Xvfb, HAL", "windowed", env)
                yield row
                self.startup["Wine"] = self.startup_ms(["wine", self.exe], self.wine_env(env))
            else:
                print(f"(Wine or {self.exe} missing: the Windows build was not measured)")
        # Xvfb has one display mode, so Wine's Direct3D takes a full-screen 640 x 480 R5G6B5
        # device only on a screen that already is that mode (on 1280 x 1024 it answers
        # D3DERR_NOTAVAILABLE). Both builds run full screen on such a screen, side by side.
        with self.desktop("bare", "640x480x16") as env:
            shown = {**env, "FONTLOOM_HEADLESS": "0"}
            yield self.native("native, Xvfb 640 x 480 x 16, full screen", "full_screen", shown)
            if self.can_run_wine():
                row, self.wine_full_log = self.wine_run(
                    "Windows build under Wine, Xvfb 640 x 480 x 16, full screen", "full_screen", env)
                yield row
        # Wayland: weston in a window of Xvfb, the program on SDL's Wayland driver.
        with self.desktop("weston") as env:
            shown = {**env, "FONTLOOM_HEADLESS": "0"}
            yield self.native("native, weston (Wayland), HAL", "windowed", shown)
            yield self.native("native, weston (Wayland), full screen, HAL", "full_screen", shown)


def shown_fps(fps):
    return "-" if fps is None else f"{fps:.2f}"


def ratios_of(rows, with_baseline):
    """(label, top / bottom) for each ratio line; None where a row is missing or 0."""
    fps = {row.name: row.fps for row in rows}
    lines = []
    for label, top, bottom in RATIOS + (BASELINE_RATIOS if with_baseline else []):
        a, b = fps.get(top) or 0, fps.get(bottom) or 0
        lines.append((label, a / b if a > 0 and b > 0 else None))
    return lines


def table(rows, ratios, heading, startup, wine_full_log):
    """The printed table: the heading lines, a row a line, the ratios, the start-up times."""
    lines = [""] + heading + ["", f"| {'run':<60} | {'frames/s':>12} | {'peak RSS (MB)':>13} |",
                              "|" + "-" * 62 + "|" + "-" * 14 + "|" + "-" * 15 + "|"]
    for row in rows:
        lines.append(f"| {row.name:<60} | {shown_fps(row.fps):>12} | {'-' if row.mb is None else row.mb:>13} |")
    lines.append("")
    for label, value in ratios:
        lines.append(f"{label + ':':<44} {'-' if value is None else f'{value:.2f}'}")
    ms = {who: "-" if startup.get(who) is None else startup[who] for who in ("native", "Wine")}
    lines.append(f"{'start-up to the preferences window:':<44} native {ms['native']} ms, Wine {ms['Wine']} ms")
    if wine_full_log:
        lines.append(f"{'Wine full screen, log.txt:':<44} {wine_full_log}")
    return lines


def draw_chart(rows, ratios, title, chart, work):
    """The chart, gnuplot's (tools/bench_chart.gp) from two data files; 0 for not measured."""
    if shutil.which("gnuplot") is None:
        print("(gnuplot missing: no chart)")
        return
    runs, ratio_data = os.path.join(work, "runs.dat"), os.path.join(work, "ratios.dat")
    with open(runs, "w", encoding="utf-8") as f:
        for row in rows:
            f.write(f'"{row.name}" {"0" if row.fps is None else f"{row.fps:.2f}"} {row.mb or 0}\n')
    with open(ratio_data, "w", encoding="utf-8") as f:
        for label, value in ratios:
            f.write(f'"{label}" {"0" if value is None else f"{value:.2f}"}\n')
    quoted = {name: value.replace("'", "''") for name, value in
              (("runs", runs), ("ratios", ratio_data), ("out", chart), ("heading", title))}
    settings = "; ".join(f"{name}='{value}'" for name, value in quoted.items())
    if subprocess.run(["gnuplot", "-e", settings, CHART_SCRIPT]).returncode == 0:
        print(f"chart: {chart}")


def machine():
    """"2 x AMD EPYC 7B13": the processors this process may use, and their model."""
    model = ""
    with contextlib.suppress(OSError), open("/proc/cpuinfo", encoding="utf-8") as f:
        model = next((line.split(":", 1)[1].strip() for line in f if line.startswith("model name")), "")
    return f"{len(os.sched_getaffinity(0))} x {model}"


def load_average():
    with open("/proc/loadavg", encoding="ascii") as f:
        return f.read().split()[0]


def main(argv):
    if not 2 <= len(argv) <= 5:
        sys.exit(__doc__.split("\n\n")[1])
    release, windows = (os.path.abspath(folder) for folder in argv[:2])
    seconds_text, repeats_text = (argv[2:3] or ["6"])[0], (argv[3:4] or ["3"])[0]
    chart = os.path.abspath(argv[4]) if len(argv) > 4 else os.path.join(release, "frame-rates.png")
    work = tempfile.mkdtemp(prefix="fontloom-bench.", dir=os.environ.get("TMPDIR", "/tmp"))
    try:
        bench = Bench(release, windows, float(seconds_text), int(repeats_text), work)
        load_before = load_average()
        rows = list(bench.rows())
        load_after = load_average()
        ratios = ratios_of(rows, bench.baseline is not None)
        title = f"Fontloom frame rates: {machine()}, {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d}"
        heading = [title,
                   f"median of {repeats_text} runs of about {seconds_text} s, the full sample page (app/sample/text.txt);",
                   f"full screen: 640 x 480 R5G6B5 on a 1280 x 1024 screen; load average {load_before} before, {load_after} after"]
        print("\n".join(table(rows, ratios, heading, bench.startup, bench.wine_full_log)))
        draw_chart(rows, ratios, title, chart, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv[1:])
