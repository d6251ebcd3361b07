// SPDX-License-Identifier: MIT
// Times a program from its launch to its first picture on an X screen, from outside it:
//
//     first_picture_watch [--timeout SECONDS] -- PROGRAM [ARGUMENTS...]
//
// Before the launch it reads a 16 x 16 patch at the centre of the root window (the server's
// own background); then it starts the program (fork and exec, the clock read just before)
// and reads the same patch every millisecond until the patch is neither all black nor the
// background any more: a window that only shows black or is not mapped yet does not count.
// Each reading is one 16 x 16 XGetImage, a round trip of well under a millisecond to a local
// server, so the figure is late by at most about 1.5 ms. It prints the time in milliseconds,
// then asks the program to close (SIGTERM) and waits for it, killing it after five seconds.
// Exit code 0 with a time, 1 when the program ended or the timeout passed without a picture,
// 2 for a wrong command line or no display.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kPatch = 16;
using Clock = std::chrono::steady_clock;

// The patch's pixels as the server returns them, or empty when it cannot be read.
std::vector<unsigned long> ReadPatch(Display* display, Window root, int left, int top) {
    XImage* image = XGetImage(display, root, left, top, kPatch, kPatch, AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    std::vector<unsigned long> pixels;
    pixels.reserve(kPatch * kPatch);
    for (int y = 0; y < kPatch; ++y) {
        for (int x = 0; x < kPatch; ++x) pixels.push_back(XGetPixel(image, x, y));
    }
    XDestroyImage(image);
    return pixels;
}

bool AllBlack(const std::vector<unsigned long>& pixels, unsigned long black) {
    for (unsigned long pixel : pixels) {
        if (pixel != black) return false;
    }
    return true;
}

// Asks the program to close, then makes sure it has.
void EndProgram(pid_t child) {
    kill(child, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < deadline) {
        if (waitpid(child, nullptr, WNOHANG) == child) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: first_picture_watch [--timeout SECONDS] -- PROGRAM [ARGUMENTS...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    double timeoutSeconds = 60;
    int first = 1;
    if (first + 1 < argc && std::strcmp(argv[first], "--timeout") == 0) {
        char* end = nullptr;
        timeoutSeconds = std::strtod(argv[first + 1], &end);
        if (end == argv[first + 1] || *end != '\0' || timeoutSeconds <= 0) return Usage();
        first += 2;
    }
    if (first >= argc || std::strcmp(argv[first], "--") != 0 || first + 1 >= argc) return Usage();
    char** program = argv + first + 1;

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "first_picture_watch: cannot open the display\n");
        return 2;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const unsigned long black = BlackPixel(display, screen);
    const int left = DisplayWidth(display, screen) / 2 - kPatch / 2;
    const int top = DisplayHeight(display, screen) / 2 - kPatch / 2;
    const std::vector<unsigned long> background = ReadPatch(display, root, left, top);
    if (background.empty()) {
        std::fprintf(stderr, "first_picture_watch: cannot read the screen\n");
        return 2;
    }

    const auto launch = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("first_picture_watch: fork");
        return 2;
    }
    if (child == 0) {
        execvp(program[0], program);
        std::fprintf(stderr, "first_picture_watch: cannot start %s: %s\n", program[0],
                     std::strerror(errno));
        _exit(127);
    }

    const auto deadline = launch + std::chrono::duration<double>(timeoutSeconds);
    while (Clock::now() < deadline) {
        const std::vector<unsigned long> patch = ReadPatch(display, root, left, top);
        if (!patch.empty() && patch != background && !AllBlack(patch, black)) {
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - launch).count();
            std::printf("%.1f\n", ms);
            std::fflush(stdout);
            EndProgram(child);
            XCloseDisplay(display);
            return 0;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "first_picture_watch: %s ended before showing a picture\n",
                         program[0]);
            XCloseDisplay(display);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::fprintf(stderr, "first_picture_watch: no picture from %s within %g s\n", program[0],
                 timeoutSeconds);
    EndProgram(child);
    XCloseDisplay(display);
    return 1;
}
