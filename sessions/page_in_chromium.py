"""The page in a real headless Chromium, served from a scratch folder of
its own by a static server on the loopback, for the page's tests and its
benchmark. The folder holds the built page and any scripts a test adds, so
that ?watch=/scripts/NAME watches them from the same site."""

import http.server
import os
import shutil
import subprocess
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

# Absolute, as the page's files are linked from a folder of the session's own.
PAGE_DIR = os.path.abspath(os.environ.get('GULPO_PAGE_DIR', ''))
REPLAY = os.environ.get('GULPO_REPLAY', '')

# Headless Chromium on a machine with no display, and none of the
# background traffic a closed network refuses.
CHROMIUM_FLAGS = [
    '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
    '--no-first-run', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--window-size=900,1000',
]


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class PageInChromium:
    """The page served on the loopback and open in a headless Chromium,
    ended together."""

    def __init__(self, extra_flags=()):
        if not os.path.isfile(os.path.join(PAGE_DIR, 'gulpo.wasm')):
            raise RuntimeError('no page built in GULPO_PAGE_DIR=%r: run scripts/web --build-only'
                               % PAGE_DIR)
        self.root = tempfile.mkdtemp(prefix='gulpo-page-')
        for name in os.listdir(PAGE_DIR):
            os.symlink(os.path.join(PAGE_DIR, name), os.path.join(self.root, name))
        os.mkdir(os.path.join(self.root, 'scripts'))
        handler = lambda *a, **k: Quiet(*a, directory=self.root, **k)
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.site = 'http://127.0.0.1:%d/' % self.server.server_address[1]
        options = Options()
        options.binary_location = '/usr/bin/chromium'
        for flag in CHROMIUM_FLAGS + list(extra_flags):
            options.add_argument(flag)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)

    def close(self):
        self.driver.quit()
        self.server.shutdown()
        self.server.server_close()
        shutil.rmtree(self.root, ignore_errors=True)

    def add_script(self, name, text):
        with open(os.path.join(self.root, 'scripts', name), 'w', newline='') as f:
            f.write(text)
        return '/scripts/' + name

    def open(self, query=''):
        self.driver.get(self.site + query)
        self.until(lambda: self.js('return !!(window.Module && Module.gulpoPage && '
                                   'Module.gulpoPage.windows.length)'), 'the page to show')

    def js(self, code, *args):
        return self.driver.execute_script(code, *args)

    def until(self, ready, what, seconds=60):
        deadline = time.monotonic() + seconds
        while not ready():
            if time.monotonic() > deadline:
                raise AssertionError('waited %d s for %s' % (seconds, what))
            time.sleep(0.02)

    def watched_to_the_end(self, script_path, flat_out=True):
        self.open('?watch=' + script_path + ('&speed=max' if flat_out else ''))
        self.until(lambda: self.js('return window.gulpo.ended()'), 'the script to end')
        return self.js('return window.gulpo.trace()')


def replayed_trace(script_text):
    """The trace gulpo-replay writes for a script."""
    done = subprocess.run([REPLAY, '--quiet', '-'], input=script_text.encode(),
                          capture_output=True, check=True)
    return done.stdout.decode()
