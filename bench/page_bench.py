"""The game in a page, measured in a real headless Chromium: the size the
browser downloads, load to first frame, the tick rate and the key-to-canvas
time while playing with real keys, the browser's processor time meanwhile,
and how fast a script is watched flat out against gulpo-replay.

Run by scripts/bench, with PYTHONPATH holding sessions/ and GULPO_PAGE_DIR,
GULPO_REPLAY and GULPO_SCRIPT (a ten-minute random session) set."""

import gzip
import json
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

from page_in_chromium import PAGE_DIR, REPLAY, PageInChromium

ARROWS = [Keys.ARROW_LEFT, Keys.ARROW_UP, Keys.ARROW_RIGHT, Keys.ARROW_DOWN]


def compressed_size():
    total = 0
    for name in ('gulpo.wasm', 'gulpo.js'):
        with open(os.path.join(PAGE_DIR, name), 'rb') as f:
            total += len(gzip.compress(f.read(), 9))
    return total


def processor_seconds(root_pid):
    """User and system time of a process and all its descendants."""
    children = {}
    for entry in os.listdir('/proc'):
        if entry.isdigit():
            try:
                with open('/proc/%s/stat' % entry) as f:
                    fields = f.read().rsplit(')', 1)[1].split()
            except OSError:
                continue
            children.setdefault(int(fields[1]), []).append((int(entry), fields))
    ticks = 0
    todo = [root_pid]
    while todo:
        for pid, fields in children.get(todo.pop(), []):
            ticks += int(fields[11]) + int(fields[12])
            todo.append(pid)
    return ticks / os.sysconf('SC_CLK_TCK')


def first_frame_ms(page):
    page.open('?timings')
    page.until(lambda: any(w == 'paint' for _, w in page.js('return window.gulpo.timings()')),
               'the first frame')
    return next(t for t, w in page.js('return window.gulpo.timings()') if w == 'paint')


def play(page, seconds, seed):
    """Plays with real arrow keys for that long; returns the processor
    seconds the browser took meanwhile and the page's timings."""
    page.open('?timings')
    ActionChains(page.driver).send_keys(Keys.ENTER).perform()
    page.until(lambda: '"ev":"tick"' in page.js('return window.gulpo.trace()'), 'the first tick')
    dice = random.Random(seed)
    browser = page.driver.service.process.pid
    cpu_before = processor_seconds(browser)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        ActionChains(page.driver).send_keys(dice.choice(ARROWS)).perform()
        time.sleep(0.1 + dice.random() * 0.9)
    cpu = processor_seconds(browser) - cpu_before
    return cpu / seconds, page.js('return window.gulpo.timings()')


def tick_figures(timings):
    """Ticks a second and the longest gap between ticks, outside the
    pauses (a lost life's wait, Start's pause); and the times from each key
    the game took to the first frame after its handler."""
    ticks, gaps, keys = [], [], []
    waiting = False
    last = None
    pending_input = None
    handled_at = None
    for t, what in timings:
        if what == 'wait':
            waiting, last = True, None
        elif what == 'wait_end':
            waiting = False
        elif what == 'tick' and not waiting:
            if last is not None:
                gaps.append(t - last)
            ticks.append(t)
            last = t
        elif what == 'input':
            pending_input = t
        elif what == 'key' and pending_input is not None:
            handled_at = pending_input
            pending_input = None
        elif what == 'paint' and handled_at is not None:
            keys.append(t - handled_at)
            handled_at = None
    span = sum(gaps) / 1000
    return len(gaps) / span, max(gaps), keys


def watch_speed(page, script):
    path = page.add_script('session.txt', script)
    page.open('?watch=' + path + '&speed=max&timings')
    page.until(lambda: page.js('return window.gulpo.ended()'), 'the script to end', 600)
    timings = page.js('return window.gulpo.timings()')
    ticks = sum(1 for _, w in timings if w == 'tick')
    began = next(t for t, w in timings if w == 'load')
    over = next(t for t, w in timings if w == 'over')
    return ticks / ((over - began) / 1000)


def native_speed(script_path, *trace):
    with tempfile.NamedTemporaryFile(suffix='.json') as summary:
        subprocess.run([REPLAY, '--quiet', '--summary-json', summary.name, *trace, script_path],
                       check=True, stdout=subprocess.DEVNULL)
        return json.load(open(summary.name))['ticks_per_wall_second']


def main():
    script_path = os.environ['GULPO_SCRIPT']
    with open(script_path) as f:
        script = f.read()
    print('the page in headless Chromium (%s):' % PAGE_DIR)
    print('  gulpo.wasm and gulpo.js, compressed (gzip -9): %.1f kB   (goal < 150 kB)'
          % (compressed_size() / 1000))
    page = PageInChromium()
    try:
        loads = [first_frame_ms(page) for _ in range(5)]
        print('  page load to first frame: median %.0f ms (%.0f to %.0f)   (goal < 500 ms)'
              % (statistics.median(loads), min(loads), max(loads)))
        cpu, timings = play(page, 20, 1)
        rate, longest, keys = tick_figures(timings)
        print('  playing 20 s with real keys: %.2f ticks a second, longest gap %.1f ms'
              '   (goal 60 within 1%%, no gap over 25 ms)' % (rate, longest))
        print('  key to canvas: median %.1f ms, most %.1f ms over %d keys   (goal median < 17 ms)'
              % (statistics.median(keys), max(keys), len(keys)))
        print('  the browser\'s processor time while playing: %.1f%% of a core' % (cpu * 100))
        speeds = [watch_speed(page, script) for _ in range(3)]
        print('  ten minutes of random play watched flat out: %.0f ticks per wall second'
              ' (median of 3)' % statistics.median(speeds))
    finally:
        page.close()
    print('  the same in gulpo-replay: %.0f with no trace, %.0f with the trace to /dev/null'
          % (native_speed(script_path, '--no-trace'),
             native_speed(script_path, '--trace', '/dev/null')))
    return 0


if __name__ == '__main__':
    sys.exit(main())
