// SPDX-License-Identifier: MIT
// Plays the web build in the system's Chromium, headless, as a player would, and checks what the
// page shows against the desktop's pictures:
//   node browser_test.mjs URL REFERENCE.ppm SCREENSHOT_FOLDER PROFILE_FOLDER
// REFERENCE.ppm is the desktop's intro (the 640 x 480 picture); the page is shown at 800 x 600,
// where the picture is drawn at its own size with black around it. Every step waits for what it
// expects with a deadline of its own and keeps a screenshot of where it got to.
import { readFileSync, writeFileSync, mkdirSync } from "node:fs";
import { inflateSync } from "node:zlib";
import puppeteer from "puppeteer-core";

const [url, referencePath, shots, profile] = process.argv.slice(2);
if (!url || !referencePath || !shots || !profile) {
  console.error("usage: node browser_test.mjs URL REFERENCE.ppm SCREENSHOT_FOLDER PROFILE_FOLDER");
  process.exit(2);
}
mkdirSync(shots, { recursive: true });

const width = 640;
const height = 480;
// Where the picture lies on the page, once it is loaded.
let canvasLeft = 0;
let canvasTop = 0;
// The map view: the part of the picture left of the heads-up display.
const mapView = { left: 0, top: 0, right: 440, bottom: 440 };
const keptScores = "/home/web_user/.local/share/zelto/scores";
const keptSettings = "/home/web_user/.config/zelto/settings";

// A picture as RGB bytes, row by row.
function readPpm(path) {
  const bytes = readFileSync(path);
  const header = bytes.toString("latin1", 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) throw new Error(`${path} is not a binary PPM picture`);
  return { width: +header[1], height: +header[2], rgb: bytes.subarray(header[0].length) };
}

// A PNG screenshot (8-bit RGB or RGBA, not interlaced, as Chromium writes them) as RGB bytes.
function readPng(png) {
  let at = 8;
  let pictureWidth = 0;
  let pictureHeight = 0;
  let channels = 0;
  const data = [];
  while (at < png.length) {
    const length = png.readUInt32BE(at);
    const type = png.toString("latin1", at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + length);
    if (type === "IHDR") {
      pictureWidth = body.readUInt32BE(0);
      pictureHeight = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error("unexpected PNG depth or interlace");
      channels = { 2: 3, 6: 4 }[body[9]];
      if (!channels) throw new Error(`unexpected PNG colour type ${body[9]}`);
    } else if (type === "IDAT") {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = pictureWidth * channels;
  const rows = Buffer.alloc(stride * pictureHeight);
  for (let y = 0; y < pictureHeight; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const left = x >= channels ? rows[y * stride + x - channels] : 0;
      const up = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const upLeft = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      let value = line[x];
      if (filter === 1) value += left;
      else if (filter === 2) value += up;
      else if (filter === 3) value += (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft;
        const pa = Math.abs(p - left);
        const pb = Math.abs(p - up);
        const pc = Math.abs(p - upLeft);
        value += pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
      rows[y * stride + x] = value & 0xff;
    }
  }
  const rgb = Buffer.alloc(pictureWidth * pictureHeight * 3);
  for (let i = 0; i < pictureWidth * pictureHeight; ++i) {
    rows.copy(rgb, i * 3, i * channels, i * channels + 3);
  }
  return { width: pictureWidth, height: pictureHeight, rgb };
}

// The pixels that differ between two pictures of the same size, within a rectangle.
function differingPixels(a, b, area = { left: 0, top: 0, right: a.width, bottom: a.height }) {
  let count = 0;
  for (let y = area.top; y < area.bottom; ++y) {
    for (let x = area.left; x < area.right; ++x) {
      const i = (y * a.width + x) * 3;
      if (a.rgb[i] !== b.rgb[i] || a.rgb[i + 1] !== b.rgb[i + 1] || a.rgb[i + 2] !== b.rgb[i + 2]) {
        ++count;
      }
    }
  }
  return count;
}

const pause = (milliseconds) => new Promise((resolve) => setTimeout(resolve, milliseconds));

let failures = 0;
function check(what, passed, detail = "") {
  console.log(`${passed ? "ok  " : "FAIL"} ${what}${detail ? ": " + detail : ""}`);
  if (!passed) ++failures;
  return passed;
}

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  // This machine's network is closed: no background connections, no first-run work.
  args: [
    "--no-sandbox",
    "--disable-gpu",
    "--enable-unsafe-swiftshader",
    "--disable-quic",
    "--no-first-run",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
  ],
  defaultViewport: { width: 800, height: 600, deviceScaleFactor: 1 },
});
const page = await browser.newPage();
page.on("pageerror", (error) => {
  if (!error.message.startsWith("ExitStatus")) console.log("page error:", error.message);
});
page.on("console", (message) => {
  if (message.type() === "error" || message.type() === "warn") console.log("page:", message.text());
});
page.on("dialog", (dialog) => {
  console.log("dialog:", dialog.message());
  dialog.accept();
});

