#include "forms/Graphics.h"

#include <cstring>

namespace forms {

namespace {
UniqueMemoryDc measuringDc;
}

HDC MeasuringDc() {
    if (!measuringDc) measuringDc.Reset(CreateCompatibleDC(nullptr));
    return measuringDc.Get();
}

bool ColorFromName(const std::string& name, TColor& color) {
    static const struct { const char* name; bool system; COLORREF value; } kColors[] = {
        {"clBtnFace", true, COLOR_BTNFACE},     {"clWindow", true, COLOR_WINDOW},
        {"clWindowText", true, COLOR_WINDOWTEXT}, {"clBtnShadow", true, COLOR_BTNSHADOW},
        {"clBtnHighlight", true, COLOR_BTNHIGHLIGHT}, {"clBlack", false, RGB(0, 0, 0)},
        {"clWhite", false, RGB(255, 255, 255)}, {"clGray", false, RGB(128, 128, 128)},
        {"clSilver", false, RGB(192, 192, 192)},
    };
    for (const auto& c : kColors) {
        if (name == c.name) {
            color = TColor{c.system, c.value};
            return true;
        }
    }
    return false;
}

UniqueFont TFont::Create() const {
    return UniqueFont(CreateFontA(Height, 0, 0, 0, Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  static_cast<BYTE>(Charset), OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, Name.c_str()));
}

const void* FindResourceData(const char* name, const char* type, DWORD* size) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, name, type);
    if (!info) return nullptr;
    HGLOBAL loaded = LoadResource(module, info);
    if (!loaded) return nullptr;
    *size = SizeofResource(module, info);
    return LockResource(loaded);
}

namespace {

#pragma pack(push, 1)
struct IconDirEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes, offset;
};
#pragma pack(pop)

}  // namespace

bool TPicture::LoadFromResource(const std::string& resourceName) {
    DWORD size = 0;
    auto data = static_cast<const BYTE*>(FindResourceData(resourceName.c_str(), MAKEINTRESOURCEA(10), &size));
    if (!data) return false;
    if (size > sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) && data[0] == 'B' && data[1] == 'M') {
        BITMAPFILEHEADER file;
        std::memcpy(&file, data, sizeof file);
        auto info = reinterpret_cast<const BITMAPINFO*>(data + sizeof file);
        const BITMAPINFOHEADER& h = info->bmiHeader;
        if (file.bfOffBits >= size || h.biWidth <= 0 || h.biHeight == 0) return false;
        const BYTE* bits = data + file.bfOffBits;
        WindowDc screen(nullptr);
        bitmap_.Reset(CreateDIBitmap(screen.Get(), &h, CBM_INIT, bits, info, DIB_RGB_COLORS));
        if (!bitmap_) return false;
        width_ = h.biWidth;
        height_ = h.biHeight < 0 ? -h.biHeight : h.biHeight;
        // The transparent colour is the bottom-left pixel's.
        UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
        SelectedObject selected(memory.Get(), bitmap_.Get());
        transparentColor_ = GetPixel(memory.Get(), 0, height_ - 1);
        return true;
    }
    // An icon file: take its 32 x 32 image (or its first).
    if (size < 6 + sizeof(IconDirEntry) || data[0] != 0 || data[1] != 0 || data[2] != 1) return false;
    WORD count = static_cast<WORD>(data[4] | (data[5] << 8));
    if (count == 0 || 6 + count * sizeof(IconDirEntry) > size) return false;
    IconDirEntry chosen;
    std::memcpy(&chosen, data + 6, sizeof chosen);
    for (WORD i = 0; i < count; ++i) {
        IconDirEntry e;
        std::memcpy(&e, data + 6 + i * sizeof e, sizeof e);
        if (e.width == 32 && e.height == 32) {
            chosen = e;
            break;
        }
    }
    if (chosen.offset >= size || chosen.bytes > size - chosen.offset) return false;
    width_ = GetSystemMetrics(SM_CXICON);
    height_ = GetSystemMetrics(SM_CYICON);
    icon_.Reset(CreateIconFromResourceEx(const_cast<BYTE*>(data + chosen.offset), chosen.bytes, TRUE,
                                         0x00030000, width_, height_, LR_DEFAULTCOLOR));
    return static_cast<bool>(icon_);
}

void TPicture::Draw(HDC dc, int x, int y, bool transparent) const {
    if (icon_) {
        DrawIconEx(dc, x, y, icon_.Get(), width_, height_, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!bitmap_) return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    SelectedObject selected(memory.Get(), bitmap_.Get());
    if (transparent)
        TransparentBlt(dc, x, y, width_, height_, memory.Get(), 0, 0, width_, height_, transparentColor_);
    else
        BitBlt(dc, x, y, width_, height_, memory.Get(), 0, 0, SRCCOPY);
}

}  // namespace forms
