// SPDX-License-Identifier: MIT
// The verifier under node reads the machine's environment, as the desktop program does
// (ZELTO_CPU_FEATURES, HOME, XDG_*), instead of Emscripten's made-up one.
Module.preRun = Module.preRun || [];
Module.preRun.push(() => Object.assign(ENV, process.env));
