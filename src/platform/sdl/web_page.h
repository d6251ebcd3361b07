// SPDX-License-Identifier: MIT
#pragma once

// The page around the game's canvas in a browser (web/page.js): what the SDL host asks of the
// page where SDL's own Emscripten back end has nothing to offer. Built only for the web.

namespace platform::web_page {

// Lets the browser run (events, sound, drawing) until its next animation frame, or a tenth of a
// second where a hidden page has none, and returns there with the program's stack as it was.
void WaitForAnimationFrame();

// How the page scales the picture: by whole multiples where one fits, or as large as fits.
void SetWholeMultiples(bool wholeMultiples);

// Asks the player a question with Yes and No in the browser's own box; true for Yes.
bool AskYesNo(const char* caption, const char* text);

// Hands the page a report that the program gives before it ends, for its last screen.
void Report(const char* caption, const char* text);

}  // namespace platform::web_page
