// SPDX-License-Identifier: MIT
#include "platform/sdl/sdl_host.h"

#include <SDL.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include "platform/sdl/web_page.h"
#elif defined(_WIN32)
#include "platform/sdl/console_end_requests.h"
#else
#include <pthread.h>
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <mutex>
#include <string>

#include "platform/display/present_convert.h"
#include "platform/display/shown_picture.h"
#include "platform/host/window.h"
#include "platform/sdl/renderer_choice.h"
#include "platform/sdl/sdl_scancodes.h"

namespace platform {
namespace {

// The sound output: 16-bit stereo at kSoundRate (44.1 kHz) in periods of 512 frames (11.6 ms), so
// a sound starts within one period of its play call.
constexpr Uint16 kSoundPeriodFrames = 512;
#ifdef __EMSCRIPTEN__
// In a page, the page itself takes Alt+Enter to the browser's full screen (web/page.js).
constexpr bool kHostSwitchesFullScreen = false;
#else
constexpr bool kHostSwitchesFullScreen = true;
// The wait for a blank sleeps until this long before it and watches the clock for the rest: a
// sleep on an idle machine ends some tens of microseconds after its time.
constexpr std::uint64_t kBlankSpinNanoseconds = 200'000;
constexpr std::uint64_t kNanosecondsPerSecond = 1'000'000'000;

// Sleeps for about the given time on the system's monotonic clock, to a fixed time of waking so
// that a signal in between neither shortens nor stretches the sleep.
void SleepNanoseconds(std::uint64_t nanoseconds) {
    timespec wake{};
    clock_gettime(CLOCK_MONOTONIC, &wake);
    const std::uint64_t total = static_cast<std::uint64_t>(wake.tv_nsec) + nanoseconds;
    wake.tv_sec += static_cast<time_t>(total / kNanosecondsPerSecond);
    wake.tv_nsec = static_cast<long>(total % kNanosecondsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
    }
}
#endif

void PullSound(void* output, Uint8* stream, int bytes) {
    static_cast<SoundOutput*>(output)->Mix(reinterpret_cast<std::int16_t*>(stream),
                                           bytes / static_cast<int>(2 * sizeof(std::int16_t)));
}

#if !defined(__EMSCRIPTEN__) && !defined(_WIN32)
constexpr const char* kNoDisplay =
    "no display found; run the game on an X11 or Wayland desktop (DISPLAY or WAYLAND_DISPLAY "
    "set), or name a video driver in SDL_VIDEODRIVER";

constexpr const char* kNamedDisplayAdvice =
    "; check that its server runs and lets this user in, or name a video driver in "
    "SDL_VIDEODRIVER";

// False when nothing in the environment points at a display: no X server named, no Wayland
// display named and no runtime folder where a Wayland socket could be found, and no driver
// asked for. Probing drivers then only prints their own complaints.
bool DisplayMayExist() {
    for (const char* variable :
         {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "SDL_VIDEODRIVER"}) {
        const char* value = SDL_getenv(variable);
        if (value != nullptr && value[0] != '\0') return true;
    }
    return false;
}

// SDL's video start-up connects to the desktop's session bus (for the screen saver and input
// methods). Without a session bus address, the bus library would "autolaunch" one: it forks the
// game, which has threads running by then, and reads the child's answer from a pipe until the
// child exits. A child that hangs between the fork and its exec (a lock another thread held at
// the fork) or a dbus-launch that never answers freezes the game before its first picture, and
// one that works leaves a private bus behind that nothing else uses. With no address set, the
// address of a bus that cannot exist is set instead: the connection fails at once, and SDL
// goes on without a bus, as it would without one anywhere.
void NeverAutolaunchASessionBus() {
    const char* address = SDL_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || address[0] == '\0') {
        SDL_setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null", 1);
    }
}

// The video drivers that a display variable points at, in the order SDL tries them.
struct DisplayVariable {
    const char* name;
    const char* driver;
};
constexpr DisplayVariable kDisplayVariables[] = {{"DISPLAY", "x11"},
                                                 {"WAYLAND_DISPLAY", "wayland"}};

// SDL went past the drivers of the displays that the environment names and settled on a blind
// one. Each named display's driver is started again by name: a server that was busy or
// starting over a moment ago may answer now, and SDL goes on with it (true). Otherwise
// `failure` tells what failed in SDL's own words, so that a display that is named but does not
// answer reads differently from no display at all; it stays empty when no display is named.
bool StartNamedDisplay(std::string& failure) {
    for (const DisplayVariable& variable : kDisplayVariables) {
        const char* value = SDL_getenv(variable.name);
        if (value == nullptr || value[0] == '\0') continue;
        if (SDL_VideoInit(variable.driver) == 0) return true;
        if (!failure.empty()) failure += "; ";
        failure += std::string("cannot open the display ") + value + " named in " + variable.name +
                   ": " + SDL_GetError();
    }
    return false;
}
#endif

// Keys and mouse buttons that went down since the last reading: a press shorter than the time
// between two readings still reads as down once.
struct PressLatch {
    std::array<bool, SDL_NUM_SCANCODES> keys{};
    Uint32 buttons = 0;
};

// Sees every event as SDL takes it from the window system, whoever reads the queue (or nobody,
// while the game holds the thread), and notes the presses.
int SDLCALL NotePresses(void* latch, SDL_Event* event) {
    auto* presses = static_cast<PressLatch*>(latch);
    if (event->type == SDL_KEYDOWN && event->key.keysym.scancode < SDL_NUM_SCANCODES) {
        presses->keys[event->key.keysym.scancode] = true;
    } else if (event->type == SDL_MOUSEBUTTONDOWN) {
        presses->buttons |= SDL_BUTTON(event->button.button);
    }
    return 1;
}

#ifdef __EMSCRIPTEN__
// A page has no signals and no box processes: the page's own close ends everything.
std::atomic<int> endSignals{0};
struct PreviousEndHandling {};
void TakeEndSignals(PreviousEndHandling&) {}
void GiveBackEndSignals(const PreviousEndHandling&) {}
#elif defined(_WIN32)
// The console's close, Ctrl+C and Ctrl+Break ask the program to end, as SIGTERM and SIGINT do
// on POSIX systems: each is counted, and the next PollEvents turns it into a close request;
// while a box is shown the process ends at once, with the exit code of the box's Escape answer
// (console_end_requests.h). Windows shows its boxes in the game's own process: nothing is left
// behind.
constexpr int kExitCodeOfAnEndedBox = 1;
std::atomic<int> endSignals{0};
std::atomic<bool> boxShown{false};
struct PreviousEndHandling {};
void TakeEndSignals(PreviousEndHandling&) {
    TakeConsoleEndRequests(endSignals, boxShown, kExitCodeOfAnEndedBox);
}
void GiveBackEndSignals(const PreviousEndHandling&) {
    GiveBackConsoleEndRequests();
}
#else
// SIGINT and SIGTERM ask the program to end. The host takes them itself rather than through
// SDL's handlers, which only queue a quit event: while a message box is shown, SDL runs the
// box's own loop, which never looks at that queue, so the box would outlive any number of
// signals. Outside a box a signal is counted, and the next PollEvents turns it into a close
// request, as SDL's quit event is. While a box is shown the handler ends the process at once
// with _exit, which is safe in a signal handler; nothing in the box's loop can be unwound from
// there. The exit code is the one the box's Escape answer leads to: a report ends the program
// with 1, and so does No to the question whether to go on without sound.
constexpr int kExitCodeOfAnEndedBox = 1;
std::atomic<int> endSignals{0};
std::atomic<bool> boxShown{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

void NoteEndSignal(int) {
    if (boxShown.load()) _exit(kExitCodeOfAnEndedBox);
    endSignals.fetch_add(1);
}

constexpr int kEndSignals[] = {SIGINT, SIGTERM};

// SDL shows an X11 message box from a child process of its own, which it forks for the box and
// waits for. A game ended while the box is shown would leave that child, and the box, behind:
// the child forked while a box is shown asks the system to kill it when the game ends. It runs
// between fork and SDL's code, where only system calls are safe.
pid_t gameProcess = 0;

void TieBoxProcessToTheGame() {
    if (!boxShown.load()) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The game may have ended before the tie was made.
    if (getppid() != gameProcess) _exit(kExitCodeOfAnEndedBox);
}

// How the end signals were handled before the host took them.
using PreviousEndHandling = struct sigaction[std::size(kEndSignals)];

// Takes SIGINT and SIGTERM from SDL; the state before is kept in previous, to be put back.
void TakeEndSignals(PreviousEndHandling& previous) {
    static std::once_flag forkHandlerSet;
    std::call_once(forkHandlerSet,
                   [] { pthread_atfork(nullptr, nullptr, TieBoxProcessToTheGame); });
    gameProcess = getpid();
    // A signal ignored from the start stays ignored, as the shell meant it for a job in the
    // background.
    struct sigaction action {};
    action.sa_handler = NoteEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
        sigaction(kEndSignals[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN) sigaction(kEndSignals[i], &action, nullptr);
    }
}

void GiveBackEndSignals(const PreviousEndHandling& previous) {
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
        sigaction(kEndSignals[i], &previous[i], nullptr);
    }
}
#endif

// Where a window of the given inner size opens: at the position where it lies wholly on one
// connected display there, else centred. A position kept from a display that is gone, or from
// a larger one, would leave the window where the player cannot see it.
POINT WindowPlace(const std::optional<POINT>& position, POINT size) {
    const POINT centred{static_cast<std::int32_t>(SDL_WINDOWPOS_CENTERED),
                        static_cast<std::int32_t>(SDL_WINDOWPOS_CENTERED)};
    if (!position) return centred;
    const int displays = SDL_GetNumVideoDisplays();
    for (int display = 0; display < displays; ++display) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(display, &bounds) != 0) continue;
        // In 64 bits: a kept position is any 32-bit number.
        const std::int64_t left = position->x;
        const std::int64_t top = position->y;
        if (left >= bounds.x && top >= bounds.y &&
            left + size.x <= std::int64_t{bounds.x} + bounds.w &&
            top + size.y <= std::int64_t{bounds.y} + bounds.h) {
            return *position;
        }
    }
    return centred;
}

}  // namespace

