// The page around the game: it asks the game for a game to play or a script
// to watch, keeps the trace and the recording the game writes, and offers
// them to the player and to tools.
//
// For tools and tests:
//   ?watch=URL        watches the script at URL (on this site) at the
//                     game's pace; &speed=max runs the clock flat out
//   gulpo.trace()     the JSON Lines trace written so far
//   gulpo.recording() the recording of the game played so far
//   gulpo.ended()     whether a watched script has reached its end or the
//                     game's window was closed
'use strict';

var Module = (function () {
  const params = new URLSearchParams(window.location.search);
  const flatOut = params.get('speed') === 'max';
  const message = document.getElementById('message');
  const playButton = document.getElementById('play');
  const endButton = document.getElementById('end');

  const game = {
    trace: [],
    recording: '',
    watching: false,
    over: false,
    // With ?timings: [time, what] for every handler and wait of the game,
    // every frame put on a canvas and every key the game took.
    timings: params.has('timings') ? [] : null,
    beginGame: function (watching) {
      game.trace = [];
      game.recording = '';
      game.watching = watching;
      game.over = false;
      playButton.hidden = !watching;
      endButton.hidden = false;
    },
    addTrace: function (text) {
      game.trace.push(text);
    },
    addRecording: function (text) {
      game.recording += text;
    },
    gameOver: function (windowClosed) {
      game.over = true;
      if (game.timings) {
        game.timings.push([performance.now(), 'over']);
      }
      playButton.hidden = false;
      endButton.hidden = windowClosed;
      if (windowClosed) {
        say("The game's window was closed.");
      }
    },
  };

  function say(text) {
    message.textContent = text;
  }

  function wake() {
    const page = Module['gulpoPage'];
    if (page && page.poke) {
      page.poke();
    }
  }

  function play() {
    say('');
    Module['_gulpo_play']();
    wake();
  }

  // Copies text or bytes into the game's memory for as long as `use` runs.
  function withBytes(bytes, use) {
    const at = Module['_malloc'](bytes.length + 1);
    Module['HEAPU8'].set(bytes, at);
    Module['HEAPU8'][at + bytes.length] = 0;
    try {
      return use(at, bytes.length);
    } finally {
      Module['_free'](at);
    }
  }

  // Watches a script; a bad one is one line on the page, and the game that
  // runs goes on.
  function watch(bytes, name) {
    const error = withBytes(bytes, (script, length) =>
      withBytes(new TextEncoder().encode(name), (shownName) =>
        Module['UTF8ToString'](Module['_gulpo_watch'](script, length, shownName, flatOut ? 1 : 0))));
    say(error);
    if (!error) {
      wake();
    }
    return !error;
  }

  function watchFile(file) {
    file.arrayBuffer().then(
      (buffer) => watch(new Uint8Array(buffer), file.name),
      (error) => say(file.name + ': cannot be read: ' + error.message));
  }

  function watchUrl(address) {
    let url;
    try {
      url = new URL(address, window.location.href);
    } catch (error) {
      say('?watch=' + address + ' is not an address');
      return Promise.resolve(false);
    }
    if (url.origin !== window.location.origin) {
      say('?watch=' + address + ': a script is watched only from this site');
      return Promise.resolve(false);
    }
    const name = decodeURIComponent(url.pathname.split('/').pop() || url.pathname);
    return fetch(url).then((response) => {
      if (!response.ok) {
        throw new Error(response.status + ' ' + response.statusText);
      }
      return response.arrayBuffer();
    }).then((buffer) => watch(new Uint8Array(buffer), name), (error) => {
      say(name + ': cannot be read: ' + error.message);
      return false;
    });
  }

  // Closes the game's window, as a desktop's close would: the recording
  // ends there, whole.
  endButton.addEventListener('click', () => {
    Module['_gulpo_close'](0);
    wake();
  });

  document.getElementById('download').addEventListener('click', () => {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([game.recording], {type: 'text/plain'}));
    const stamp = new Date().toISOString().slice(0, 19).replace(/[:T]/g, '-');
    link.download = 'gulpo-' + stamp + '.txt';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  });

  const picker = document.getElementById('watch-file');
  picker.addEventListener('change', () => {
    if (picker.files.length > 0) {
      watchFile(picker.files[0]);
    }
    picker.value = '';
  });
  playButton.addEventListener('click', play);
  document.addEventListener('gulpo-notice', (event) => say(event.detail));

  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dragging');
    const files = event.dataTransfer ? event.dataTransfer.files : [];
    if (files.length > 0) {
      watchFile(files[0]);
    }
  });

  window.gulpo = {
    trace: () => game.trace.join(''),
    recording: () => game.recording,
    ended: () => game.over,
    // Every dot's sound so far: when the dot was eaten and when its sound
    // starts (null: dropped), in the page's milliseconds.
    sounds: () => (Module['gulpoPage'] ? Module['gulpoPage'].sounds.slice() : []),
    timings: () => (game.timings || []).slice(),
  };

  return {
    gulpoGame: game,
    onRuntimeInitialized: function () {
      const address = params.get('watch');
      if (address === null) {
        play();
        return;
      }
      watchUrl(address).then((watching) => {
        if (!watching) {
          Module['_gulpo_play']();
          wake();
        }
      });
    },
  };
})();
