// SPDX-License-Identifier: MIT
#pragma once

// The window system: the window class, the program's one window, the message queue and the
// message box, under the names the game's start-up and frame driver are written with.

#include <span>

#include "platform/host/win_types.h"

namespace platform {

// Resources compiled into the program (icons and bitmaps), found by name.
enum class ResourceKind { Icon, Bitmap };

struct Resource {
    const char* name = nullptr;
    ResourceKind kind = ResourceKind::Bitmap;
    const unsigned char* bytes = nullptr;  // a Windows bitmap file image
    std::size_t size = 0;
};

// The program registers its resource table once at start; names match without regard to case.
void RegisterResources(std::span<const Resource> resources);
const Resource* FindResource(const char* name, ResourceKind kind);

// Icons and cursors as the window class takes them. An icon is its resource.
HICON LoadIcon(HINSTANCE instance, const char* name);
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
inline constexpr const char* IDC_ARROW = "#32512";
void* GetStockObject(int object);
inline constexpr int BLACK_BRUSH = 4;

bool RegisterClass(const WNDCLASS* windowClass);
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                    int y, int width, int height, HWND parent, void* menu, HINSTANCE instance,
                    void* param);
BOOL ShowWindow(HWND window, int showCommand);
BOOL UpdateWindow(HWND window);
BOOL DestroyWindow(HWND window);
int GetSystemMetrics(int index);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL OffsetRect(RECT* rect, int dx, int dy);
// The window's user data (index GWLP_USERDATA), through which a window procedure reaches the
// program's own state. Set returns the value it replaced; both give 0 for another index or for
// a window that is not the program's.
LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtr(HWND window, int index);

// The message queue. PeekMessage and GetMessage first take in what the host saw happen.
BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL GetMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessage(const MSG* message);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL WaitMessage();
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A null cursor hides the pointer over the window.
HCURSOR SetCursor(HCURSOR cursor);
// While free, the pointer over a window (not full screen) is shown and not held in it, whatever
// the cursor and the mouse's capture say; the program sets it free where it does not steer.
void SetPointerFree(bool free);

int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
void OutputDebugString(const char* text);

// The program's one window, or null before it is created and after it is destroyed.
HWND MainWindowOfHost();

}  // namespace platform
