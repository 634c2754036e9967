// Runs inside the game's module before it starts (emcc --pre-js): the data set's place, the
// player's files in IndexedDB, and the hooks the page (shell.html) and its test read.
Module.arguments = ['--data', '/game'];
// SDL_image and SDL_mixer decode the data set's pictures and sounds themselves; Emscripten would
// otherwise decode every one of them through the browser as well while preloading.
Module.noImageDecoding = true;
Module.noAudioDecoding = true;

// The player's files (src/platform/player_files.cpp) live under /player, copied from IndexedDB
// before the game starts and back after every write.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  FS.mkdir('/player');
  FS.mount(IDBFS, {}, '/player');
  addRunDependency('player-files');
  FS.syncfs(true, function (error) {
    // Without stored files (private browsing, storage refused) the game still plays: it only
    // forgets them on reload. The console says why.
    if (error) console.warn('Player files could not be read from browser storage: ' + error);
    removeRunDependency('player-files');
  });
});

// One copy to IndexedDB at a time; writes during a copy are taken by one more copy after it.
var playerSync = { running: false, again: false, done: 0 };
Module.playerFilesWritten = function () {
  if (playerSync.running) {
    playerSync.again = true;
    return;
  }
  playerSync.running = true;
  FS.syncfs(false, function (error) {
    if (error) console.warn('Player files could not be kept in browser storage: ' + error);
    playerSync.running = false;
    playerSync.done += 1;
    if (playerSync.again) {
      playerSync.again = false;
      Module.playerFilesWritten();
    }
  });
};
Module.playerSync = playerSync;

// Frames the game has run, and when the first ones ended (milliseconds since the page began).
Module.frameCount = 0;
Module.frameTimes = [];
Module.postMainLoop = function () {
  Module.frameCount += 1;
  if (Module.frameTimes.length < 8) Module.frameTimes.push(performance.now());
  if (Module.afterFrame) Module.afterFrame();
};