struct SdlHost::State {
    bool ready = false;
    std::string startError;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    bool fullScreen = true;
    POINT windowSize{};
    std::optional<POINT> windowPosition;
    Scaling scaling = Scaling::kFit;
    std::uint64_t blankPeriod = 0;  // performance counts per refresh
    // The first blank: the first wait for a blank finds the display at one (see
    // WaitForVerticalBlank).
    bool blanksStarted = false;
    std::uint64_t clockOrigin = 0;
    std::uint64_t startCounter = 0;
    SDL_Joystick* joystick = nullptr;
    bool mouseCaptured = false;
    bool cursorVisible = true;
    bool pointerFree = false;
    // What SDL was last told: relative mode on, cursor shown.
    bool relativeMode = false;
    bool cursorShown = true;
    // The window asked for the focus as it was shown and the window system has said nothing
    // about the focus since.
    bool focusAwaited = false;
    SDL_AudioDeviceID soundDevice = 0;
    PressLatch presses;
    // The end signals already turned into close requests.
    int endSignalsSeen = 0;
    // A message box was closed without an answer: the program is on its way out, and no further
    // box is shown.
    bool boxClosed = false;
    // How the end signals were handled before this host took them.
    PreviousEndHandling previousActions = {};
    // What the window shows: a picture equal to it is not presented again.
    ShownPicture shown;
};

