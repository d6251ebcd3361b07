// SPDX-License-Identifier: MIT
#include "platform/host/window.h"

#include <strings.h>

#include <cstdio>
#include <vector>

#include "platform/host/platform_context.h"

namespace platform {

// The cursor handle of the arrow: only its identity matters, the host draws its own pointer.
struct Cursor {};

namespace {

Cursor arrowCursor;

std::vector<Resource>& ResourceTable() {
    static std::vector<Resource> table;
    return table;
}

WindowSystem& System() {
    return CurrentContext().windows;
}

bool MessageMatches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && message.hwnd != window) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return message.message >= filterMin && message.message <= filterMax;
}

void Enqueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    System().queue.push_back(MSG{window, message, wParam, lParam});
}

// Turns what the host saw into window messages, in the order it happened.
void TakeHostEvents() {
    std::vector<HostEvent> events;
    CurrentHost().PollEvents(events);
    HWND window = System().window.get();
    for (const HostEvent& event : events) {
        switch (event.kind) {
            case HostEvent::Kind::CloseRequested:
                if (window != nullptr) Enqueue(window, WM_CLOSE, 0, 0);
                break;
            case HostEvent::Kind::FocusGained:
                if (window != nullptr) Enqueue(window, WM_ACTIVATEAPP, 1, 0);
                break;
            case HostEvent::Kind::FocusLost:
                if (window != nullptr) Enqueue(window, WM_ACTIVATEAPP, 0, 0);
                break;
            case HostEvent::Kind::CursorEntered:
                if (window != nullptr) Enqueue(window, WM_SETCURSOR, 0, 0);
                break;
            case HostEvent::Kind::DisplayLost:
                LoseVideoMemory(CurrentHost());
                break;
        }
    }
}

}  // namespace

void RegisterResources(std::span<const Resource> resources) {
    ResourceTable().assign(resources.begin(), resources.end());
}

const Resource* FindResource(const char* name, ResourceKind kind) {
    if (name == nullptr) return nullptr;
    for (const Resource& resource : ResourceTable()) {
        if (resource.kind == kind && strcasecmp(resource.name, name) == 0) return &resource;
    }
    return nullptr;
}

HICON LoadIcon(HINSTANCE, const char* name) {
    const Resource* resource = FindResource(name, ResourceKind::Icon);
    // An icon handle is the address of its resource entry; the host reads the bitmap behind it.
    return reinterpret_cast<HICON>(const_cast<Resource*>(resource));
}

HCURSOR LoadCursor(HINSTANCE, const char*) {
    return &arrowCursor;
}

void* GetStockObject(int) {
    return nullptr;
}

bool RegisterClass(const WNDCLASS* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpfnWndProc == nullptr) {
        return false;
    }
    System().classes[windowClass->lpszClassName] = *windowClass;
    return true;
}

HWND CreateWindowEx(DWORD, const char* className, const char* title, DWORD, int, int, int width,
                    int height, HWND, void*, HINSTANCE, void*) {
    WindowSystem& system = System();
    if (className == nullptr || system.window != nullptr) return nullptr;
    auto found = system.classes.find(className);
    if (found == system.classes.end()) return nullptr;
    if (!CurrentHost().OpenWindow(title != nullptr ? title : "", found->second.hIcon)) {
        return nullptr;
    }
    auto window = std::make_unique<Window>();
    window->windowClass = found->second;
    window->title = title != nullptr ? title : "";
    window->width = width;
    window->height = height;
    system.window = std::move(window);
    return system.window.get();
}

BOOL ShowWindow(HWND window, int) {
    if (window == nullptr || window != System().window.get()) return 0;
    CurrentHost().ShowWindow();
    // A top-most popup is activated as it is shown, and the pointer is over it.
    Enqueue(window, WM_ACTIVATEAPP, 1, 0);
    Enqueue(window, WM_SETCURSOR, 0, 0);
    return 1;
}

BOOL UpdateWindow(HWND window) {
    return window != nullptr ? 1 : 0;
}

BOOL DestroyWindow(HWND window) {
    WindowSystem& system = System();
    if (window == nullptr || window != system.window.get()) return 0;
    SendMessage(window, WM_DESTROY, 0, 0);
    CurrentHost().CloseWindow();
    // Messages still queued for the window go with it; the quit message stays.
    std::erase_if(system.queue, [window](const MSG& m) { return m.hwnd == window; });
    system.window.reset();
    return 1;
}

int GetSystemMetrics(int index) {
    POINT size = CurrentHost().DesktopSize();
    if (index == SM_CXFULLSCREEN) return size.x;
    if (index == SM_CYFULLSCREEN) return size.y;
    return 0;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    if (window == nullptr || rect == nullptr) return 0;
    *rect = RECT{0, 0, window->width, window->height};
    return 1;
}

BOOL ClientToScreen(HWND window, POINT*) {
    // The window covers the display from its top-left corner: client and screen coincide.
    return window != nullptr ? 1 : 0;
}

BOOL OffsetRect(RECT* rect, int dx, int dy) {
    if (rect == nullptr) return 0;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return 1;
}

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
    if (index != GWLP_USERDATA || window == nullptr || window != System().window.get()) return 0;
    const LONG_PTR previous = window->userData;
    window->userData = value;
    return previous;
}

LONG_PTR GetWindowLongPtr(HWND window, int index) {
    if (index != GWLP_USERDATA || window == nullptr || window != System().window.get()) return 0;
    return window->userData;
}

BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    TakeHostEvents();
    auto& queue = System().queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (it->message != WM_QUIT && !MessageMatches(*it, window, filterMin, filterMax)) continue;
        if (message != nullptr) *message = *it;
        if (removeFlags & PM_REMOVE) queue.erase(it);
        return 1;
    }
    return 0;
}

BOOL GetMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
    MSG taken;
    while (!PeekMessage(&taken, window, filterMin, filterMax, PM_REMOVE)) {
        CurrentHost().WaitForEvent();
    }
    if (message != nullptr) *message = taken;
    return taken.message == WM_QUIT ? 0 : 1;
}

BOOL TranslateMessage(const MSG*) {
    return 0;
}

LRESULT DispatchMessage(const MSG* message) {
    if (message == nullptr || message->hwnd == nullptr) return 0;
    return SendMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr || window != System().window.get()) return 0;
    return window->windowClass.lpfnWndProc(window, message, wParam, lParam);
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Enqueue(window, message, wParam, lParam);
    return 1;
}

void PostQuitMessage(int exitCode) {
    Enqueue(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

BOOL WaitMessage() {
    while (!PeekMessage(nullptr, nullptr, 0, 0, PM_NOREMOVE)) CurrentHost().WaitForEvent();
    return 1;
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    return 0;
}

HCURSOR SetCursor(HCURSOR cursor) {
    WindowSystem& system = System();
    HCURSOR previous = system.cursor;
    system.cursor = cursor;
    CurrentHost().SetCursorVisible(cursor != nullptr);
    return previous;
}

void SetPointerFree(bool free) {
    CurrentHost().SetPointerFree(free);
}

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return CurrentHost().ShowMessageBox(owner, text != nullptr ? text : "",
                                        caption != nullptr ? caption : "", type);
}

void OutputDebugString(const char* text) {
    if (text != nullptr) CurrentHost().DebugOutput(text);
}

HWND MainWindowOfHost() {
    return System().window.get();
}

}  // namespace platform
