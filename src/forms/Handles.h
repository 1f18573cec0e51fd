// Owners for platform handles: one owner per handle, released on every way out of its scope.
#pragma once
#include <windows.h>

#include <utility>

namespace forms {

// A non-copyable, movable owner. Both NULL and INVALID_HANDLE_VALUE count as empty.
template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;
    UniqueHandle() = default;
    explicit UniqueHandle(Type h) : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Type())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.h_, Type()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Type Get() const { return h_; }
    explicit operator bool() const { return IsValid(h_); }
    Type Release() { return std::exchange(h_, Type()); }
    void Reset(Type h = Type()) {
        if (IsValid(h_)) Traits::Close(h_);
        h_ = h;
    }
    Type* Put() {  // for out-parameters: the old handle is released first
        Reset();
        return &h_;
    }

private:
    static bool IsValid(Type h) {
        return h != Type() && reinterpret_cast<HANDLE>(h) != INVALID_HANDLE_VALUE;
    }
    Type h_ = Type();
};

struct KernelHandleTraits { using Type = HANDLE; static void Close(HANDLE h) { CloseHandle(h); } };
struct FindHandleTraits { using Type = HANDLE; static void Close(HANDLE h) { FindClose(h); } };
struct RegKeyTraits { using Type = HKEY; static void Close(HKEY h) { RegCloseKey(h); } };
struct GdiObjectTraits { using Type = HGDIOBJ; static void Close(HGDIOBJ h) { DeleteObject(h); } };
struct FontTraits { using Type = HFONT; static void Close(HFONT h) { DeleteObject(h); } };
struct BitmapTraits { using Type = HBITMAP; static void Close(HBITMAP h) { DeleteObject(h); } };
struct IconTraits { using Type = HICON; static void Close(HICON h) { DestroyIcon(h); } };
struct WindowTraits { using Type = HWND; static void Close(HWND h) { DestroyWindow(h); } };
struct MemoryDcTraits { using Type = HDC; static void Close(HDC h) { DeleteDC(h); } };

using UniqueFile = UniqueHandle<KernelHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueKey = UniqueHandle<RegKeyTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueBitmap = UniqueHandle<BitmapTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// A window's DC from GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { if (old_) SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves a DC's state and restores it (clip region included).
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDc() { if (id_) RestoreDC(dc_, id_); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int id_;
};

}  // namespace forms
