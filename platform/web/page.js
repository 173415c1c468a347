// The game's windows as parts of the page, for the browser backend
// (web_platform.cpp): each window is a section holding a canvas, which the
// backend paints, and the window's labels and buttons as elements of the
// page over it. The page's event handlers only hand input to the backend,
// which queues it, and wake the game's thread.

mergeInto(LibraryManager.library, {
  $GulpoPage__postset: 'GulpoPage.init();',
  $GulpoPage: {
    init: function () {
      const page = {
        windows: [],
        wake: null,
        resized: false,
        audio: null,
        // Every dot's sound: when the dot was eaten and when its sound
        // starts, on the page's clock (performance.now()), or dropped.
        sounds: [],
      };
      Module['gulpoPage'] = page;
      // Resolves after `ms` milliseconds (never, when negative), or as soon
      // as the page wakes the game's thread.
      page.sleep = (ms) => new Promise((resolve) => {
        let timer = null;
        page.wake = () => {
          if (timer !== null) {
            clearTimeout(timer);
          }
          page.wake = null;
          resolve();
        };
        if (ms >= 0) {
          timer = setTimeout(page.wake, ms);
        }
      });
      const wake = () => {
        if (page.wake) {
          page.wake();
        }
      };
      page.poke = wake;
      window.addEventListener('resize', () => {
        page.resized = true;
        wake();
      });
      document.addEventListener('visibilitychange', wake);
      // Browsers start sound only after the player has done something.
      const startSound = () => {
        if (!page.audio) {
          const Context = window.AudioContext || window.webkitAudioContext;
          if (Context) {
            page.audio = new Context({latencyHint: 'interactive'});
          }
        }
        if (page.audio && page.audio.state === 'suspended') {
          page.audio.resume();
        }
      };
      document.addEventListener('keydown', (event) => {
        // A modifier alone is no gesture a browser starts sound for.
        if (!['Alt', 'Control', 'Shift', 'Meta'].includes(event.key)) {
          startSound();
        }
        const target = event.target;
        // The page's own controls keep their keys.
        if (target && target.closest && target.closest('[data-page-control]')) {
          return;
        }
        const w = GulpoPage.windowOf(target) || GulpoPage.keyWindow();
        if (!w) {
          return;
        }
        if (Module['_gulpo_key'](w.number, event.keyCode, event.altKey ? 1 : 0)) {
          GulpoPage.timed(event.timeStamp, 'input');
          // The game alone decides what its keys do: no scrolling, no
          // moving the focus, no pressing a button a second time.
          event.preventDefault();
          event.stopPropagation();
          wake();
        }
      }, true);
      document.addEventListener('pointerdown', startSound, true);
    },

    // The window an element of the page lies in.
    windowOf: function (element) {
      const section = element && element.closest ? element.closest('.gulpo-window') : null;
      if (!section) {
        return null;
      }
      return Module['gulpoPage'].windows.find((w) => w && w.section === section) || null;
    },

    // The window that takes a key pressed outside every window: the last
    // one shown that is still shown, else the main window.
    keyWindow: function () {
      const shown = Module['gulpoPage'].windows.filter((w) => w && !w.section.hidden);
      return shown.length ? shown[shown.length - 1] : null;
    },

    // For measuring the page, when its timings are asked for.
    timed: function (at, what) {
      const game = Module['gulpoGame'];
      if (game && game.timings) {
        game.timings.push([at, what]);
      }
    },

    text: function (ptr) {
      return UTF8ToString(ptr);
    },

    colour: function (rgb) {
      return '#' + rgb.toString(16).padStart(6, '0');
    },

    place: function (element, x, y, width, height) {
      element.style.left = x + 'px';
      element.style.top = y + 'px';
      element.style.width = width + 'px';
      element.style.height = height + 'px';
    },

    // Where a window goes and how large its canvas is, in CSS pixels: the
    // main window as large as the page allows, keeping its proportions; a
    // dialog at the same scale, centred over the window it belongs to.
    layout: function (w, clientWidth, clientHeight) {
      const page = Module['gulpoPage'];
      const owner = w.owner >= 0 ? page.windows[w.owner] : null;
      const ratio = window.devicePixelRatio || 1;
      let scale;
      if (owner) {
        scale = owner.scale;
      } else {
        const room = w.section.parentElement;
        const top = room.getBoundingClientRect().top + window.scrollY;
        const width = Math.max(room.clientWidth, 100);
        const height = Math.max(window.innerHeight - top - 8, 100);
        scale = Math.min(width / clientWidth, height / clientHeight);
      }
      w.scale = scale;
      // Whole device pixels, so that every pixel of the canvas is one of
      // the screen's.
      const deviceWidth = Math.max(1, Math.floor(clientWidth * scale * ratio));
      const deviceHeight = Math.max(1, Math.floor(clientHeight * scale * ratio));
      const cssWidth = deviceWidth / ratio;
      const cssHeight = deviceHeight / ratio;
      w.client.style.width = cssWidth + 'px';
      w.client.style.height = cssHeight + 'px';
      w.canvas.width = deviceWidth;
      w.canvas.height = deviceHeight;
      w.canvas.style.width = cssWidth + 'px';
      w.canvas.style.height = cssHeight + 'px';
      if (owner) {
        const o = owner.section.getBoundingClientRect();
        const box = w.section.parentElement.getBoundingClientRect();
        const titleHeight = w.title ? w.title.offsetHeight || 0 : 0;
        const left = o.left - box.left + (o.width - cssWidth) / 2;
        const top = o.top - box.top + (o.height - cssHeight - titleHeight) / 2;
        w.section.style.left = Math.max(0, left) + 'px';
        w.section.style.top = Math.max(0, top) + 'px';
      }
      return [deviceWidth, deviceHeight];
    },

    focus: function (w) {
      const target = w.focused >= 0 && w.elements[w.focused] ? w.elements[w.focused] : w.section;
      if (document.activeElement !== target) {
        target.focus({preventScroll: true});
      }
    },
  },

  gulpo_page_open__deps: ['$GulpoPage'],
  gulpo_page_open: function (number, namePtr, captionPtr, owner) {
    const page = Module['gulpoPage'];
    const caption = GulpoPage.text(captionPtr);
    const section = document.createElement('section');
    section.className = 'gulpo-window';
    section.id = GulpoPage.text(namePtr);
    section.hidden = true;
    section.tabIndex = -1;
    section.setAttribute('aria-label', caption);
    let title = null;
    if (owner >= 0) {
      // A window of the game's own, over the game: a dialog, as on a
      // desktop, which leaves the game's window usable.
      section.setAttribute('role', 'dialog');
      section.classList.add('gulpo-dialog');
      title = document.createElement('div');
      title.className = 'gulpo-title';
      title.textContent = caption;
      title.setAttribute('aria-hidden', 'true');
      section.appendChild(title);
    } else {
      // The game takes the arrow keys itself.
      section.setAttribute('role', 'application');
    }
    const client = document.createElement('div');
    client.className = 'gulpo-client';
    const canvas = document.createElement('canvas');
    canvas.setAttribute('aria-hidden', 'true');
    client.appendChild(canvas);
    section.appendChild(client);
    const room = document.getElementById('gulpo-windows') || document.body;
    room.appendChild(section);
    section.addEventListener('mousedown', (event) => {
      // A press on a window makes it the one the keys go to; a press that
      // is not a click never moves the game's focus.
      const w = page.windows[number];
      if (w) {
        event.preventDefault();
        GulpoPage.focus(w);
      }
    });
    page.windows[number] = {
      number: number,
      owner: owner,
      section: section,
      title: title,
      client: client,
      canvas: canvas,
      context: canvas.getContext('2d', {alpha: false, desynchronized: true}),
      elements: [],
      focused: -1,
      scale: 1,
    };
  },

  gulpo_page_show__deps: ['$GulpoPage'],
  gulpo_page_show: function (number, visible) {
    const w = Module['gulpoPage'].windows[number];
    if (w) {
      w.section.hidden = !visible;
    }
  },

  gulpo_page_destroy__deps: ['$GulpoPage'],
  gulpo_page_destroy: function (number) {
    const page = Module['gulpoPage'];
    const w = page.windows[number];
    if (w) {
      w.section.remove();
      page.windows[number] = null;
    }
  },

  gulpo_page_fit__deps: ['$GulpoPage'],
  gulpo_page_fit: function (number, clientWidth, clientHeight, sizePtr) {
    const w = Module['gulpoPage'].windows[number];
    const size = GulpoPage.layout(w, clientWidth, clientHeight);
    HEAP32[sizePtr >> 2] = size[0];
    HEAP32[(sizePtr >> 2) + 1] = size[1];
  },

  gulpo_page_ratio: function () {
    return window.devicePixelRatio || 1;
  },

  gulpo_page_resized__deps: ['$GulpoPage'],
  gulpo_page_resized: function () {
    const page = Module['gulpoPage'];
    const resized = page.resized;
    page.resized = false;
    return resized ? 1 : 0;
  },

  gulpo_page_label__deps: ['$GulpoPage'],
  gulpo_page_label: function (number, element, namePtr, captionPtr, x, y, width, height, textPx,
                              foreRgb, visible, namedBy, valueNamePtr) {
    const w = Module['gulpoPage'].windows[number];
    let label = w.elements[element];
    if (!label) {
      label = document.createElement('div');
      label.className = 'gulpo-label';
      label.id = w.section.id + '-' + GulpoPage.text(namePtr);
      w.client.appendChild(label);
      w.elements[element] = label;
    }
    const caption = GulpoPage.text(captionPtr);
    if (label.textContent !== caption) {
      label.textContent = caption;
    }
    GulpoPage.place(label, x, y, width, height);
    label.style.fontSize = textPx + 'px';
    label.style.lineHeight = (textPx * 1.2) + 'px';
    label.style.color = foreRgb >= 0 ? GulpoPage.colour(foreRgb) : '';
    label.hidden = !visible;
    // A value the game writes is read out with what it is, as it changes:
    // "Lives: 2", "Score: 400".
    const valueName = GulpoPage.text(valueNamePtr);
    if (namedBy >= 0 && w.elements[namedBy]) {
      label.setAttribute('role', 'status');
      label.setAttribute('aria-labelledby', w.elements[namedBy].id);
    } else if (valueName) {
      label.setAttribute('role', 'status');
      label.setAttribute('aria-label', valueName);
    }
  },

  gulpo_page_button__deps: ['$GulpoPage'],
  gulpo_page_button: function (number, element, namePtr, captionPtr, x, y, width, height, textPx,
                               visible) {
    const page = Module['gulpoPage'];
    const w = page.windows[number];
    let button = w.elements[element];
    if (!button) {
      button = document.createElement('button');
      button.type = 'button';
      button.className = 'gulpo-button';
      button.id = w.section.id + '-' + GulpoPage.text(namePtr);
      // The access key is the game's: no accesskey attribute, or the
      // browser would press the button a second time.
      const caption = GulpoPage.text(captionPtr);
      const at = caption.indexOf('&');
      if (at >= 0 && at + 1 < caption.length) {
        const key = caption[at + 1];
        button.append(caption.slice(0, at));
        const underlined = document.createElement('u');
        underlined.textContent = key;
        button.append(underlined, caption.slice(at + 2));
        button.setAttribute('aria-keyshortcuts', 'Alt+' + key.toUpperCase());
      } else {
        button.textContent = caption;
      }
      button.tabIndex = -1;
      button.addEventListener('click', (event) => {
        event.preventDefault();
        Module['_gulpo_click'](number, element);
        page.poke();
      });
      w.client.appendChild(button);
      w.elements[element] = button;
    }
    GulpoPage.place(button, x, y, width, height);
    button.style.fontSize = textPx + 'px';
    button.hidden = !visible;
  },

  gulpo_page_focus__deps: ['$GulpoPage'],
  gulpo_page_focus: function (number, focused, enter, active) {
    const w = Module['gulpoPage'].windows[number];
    if (!w) {
      return;
    }
    w.focused = focused;
    w.elements.forEach((e, i) => {
      if (e && e.tagName === 'BUTTON') {
        e.classList.toggle('gulpo-focused', i === focused);
        e.classList.toggle('gulpo-default', i === enter);
      }
    });
    if (active && !w.section.hidden) {
      GulpoPage.focus(w);
    }
  },

  gulpo_page_blit__deps: ['$GulpoPage'],
  gulpo_page_blit: function (number, rgba, canvasWidth, canvasHeight, x, y, width, height) {
    const w = Module['gulpoPage'].windows[number];
    if (!w || w.canvas.width !== canvasWidth || w.canvas.height !== canvasHeight) {
      return;
    }
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    w.context.putImageData(new ImageData(pixels, width, height), x, y);
    GulpoPage.timed(performance.now(), 'paint');
  },

  gulpo_page_notice__deps: ['$GulpoPage'],
  gulpo_page_notice: function (text) {
    document.dispatchEvent(new CustomEvent('gulpo-notice', {detail: GulpoPage.text(text)}));
  },

  gulpo_page_hidden: function () {
    return document.hidden ? 1 : 0;
  },

  gulpo_page_beep: function (lateMs) {
    const page = Module['gulpoPage'];
    const now = performance.now();
    const dot = now - lateMs;
    const audio = page.audio;
    if (!audio || audio.state !== 'running') {
      page.sounds.push({dot: dot, start: null});
      return;
    }
    // The sound goes to the audio system's output at the next render
    // quantum; the device's own buffer comes on top, as for any other
    // sound. One that would start more than 50 ms after its dot is not
    // played at all.
    const start = now + (audio.baseLatency || 0) * 1000;
    if (start - dot > 50) {
      page.sounds.push({dot: dot, start: null});
      return;
    }
    const tone = audio.createOscillator();
    const level = audio.createGain();
    tone.type = 'square';
    tone.frequency.value = 880;
    level.gain.value = 0.08;
    tone.connect(level).connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + 0.05);
    page.sounds.push({dot: dot, start: start});
  },
});
