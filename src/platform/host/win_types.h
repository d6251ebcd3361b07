// SPDX-License-Identifier: MIT
#pragma once

// The window-system vocabulary the engine and the game are written in: handles, messages,
// message-box flags and the rectangle record, with fixed numeric values that the engine and
// the game test and compare.

#include <cstdint>

namespace platform {

struct Window;
struct Icon;
struct Cursor;
struct DeviceContext;
struct Font;

using HWND = Window*;
using HICON = Icon*;
using HCURSOR = Cursor*;
using HDC = DeviceContext*;
using HFONT = Font*;
using HINSTANCE = void*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using BOOL = int;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using COLORREF = std::uint32_t;

struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

struct POINT {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    void* hbrBackground = nullptr;
    const char* lpszClassName = nullptr;
};

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_SETCURSOR = 0x0020;

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;

inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_YESNO = 0x0004;
inline constexpr UINT MB_ICONERROR = 0x0010;
inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

inline constexpr int GWLP_USERDATA = -21;

inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;

inline constexpr DWORD WS_POPUP = 0x80000000u;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008u;

}  // namespace platform
