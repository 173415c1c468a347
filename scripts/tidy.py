"""Tidies every source the given configurations compile, for scripts/lint.

    python3 scripts/tidy.py JOBS BUILD_DIR[:EXTRA_ARG,...]... -- SOURCE...

Parsing Qt's, GoogleTest's and the standard library's headers, and running
every check over all they declare, is most of what tidying a source costs,
so the sources are tidied many to a unit: a configuration's unity batches
(the sources our builds compile as one) are shared out between a few units
of about equal weight, each one file, its sources one after the other, each
after a `#line 1 "its path"`, so that they stay the main file (the checks
that look only there still look) and every finding names its own source
and line. A program's main() is renamed within a unit, so that several
programs can share one, and the batches that read Xlib's headers go last.

A unit that fails, as it may when one program's source spoils another's
(a macro, an overload found by argument-dependent lookup), is tidied again
a batch to a unit, and only what a batch gives as our build compiles it
counts. Units run JOBS at a time, the heaviest first.
"""

import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys

UNITY = re.compile(r'/CMakeFiles/.+\.dir/Unity/unity_\d+_cxx\.cxx$')
MAIN = re.compile(r'^\s*int\s+main\s*\(|^BENCHMARK_MAIN\s*\(', re.M)
# Units per job: a few, so that one slow unit does not hold the rest.
UNITS_PER_JOB = 2


def flags_of(entry):
    """The flags of a compile command, less the compiler, its output and its
    input, with the response files it names read; a flag and its value as
    one."""
    words, flags = shlex.split(entry['command'])[1:], []
    while words:
        word = words.pop(0)
        if word.startswith('@'):
            with open(os.path.join(entry['directory'], word[1:])) as f:
                words[:0] = shlex.split(f.read())
        elif word in ('-o', '-c'):
            words.pop(0)
        elif word in ('-isystem', '-include', '-Xclang'):
            flags.append((word, words.pop(0)))
        else:
            flags.append((word,))
    return flags


class Batch:
    """Sources the build compiles as one, with the compiler's flags."""

    def __init__(self, paths, flags):
        self.paths, self.flags = paths, flags
        texts = [open(p).read() for p in paths]
        # Xlib's macros (None, Bool, Status) spoil headers read after them.
        self.xlib = any('#include <X11/' in t for t in texts)
        flat = ' '.join(w for f in flags for w in f)
        # Qt's headers cost most, then GoogleTest's, then the sources.
        self.weight = 4 * ('qt6' in flat) + 2 * ('GTEST' in flat) + len(paths) / 4


def batches_of(builddir, wanted, seen):
    """The configuration's batches of wanted sources that no earlier one has
    given."""
    found = []
    for entry in json.load(open(os.path.join(builddir, 'compile_commands.json'))):
        paths = (re.findall(r'^#include "(.+)"$', open(entry['file']).read(), re.M)
                 if UNITY.search(entry['file']) else [entry['file']])
        paths = [p for p in paths if p in wanted and p not in seen]
        if paths:
            seen.update(paths)
            found.append(Batch(paths, flags_of(entry)))
    return found


class Unit:
    """Batches tidied as one file."""

    def __init__(self, batches, tidydir, extra):
        self.batches = sorted(batches, key=lambda b: b.xlib)
        self.tidydir, self.extra = tidydir, extra
        self.weight = sum(b.weight for b in batches)

    def tidy(self):
        paths = [p for b in self.batches for p in b.paths]
        text, starts = [], []
        for number, source in enumerate(paths):
            body = open(source).read()
            body += '' if body.endswith('\n') else '\n'
            rename = len(self.batches) > 1 and MAIN.search(body)
            piece = ((f'#define main main_of_source_{number}  // NOLINT\n' if rename else '') +
                     f'#line 1 "{source}"\n')
            starts.append((sum(t.count('\n') for t in text) + piece.count('\n') + 1, source))
            text.append(piece + body + ('#undef main\n' if rename else ''))
        name = os.path.relpath(paths[0], self.tidydir).replace('../', '').replace('/', '.')
        path = os.path.join(self.tidydir, f'{len(paths)}.{name}')
        with open(path, 'w') as f:
            f.write(''.join(text))
        flags = list(dict.fromkeys(f for b in self.batches for f in b.flags))
        # The flags may be GCC's, with warning options clang does not know.
        p = subprocess.run(['clang-tidy', '--quiet', '--warnings-as-errors=*',
                            '--extra-arg=-Wno-unknown-warning-option', *self.extra, path,
                            '--', *(w for f in flags for w in f)],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)

        # Findings name the unit's lines: give each its source's own.
        def source_line(m):
            start, source = max((st for st in starts if st[0] <= int(m[1])), default=(1, path))
            return f'{source}:{int(m[1]) - start + 1}:'

        return p.returncode, re.sub(re.escape(path) + r':(\d+):', source_line, p.stdout)

    def alone(self):
        return [Unit([b], self.tidydir, self.extra) for b in self.batches]


def shared_out(batches, count):
    """The batches in at most count lists of about equal weight."""
    lists = [[] for _ in range(count)]
    for batch in sorted(batches, key=lambda b: -b.weight):
        min(lists, key=lambda l: sum(b.weight for b in l)).append(batch)
    return [l for l in lists if l]


def main():
    args = sys.argv[1:]
    jobs = int(args[0])
    configs, wanted = args[1:args.index('--')], set(args[args.index('--') + 1:])
    seen, units = set(), []
    for config in configs:
        builddir, _, extra = config.partition(':')
        extra = [f'--extra-arg={a}' for a in extra.split(',') if a]
        tidydir = os.path.join(os.path.abspath(builddir), 'tidy')
        os.makedirs(tidydir, exist_ok=True)
        for old in os.listdir(tidydir):
            os.remove(os.path.join(tidydir, old))
        found = batches_of(builddir, wanted, seen)
        units += [Unit(l, tidydir, extra) for l in shared_out(found, jobs * UNITS_PER_JOB)]
    untidied = sorted(wanted - seen)
    if untidied:
        print('lint: no configuration compiles ' + ', '.join(untidied))
        return 1

    failed = split = 0
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        running = {pool.submit(u.tidy): u for u in sorted(units, key=lambda u: -u.weight)}
        while running:
            done, _ = concurrent.futures.wait(running, return_when='FIRST_COMPLETED')
            for future in done:
                unit = running.pop(future)
                code, out = future.result()
                if code == 0:
                    continue
                if len(unit.batches) > 1:
                    split += 1
                    for alone in unit.alone():
                        running[pool.submit(alone.tidy)] = alone
                    continue
                failed += 1
                sys.stdout.write(out)
                sys.stdout.flush()
    print(f'lint: {len(seen)} sources tidied in {len(units)} units'
          + (f', {split} of them split' if split else ''))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