let shotNumber = 0;
async function picture(name) {
  const png = await page.screenshot({ clip: { x: canvasLeft, y: canvasTop, width, height } });
  if (name) writeFileSync(`${shots}/${String(++shotNumber).padStart(2, "0")}-${name}.png`, png);
  return readPng(Buffer.from(png));
}

// Polls until test answers true for a screenshot, or the deadline passes; the last screenshot is
// kept under the name given.
async function waitForPicture(name, test, seconds) {
  const deadline = Date.now() + seconds * 1000;
  let shown;
  do {
    shown = await picture();
    if (await test(shown)) break;
    await pause(200);
  } while (Date.now() < deadline);
  await picture(name);
  return test(shown);
}

async function press(key) {
  await page.keyboard.down(key);
  await pause(100);
  await page.keyboard.up(key);
}

// x and y in the picture.
async function click(x, y) {
  await page.mouse.move(canvasLeft + x, canvasTop + y);
  await page.mouse.down();
  await pause(100);
  await page.mouse.up();
}

// Moves the mouse by dx, dy in a few steps, as the locked pointer's motion.
async function steer(dx, dy) {
  for (let step = 0; step < 5; ++step) {
    await page.evaluate(
      (movementX, movementY) => {
        document.getElementById("canvas").dispatchEvent(
          new MouseEvent("mousemove", { bubbles: true, movementX, movementY })
        );
      },
      dx,
      dy
    );
    await pause(20);
  }
}

// A kept file's text as the page's file system has it, or null.
async function keptFile(path) {
  return page.evaluate((path) => {
    if (typeof FS === "undefined" || !FS.analyzePath(path).exists) return null;
    return FS.readFile(path, { encoding: "utf8" });
  }, path);
}

const pointerLocked = () => page.evaluate(() => document.pointerLockElement !== null);

// Whether the condition holds within the deadline: the browser takes and frees the lock in its
// own time, later on a busy machine.
async function waitUntil(condition, seconds) {
  const deadline = Date.now() + seconds * 1000;
  while (!(await condition()) && Date.now() < deadline) await pause(100);
  return condition();
}