SdlHost::SdlHost(StartMode mode, Scaling scaling, POINT windowSize,
                 std::optional<POINT> windowPosition)
    : state_(std::make_unique<State>()) {
    state_->fullScreen = mode == StartMode::kFullScreen;
    state_->windowSize = windowSize;
    state_->windowPosition = windowPosition;
    state_->scaling = scaling;
#ifdef __EMSCRIPTEN__
    // In a page the picture lives in the page's canvas, at its own size: the page scales it to
    // fit and takes it to the browser's full screen (web/page.js), so the window mode, size and
    // place kept on the desktop mean nothing here.
    state_->fullScreen = false;
    state_->windowSize = kDefaultWindowSize;
    state_->windowPosition.reset();
    web_page::SetWholeMultiples(scaling == Scaling::kWholeMultiples);
#elif !defined(_WIN32)
    if (!DisplayMayExist()) {
        state_->startError = kNoDisplay;
        return;
    }
    NeverAutolaunchASessionBus();
#endif
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER | SDL_INIT_JOYSTICK) != 0) {
        state_->startError = std::string("cannot open the display: ") + SDL_GetError();
        return;
    }
#if !defined(__EMSCRIPTEN__) && !defined(_WIN32)
    // Without a display SDL falls back to drivers that show nothing; a game run blind would only
    // fail later with a misleading message. A driver the user asked for by name is kept.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (SDL_getenv("SDL_VIDEODRIVER") == nullptr && driver != nullptr &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
        std::string failure;
        if (!StartNamedDisplay(failure)) {
            state_->startError = failure.empty() ? kNoDisplay : failure + kNamedDisplayAdvice;
            SDL_Quit();
            return;
        }
    }
