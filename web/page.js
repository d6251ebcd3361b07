// SPDX-License-Identifier: MIT
// The page around the game's canvas: the loading bar, the picture scaled to the page, the
// browser's full screen, sound started by the first click, the kept files in IndexedDB, and a
// last screen when the game ends. The game itself (zelto.js) reads `Module` from here.
"use strict";

var Module = (function () {
  const canvas = document.getElementById("canvas");
  const stage = document.getElementById("stage");
  const loading = document.getElementById("loading");
  const loadingText = document.getElementById("loading-text");
  const barFill = document.getElementById("bar-fill");
  const ending = document.getElementById("ending");
  const endingText = document.getElementById("ending-text");
  const fullScreenButton = document.getElementById("full-screen");

  // Where the game keeps its settings and best scores: its home folder, held in IndexedDB.
  const keptFolder = "/home/web_user";
  const pictureWidth = 640;
  const pictureHeight = 480;

  // The options the page's address may give, as ?nosound&sensitivity=2: those
  // that make sense in a page.
  const pageOptions = ["nosound", "sensitivity"];
  const commandLine = [];
  for (const [name, value] of new URLSearchParams(location.search)) {
    if (!pageOptions.includes(name)) continue;
    commandLine.push("--" + name);
    if (value !== "") commandLine.push(value);
  }

  let wholeMultiples = true;
  let lastReport = "";
  let ended = false;

  // The picture as large as the page allows with its shape kept: by the largest whole
  // multiple of its size that fits in the screen's own pixels, or, where none fits or the
  // player chose so, as large as fits.
  function layOut() {
    const ratio = window.devicePixelRatio || 1;
    const width = stage.clientWidth * ratio;
    const height = stage.clientHeight * ratio;
    let scale = Math.min(width / pictureWidth, height / pictureHeight);
    if (wholeMultiples && scale >= 1) scale = Math.floor(scale);
    canvas.style.width = (pictureWidth * scale) / ratio + "px";
    canvas.style.height = (pictureHeight * scale) / ratio + "px";
  }
  window.addEventListener("resize", layOut);
  document.addEventListener("fullscreenchange", layOut);
  layOut();

  function switchFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(() => {});
    }
  }
  fullScreenButton.addEventListener("click", () => {
    switchFullScreen();
    canvas.focus();
  });
  // Alt+Enter, as on the desktop; the game's own handling of it stands aside in a page.
  window.addEventListener(
    "keydown",
    (event) => {
      if (event.key === "Enter" && event.altKey && !event.repeat) {
        event.preventDefault();
        switchFullScreen();
      }
    },
    true
  );

  // Browsers let a page make sound only after a gesture: SDL's sound starts at the first click
  // or key (the runtime's autoResumeAudioContext).
  canvas.addEventListener("mousedown", () => canvas.focus());

  // The kept files are written as a new file renamed over the old one: each rename into the
  // home folder writes the folder back to IndexedDB, one write at a time.
  let syncRunning = false;
  let syncAgain = false;
  function writeKeptFiles() {
    if (syncRunning) {
      syncAgain = true;
      return;
    }
    syncRunning = true;
    FS.syncfs(false, (error) => {
      if (error) console.warn("zelto: the kept files could not be stored:", error);
      syncRunning = false;
      if (syncAgain) {
        syncAgain = false;
        writeKeptFiles();
      }
    });
  }
  function keepFilesInIndexedDb() {
    try {
      FS.mount(IDBFS, {}, keptFolder);
    } catch (error) {
      console.warn("zelto: no IndexedDB; nothing is kept between visits:", error);
      return;
    }
    const rename = FS.rename;
    FS.rename = function (from, to) {
      const result = rename.apply(this, arguments);
      if (String(to).startsWith(keptFolder + "/")) writeKeptFiles();
      return result;
    };
    Module.addRunDependency("kept files");
    FS.syncfs(true, (error) => {
      if (error) console.warn("zelto: the kept files could not be read:", error);
      Module.removeRunDependency("kept files");
    });
  }

  // The program's exit() leaves through the browser's callback it was resumed from, as an
  // exception that only says the program ended: the ending is shown by onExit.
  const isExit = (thrown) => thrown && thrown.name === "ExitStatus";
  window.addEventListener("error", (event) => {
    if (isExit(event.error)) event.preventDefault();
  });
  window.addEventListener("unhandledrejection", (event) => {
    if (isExit(event.reason)) event.preventDefault();
  });

  function showEnding(text) {
    if (ended) return;
    ended = true;
    if (document.pointerLockElement) document.exitPointerLock();
    loading.hidden = true;
    endingText.textContent = text;
    ending.hidden = false;
    canvas.style.visibility = "hidden";
  }

  return {
    canvas: canvas,
    arguments: commandLine,
    preRun: [keepFilesInIndexedDb],
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    // "Downloading data... (done/total)" while the data set comes, then "" when all is there.
    setStatus: (status) => {
      const progress = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(status);
      if (progress) {
        barFill.style.width = (100 * progress[1]) / progress[2] + "%";
        loadingText.textContent = "Loading";
      } else if (status === "") {
        loading.hidden = true;
      }
    },
    setWholeMultiples: (whole) => {
      wholeMultiples = whole;
      layOut();
    },
    report: (caption, text) => {
      lastReport = caption + "\n\n" + text;
    },
    onExit: (code) => {
      if (code === 0) {
        showEnding("Thanks for playing: reload to play again");
      } else {
        const report = lastReport !== "" ? lastReport : "The game ended with exit code " + code;
        showEnding(report + "\n\nReload to try again");
      }
    },
    onAbort: (what) => {
      showEnding("The game stopped: " + what + "\n\nReload to try again");
    },
  };
})();