try {
  const reference = readPpm(referencePath);
  await page.goto(url, { waitUntil: "load" });
  ({ canvasLeft, canvasTop } = await page.evaluate(() => {
    const place = document.getElementById("canvas").getBoundingClientRect();
    return { canvasLeft: place.left, canvasTop: place.top };
  }));
  check("the picture is shown at its own size", canvasLeft === 80 && canvasTop === 60,
    `at ${canvasLeft}, ${canvasTop}`);

  // The intro, pixel for pixel the desktop's.
  const introShown = await waitForPicture(
    "intro",
    (shown) => differingPixels(shown, reference) === 0,
    90
  );
  check("the intro is the desktop's, pixel for pixel", introShown,
    introShown ? "" : `${differingPixels(await picture(), reference)} pixels differ`);

  // A click starts a game: the instruction screen; Space starts play.
  await click(width / 2, height / 2);
  check("a click leaves the intro",
    await waitForPicture("instructions", (shown) => differingPixels(shown, reference) > 1000, 30));
  const instructions = await picture();
  await press("Space");
  check("Space starts play",
    await waitForPicture("play", (shown) => differingPixels(shown, instructions) > 1000, 30));

  // In play the pointer is locked at the next gesture (browsers lock it only from one): a click
  // where the pointer already is, so that no motion steers yet.
  await click(width / 2, height / 2);
  const lockedElement = () => page.evaluate(() => document.pointerLockElement?.id ?? null);
  await waitUntil(async () => (await lockedElement()) === "canvas", 10);
  const locked = await lockedElement();
  check("the pointer is locked in play", locked === "canvas", `locked: ${locked}`);

  // P pauses: the picture holds still, with "Paused" over the map view; P again lets play go on.
  const beforePause = await picture();
  await press("KeyP");
  const label = { left: 150, top: 190, right: 300, bottom: 250 };
  let pausedA = beforePause;
  await waitForPicture("paused", (shown) => {
    const still = differingPixels(shown, pausedA) === 0;
    pausedA = shown;
    return still && differingPixels(beforePause, shown, label) > 100;
  }, 30);
  await pause(500);
  const pausedB = await picture();
  check("P pauses play, the picture holding still", differingPixels(pausedA, pausedB) === 0 &&
    differingPixels(beforePause, pausedA, label) > 100);
  check("the pointer is free while paused",
    await waitUntil(async () => !(await pointerLocked()), 10));
  // Play goes on when the map view changes from picture to picture: twice in a row, since the
  // label's going alone changes it once. A busy machine may take a while to show it.
  await press("KeyP");
  let previous = pausedB;
  let changes = 0;
  const goesOn = await waitForPicture("unpaused", (shown) => {
    if (shown !== previous) {
      changes = differingPixels(previous, shown, mapView) > 0 ? changes + 1 : 0;
      previous = shown;
    }
    return changes >= 2;
  }, 30);
  check("P again lets play go on", goesOn);

  // The mouse's motion steers: the player moves off and the map view scrolls after it, far more
  // of the view changing than the enemies alone change while the player rests. Headless
  // Chromium gives the motion it is sent no movement under the lock, so the motion is sent as
  // the page's events with their movement.
  const atRestA = await picture();
  await pause(200);
  const atRestB = await picture("at-rest");
  const restingChange = differingPixels(atRestA, atRestB, mapView);
  // The player reaches the view's edge and the map scrolls within a second or two, then both
  // stop at the world's corner: the largest change between successive pictures is looked for.
  await steer(-6, -6);
  let before = await picture();
  let movingChange = 0;
  await waitForPicture("steered", (shown) => {
    if (shown !== before) {
      movingChange = Math.max(movingChange, differingPixels(before, shown, mapView));
      before = shown;
    }
    return movingChange > restingChange * 2 && movingChange > 5000;
  }, 10);
  check("mouse motion steers the player", movingChange > restingChange * 2 && movingChange > 5000,
    `${restingChange} pixels of the map view changed at rest, ${movingChange} steered`);

  // The player drifts on at its last diagonal motion into the play area's edge, where every
  // frame costs Energon: the lives run out and the game ends; its score is kept.
  // After each life lost, Space starts the next one and a click locks the pointer again.
  let table = null;
  const deadline = Date.now() + 240 * 1000;
  while (table === null && Date.now() < deadline) {
    await press("Space");
    await click(width / 4, height / 4);
    await steer(-6, -4);
    await pause(1000);
    table = await keptFile(keptScores);
  }
  await pause(1000);
  await picture("game-over");
  check("a game played to its end keeps its score", table !== null && table.trim() !== "",
    JSON.stringify(table));

  // A reload keeps it: the table comes back from the browser's storage.
  await page.reload({ waitUntil: "load" });
  await waitForPicture("after-reload", (shown) => differingPixels(shown, reference) === 0, 90);
  const tableAfterReload = await keptFile(keptScores);
  check("a reload keeps the best scores", tableAfterReload === table,
    JSON.stringify(tableAfterReload));
  check("the pointer is free on the intro",
    await waitUntil(async () => !(await pointerLocked()), 10));

  // M's choice is kept at once, and a reload keeps it.
  await press("KeyM");
  let settings = null;
  const muteDeadline = Date.now() + 30 * 1000;
  while (!settings?.includes("mute = yes") && Date.now() < muteDeadline) {
    await pause(200);
    settings = await keptFile(keptSettings);
  }
  await page.reload({ waitUntil: "load" });
  await waitForPicture("after-second-reload",
    (shown) => differingPixels(shown, reference) === 0, 90);
  const settingsAfterReload = await keptFile(keptSettings);
  check("M's choice is kept across a reload", settingsAfterReload?.includes("mute = yes") === true,
    JSON.stringify(settingsAfterReload));

  // Escape ends the game: the page shows its last screen.
  await press("Escape");
  const ended = await page
    .waitForFunction(() => !document.getElementById("ending").hidden, { timeout: 30000 })
    .then(() => true, () => false);
  await picture("ending");
  const endingText = await page.evaluate(() => document.getElementById("ending-text").textContent);
  check("Escape shows the last screen", ended && endingText.startsWith("Thanks for playing"),
    JSON.stringify(endingText));
} catch (error) {
  check("the browser test ran to its end", false, error.stack);
} finally {
  await browser.close();
}
process.exit(failures === 0 ? 0 : 1);