#endif
    state_->ready = true;
    state_->endSignalsSeen = endSignals.load();
    TakeEndSignals(state_->previousActions);
    SDL_AddEventWatch(NotePresses, &state_->presses);
    state_->blankPeriod = SDL_GetPerformanceFrequency() / kRefreshRate;
    state_->startCounter = SDL_GetPerformanceCounter();
}

SdlHost::~SdlHost() {
    CloseSound();
    if (state_->joystick != nullptr) SDL_JoystickClose(state_->joystick);
    CloseWindow();
    if (state_->ready) {
        SDL_DelEventWatch(NotePresses, &state_->presses);
        SDL_Quit();
        GiveBackEndSignals(state_->previousActions);
    }
}

bool SdlHost::Ready() const {
    return state_->ready;
}

const char* SdlHost::StartError() const {
    return state_->startError.c_str();
}

bool SdlHost::InWindow() const {
    return !state_->fullScreen;
}

POINT SdlHost::WindowSize() const {
    return state_->windowSize;
}

std::optional<POINT> SdlHost::WindowPosition() const {
    return state_->windowPosition;
}

void SdlHost::NoteWindowPlace() {
    if (state_->window == nullptr || state_->fullScreen) return;
    // A window the window manager is making full screen by itself is not the player's size.
    if ((SDL_GetWindowFlags(state_->window) &
         (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) != 0) {
        return;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(state_->window, &width, &height);
    if (width > 0 && height > 0) state_->windowSize = POINT{width, height};
    // SDL reports the inner corner, but a window made or moved to a place has its frame's corner
    // put there by the window manager: the frame's corner is noted, so that a window put back
    // where it was noted stands where it stood.
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(state_->window, &x, &y);
    int top = 0;
    int left = 0;
    if (SDL_GetWindowBordersSize(state_->window, &top, &left, nullptr, nullptr) != 0) {
        top = 0;
        left = 0;
    }
    state_->windowPosition = POINT{x - left, y - top};
}

bool SdlHost::OpenWindow(const char* title, HICON icon) {
    if (!state_->ready || state_->window != nullptr) return false;
    // Under a bare X server without a window manager the window keeps the size it was made
    // with, so a full-screen window is made at the desktop's size before it goes full screen.
    const POINT desktop = DesktopSize();
    if (state_->fullScreen) {
        state_->window = SDL_CreateWindow(
            title, 0, 0, desktop.x, desktop.y,
            SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        // A size kept from a larger display is cut to this one's.
        state_->windowSize.x = std::min(state_->windowSize.x, desktop.x);
        state_->windowSize.y = std::min(state_->windowSize.y, desktop.y);
        const POINT place = WindowPlace(state_->windowPosition, state_->windowSize);
        state_->window =
            SDL_CreateWindow(title, place.x, place.y, state_->windowSize.x, state_->windowSize.y,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    }
    if (state_->window == nullptr) return false;
#ifdef _WIN32
    WatchSessionEndOn(state_->window);
#endif
    if (icon != nullptr) {
        const auto* resource = reinterpret_cast<const Resource*>(icon);
        SDL_RWops* bytes = SDL_RWFromConstMem(resource->bytes, static_cast<int>(resource->size));
        if (SDL_Surface* picture = SDL_LoadBMP_RW(bytes, 1)) {
            SDL_SetWindowIcon(state_->window, picture);
            SDL_FreeSurface(picture);
        }
    }
    state_->renderer = CreatePictureRenderer(state_->window);
    if (state_->renderer == nullptr) {
        SDL_DestroyWindow(state_->window);
        state_->window = nullptr;
        return false;
    }
    SDL_SetRenderDrawColor(state_->renderer, 0, 0, 0, 255);
    return true;
}

void SdlHost::ShowWindow() {
    if (state_->window == nullptr) return;
    // SDL_ShowWindow returns once the window is mapped.
    SDL_ShowWindow(state_->window);
    SDL_RaiseWindow(state_->window);
    // A top-most popup takes the keyboard as it is shown. Without a window manager nobody
    // hands out the focus, so the window asks for it, and goes on: on a busy machine the X
    // server can take a long time to move the focus, and the focus event arrives with the
    // events of a later frame. Until the window system says anything about the focus the
    // window counts as in front (see WindowInFront), so the input devices set up right after
    // are acquired and the game starts active.
    SDL_SetWindowInputFocus(state_->window);
    state_->focusAwaited = true;
    SDL_RenderClear(state_->renderer);
    SDL_RenderPresent(state_->renderer);
}

void SdlHost::CloseWindow() {
    NoteWindowPlace();
    if (state_->texture != nullptr) SDL_DestroyTexture(state_->texture);
    if (state_->renderer != nullptr) SDL_DestroyRenderer(state_->renderer);
    if (state_->window != nullptr) SDL_DestroyWindow(state_->window);
    state_->texture = nullptr;
    state_->renderer = nullptr;
    state_->window = nullptr;
    state_->shown.Forget();
}

POINT SdlHost::DesktopSize() {
    SDL_DisplayMode mode;
    if (!state_->ready || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return state_->windowSize;
    }
    return POINT{mode.w, mode.h};
}

void SdlHost::SetCursorVisible(bool visible) {
    state_->cursorVisible = visible;
    ApplyPointer();
}

void SdlHost::SetPointerFree(bool free) {
    state_->pointerFree = free;
    ApplyPointer();
}

void SdlHost::ApplyPointer() {
    if (!state_->ready) return;
    const bool freeInWindow = state_->pointerFree && !state_->fullScreen;
    const bool relative = state_->mouseCaptured && !freeInWindow;
    const bool shown = state_->cursorVisible || freeInWindow;
    if (relative != state_->relativeMode) {
        state_->relativeMode = relative;
        SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE);
        // Motion gathered before the capture is not the player's steering.
        if (relative) SDL_GetRelativeMouseState(nullptr, nullptr);
    }
    if (shown != state_->cursorShown) {
        state_->cursorShown = shown;
        SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
    }
}

void SdlHost::PollEvents(std::vector<HostEvent>& events) {
    const int signals = endSignals.load();
    if (signals != state_->endSignalsSeen) {
        state_->endSignalsSeen = signals;
        events.push_back(HostEvent{HostEvent::Kind::CloseRequested});
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_QUIT:
                events.push_back(HostEvent{HostEvent::Kind::CloseRequested});
                break;
            case SDL_KEYDOWN:
                // Alt+Enter switches between full screen and a window; the program
                // sees nothing of it but perhaps a lost display.
                if (kHostSwitchesFullScreen && event.key.keysym.sym == SDLK_RETURN &&
                    (event.key.keysym.mod & KMOD_ALT) && event.key.repeat == 0 &&
                    state_->window != nullptr) {
                    SwitchFullScreen(!state_->fullScreen);
                }
                break;
            case SDL_WINDOWEVENT:
                switch (event.window.event) {
                    case SDL_WINDOWEVENT_CLOSE:
                        events.push_back(HostEvent{HostEvent::Kind::CloseRequested});
                        break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        state_->focusAwaited = false;
                        events.push_back(HostEvent{HostEvent::Kind::FocusGained});
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        state_->focusAwaited = false;
                        events.push_back(HostEvent{HostEvent::Kind::FocusLost});
                        if (state_->fullScreen) {
                            events.push_back(HostEvent{HostEvent::Kind::DisplayLost});
                        }
                        break;
#ifdef __EMSCRIPTEN__
                    // The page went out of sight (another tab): play pauses as when the window
                    // loses the front.
                    case SDL_WINDOWEVENT_HIDDEN:
                        state_->focusAwaited = false;
                        events.push_back(HostEvent{HostEvent::Kind::FocusLost});
                        break;
#endif
                    case SDL_WINDOWEVENT_MINIMIZED:
                        if (state_->fullScreen) {
                            events.push_back(HostEvent{HostEvent::Kind::DisplayLost});
                        }
                        break;
                    case SDL_WINDOWEVENT_ENTER:
                        events.push_back(HostEvent{HostEvent::Kind::CursorEntered});
                        break;
                    case SDL_WINDOWEVENT_MOVED:
                        NoteWindowPlace();
                        break;
                    // The window shows something else than the last picture, or nothing: the
                    // next picture is presented even if it is the same.
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                        NoteWindowPlace();
                        state_->shown.Forget();
                        break;
                    case SDL_WINDOWEVENT_SHOWN:
                    case SDL_WINDOWEVENT_EXPOSED:
                    case SDL_WINDOWEVENT_RESTORED:
                        state_->shown.Forget();
                        break;
                    default:
                        break;
                }
                break;
            default:
                break;
        }
    }
}

void SdlHost::SwitchFullScreen(bool fullScreen) {
    NoteWindowPlace();
    state_->fullScreen = fullScreen;
    state_->shown.Forget();
    ApplyPointer();
    if (fullScreen) {
        // Where no window manager grants the full-screen state, the window would stay as small
        // as it is, so it first covers the desktop itself.
        const POINT desktop = DesktopSize();
        SDL_SetWindowPosition(state_->window, 0, 0);
        SDL_SetWindowSize(state_->window, desktop.x, desktop.y);
        SDL_SetWindowFullscreen(state_->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(state_->window, 0);
        SDL_SetWindowSize(state_->window, state_->windowSize.x, state_->windowSize.y);
        const POINT place = WindowPlace(state_->windowPosition, state_->windowSize);
        SDL_SetWindowPosition(state_->window, place.x, place.y);
    }
}

void SdlHost::WaitForEvent() {
    // An end signal not yet turned into a close request is not waited on; one that comes during
    // the wait is seen at the latest when its tenth of a second is up.
    if (state_->ready && endSignals.load() == state_->endSignalsSeen) {
        SDL_WaitEventTimeout(nullptr, 100);
    }
}

std::vector<DisplayMode> SdlHost::DisplayModes() {
    return OfferedDisplayModes();
}

bool SdlHost::SetDisplayMode(const DisplayMode& mode) {
    if (state_->renderer == nullptr) return false;
    if (state_->texture == nullptr || state_->textureWidth != mode.width ||
        state_->textureHeight != mode.height) {
        if (state_->texture != nullptr) SDL_DestroyTexture(state_->texture);
        // ARGB8888 is a format every SDL renderer takes as it is, without converting per frame.
        state_->texture = SDL_CreateTexture(state_->renderer, SDL_PIXELFORMAT_ARGB8888,
                                            SDL_TEXTUREACCESS_STREAMING, mode.width, mode.height);
        if (state_->texture == nullptr) return false;
        // Each screen pixel shows the one picture pixel under it, never a blend: the picture's
        // pixel art stays sharp at any scale, on every renderer.
        SDL_SetTextureScaleMode(state_->texture, SDL_ScaleModeNearest);
        state_->textureWidth = mode.width;
        state_->textureHeight = mode.height;
    }
    state_->shown.Forget();
    return true;
}

void SdlHost::RestoreDisplayMode() {}

void SdlHost::WaitForVerticalBlank() {
    // The display's blanks fall at fixed multiples of 1/60 s from the first wait for one, which
    // finds the display at a blank: the program's first picture is shown as soon as it is
    // drawn, and every later one at the pace. SDL's own vertical sync is honoured by some
    // drivers and ignored by others, so the pace is kept here.
    const std::uint64_t now = SDL_GetPerformanceCounter();
    if (!state_->blanksStarted) {
        state_->blanksStarted = true;
        state_->clockOrigin = now;
        return;
    }
    const std::uint64_t period = state_->blankPeriod;
    const std::uint64_t next =
        state_->clockOrigin + ((now - state_->clockOrigin) / period + 1) * period;
#ifdef __EMSCRIPTEN__
    // In a page the picture is shown at the browser's animation frame nearest its blank: the
    // wait gives the browser at least one frame (its events, sound and drawing run meanwhile)
    // and ends at the first within a quarter period of the blank, so a display refreshing
    // faster than 60 Hz still gets 60 pictures a second.
    do {
        web_page::WaitForAnimationFrame();
    } while (SDL_GetPerformanceCounter() + period / 4 < next);
#else
    const std::uint64_t frequency = SDL_GetPerformanceFrequency();
    // Sleep through all of the wait but its last fraction of a millisecond, then watch SDL's
    // counter until the blank: the sleep's clock may run a little apart from the counter, and
    // the counter alone decides, so a blank never comes early.
    const std::uint64_t spin = frequency * kBlankSpinNanoseconds / kNanosecondsPerSecond;
    if (next - now > spin) {
        SleepNanoseconds((next - now - spin) * kNanosecondsPerSecond / frequency);
    }
    while (SDL_GetPerformanceCounter() < next) {
    }
#endif
}

void SdlHost::Present(const PresentedPicture& picture) {
    if (state_->renderer == nullptr || state_->texture == nullptr) return;
    if (picture.width != state_->textureWidth || picture.height != state_->textureHeight) return;
    // A title or a pause shows one picture for many frames; it is converted and sent to the
    // window system once.
    if (!state_->shown.TakeIfChanged(picture)) return;
    void* texturePixels = nullptr;
    int texturePitch = 0;
    if (SDL_LockTexture(state_->texture, nullptr, &texturePixels, &texturePitch) != 0) {
        state_->shown.Forget();
        return;
    }
    ConvertPictureToArgb(picture, static_cast<std::uint32_t*>(texturePixels), texturePitch);
    SDL_UnlockTexture(state_->texture);
    // The picture is fitted, with its aspect kept and black bars around it, to the size the
    // renderer's output has now: a window manager may grant a size change late, or never.
    // Whole multiples only where at least one fits; a smaller window still shows all of it.
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(state_->renderer, &outputWidth, &outputHeight);
    const bool wholeMultiples = state_->scaling == Scaling::kWholeMultiples &&
                                outputWidth >= state_->textureWidth &&
                                outputHeight >= state_->textureHeight;
    SDL_RenderSetIntegerScale(state_->renderer, wholeMultiples ? SDL_TRUE : SDL_FALSE);
    SDL_RenderSetLogicalSize(state_->renderer, state_->textureWidth, state_->textureHeight);
    SDL_RenderClear(state_->renderer);
    SDL_RenderCopy(state_->renderer, state_->texture, nullptr, nullptr);
    SDL_RenderPresent(state_->renderer);
}

bool SdlHost::WindowInFront() {
    if (state_->window == nullptr) return false;
    return state_->focusAwaited ||
           (SDL_GetWindowFlags(state_->window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool SdlHost::ReadKeyboard(std::uint8_t state[256]) {
    SDL_PumpEvents();
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    std::fill(state, state + 256, std::uint8_t{0});
    for (int scancode = 0; scancode < count; ++scancode) {
        const bool pressed = scancode < SDL_NUM_SCANCODES && state_->presses.keys[scancode];
        if (!keys[scancode] && !pressed) continue;
        const std::uint8_t setOne = SetOneScanCode(static_cast<SDL_Scancode>(scancode));
        if (setOne != 0) state[setOne] = 0x80;
    }
    state_->presses.keys.fill(false);
    return true;
}

bool SdlHost::ReadMouse(MouseReading& reading) {
    SDL_PumpEvents();
    int dx = 0;
    int dy = 0;
    const Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy) | state_->presses.buttons;
    state_->presses.buttons = 0;
    reading.dx = dx;
    reading.dy = dy;
    reading.wheel = 0;
    reading.buttons[0] = (buttons & SDL_BUTTON_LMASK) ? 0x80 : 0;
    reading.buttons[1] = (buttons & SDL_BUTTON_RMASK) ? 0x80 : 0;
    reading.buttons[2] = (buttons & SDL_BUTTON_MMASK) ? 0x80 : 0;
    reading.buttons[3] = (buttons & SDL_BUTTON_X1MASK) ? 0x80 : 0;
    return true;
}

void SdlHost::SetMouseCaptured(bool captured) {
    state_->mouseCaptured = captured;
    ApplyPointer();
}

bool SdlHost::JoystickAttached() {
    if (state_->joystick == nullptr && state_->ready && SDL_NumJoysticks() > 0) {
        state_->joystick = SDL_JoystickOpen(0);
    }
    return state_->joystick != nullptr;
}

bool SdlHost::ReadJoystick(std::uint8_t buttons[32]) {
    if (state_->joystick == nullptr || !SDL_JoystickGetAttached(state_->joystick)) return false;
    SDL_JoystickUpdate();
    const int count = std::min(SDL_JoystickNumButtons(state_->joystick), 32);
    std::fill(buttons, buttons + 32, std::uint8_t{0});
    for (int i = 0; i < count; ++i) {
        buttons[i] = SDL_JoystickGetButton(state_->joystick, i) ? 0x80 : 0;
    }
    return true;
}

std::int64_t SdlHost::PerformanceCounter() {
    return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

std::int64_t SdlHost::PerformanceFrequency() {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}

std::uint32_t SdlHost::Milliseconds() {
    const std::uint64_t elapsed = SDL_GetPerformanceCounter() - state_->startCounter;
    return static_cast<std::uint32_t>(elapsed * 1000 / SDL_GetPerformanceFrequency());
}

std::int64_t SdlHost::SecondsSinceEpoch() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

bool SdlHost::OpenSound(SoundOutput* output, int* framesPerSecond) {
    if (!state_->ready || state_->soundDevice != 0) return false;
    // Without a sound device (no driver, or one whose device will not open) there is no
    // sound: the caller hears of it and may go on silently.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = kSoundRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kSoundPeriodFrames;
    wanted.callback = PullSound;
    wanted.userdata = output;
    SDL_AudioSpec obtained{};
    // SDL adapts our fixed format to the device's own.
    state_->soundDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (state_->soundDevice == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    *framesPerSecond = kSoundRate;
    SDL_PauseAudioDevice(state_->soundDevice, 0);
    return true;
}

void SdlHost::CloseSound() {
    if (state_->soundDevice == 0) return;
    // Closing waits for a running callback, so the output is not pulled from afterwards.
    SDL_CloseAudioDevice(state_->soundDevice);
    state_->soundDevice = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int SdlHost::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    // What the box says also goes to the standard error stream, where a terminal or a log of
    // a run without a screen keeps it.
    std::fprintf(stderr, "%s: %s\n", caption, text);
    const bool yesNo = (type & MB_YESNO) != 0;
#ifdef __EMSCRIPTEN__
    // The browser's own box for a question; a report waits for the page's last screen, which
    // shows it when the program ends (every report ends it).
    static_cast<void>(owner);
    if (yesNo) return web_page::AskYesNo(caption, text) ? IDYES : IDNO;
    web_page::Report(caption, text);
    return IDOK;
#else
    // A box the player closed without answering, or an end signal, asked the program to end: a
    // box from then on is answered as its Escape key would, without being shown. The flag goes
    // up before the signals are looked at: one that comes later ends the process in its handler,
    // one that came before is seen here.
    const int escapeAnswer = yesNo ? IDNO : IDOK;
    boxShown.store(true);
    if (state_->boxClosed || endSignals.load() != state_->endSignalsSeen) {
        boxShown.store(false);
        return escapeAnswer;
    }
    SDL_MessageBoxButtonData okButton{
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
        "OK"};
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    SDL_MessageBoxData box{};
    box.flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    box.window = owner != nullptr ? state_->window : nullptr;
    box.title = caption;
    box.message = text;
    box.numbuttons = yesNo ? 2 : 1;
    box.buttons = yesNo ? yesNoButtons : &okButton;
    int pressed = 0;
    const bool shown = SDL_ShowMessageBox(&box, &pressed) == 0;
    boxShown.store(false);
    if (!shown) return 0;
    // SDL answers -1 for a box whose window was closed.
    if (pressed < 0) {
        state_->boxClosed = true;
        return escapeAnswer;
    }
    return pressed;
#endif
}

void SdlHost::DebugOutput(const char* text) {
    std::fputs(text, stderr);
}

}  // namespace platform
