// Fonts, colours and pictures.
#pragma once
#include <windows.h>

#include <string>

#include "forms/Handles.h"

namespace forms {

// A colour: an RGB value, or one of the system's colours.
struct TColor {
    static TColor Rgb(COLORREF rgb) { return TColor{false, rgb}; }
    static TColor System(int index) { return TColor{true, static_cast<COLORREF>(index)}; }
    COLORREF ToRgb() const { return system ? GetSysColor(static_cast<int>(value)) : value; }
    bool system;
    COLORREF value;
};

// Parses clBtnFace, clWindowText, clBlack, ...; false for an unknown name.
bool ColorFromName(const std::string& name, TColor& color);

struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = -11;  // negative: character height in pixels
    bool Bold = false;
    int Charset = DEFAULT_CHARSET;
    TColor Color = TColor::System(COLOR_WINDOWTEXT);

    UniqueFont Create() const;
};

// A picture stored in the image as resource data: a bitmap file or an icon file.
class TPicture {
public:
    // Loads the picture from the resource data named resourceName; false when the data is not a
    // bitmap or icon file.
    bool LoadFromResource(const std::string& resourceName);
    bool Empty() const { return !bitmap_ && !icon_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Draws at (x, y) at natural size; a transparent bitmap leaves out its bottom-left colour.
    void Draw(HDC dc, int x, int y, bool transparent) const;

private:
    UniqueBitmap bitmap_;
    COLORREF transparentColor_ = 0;
    UniqueIcon icon_;
    int width_ = 0;
    int height_ = 0;
};

// A memory device context compatible with the screen, made once and kept for the life of the
// process, for measuring text and reading the screen's resolution. The screen's own DC costs a
// round trip to the display server for every GetDC (about a quarter of a millisecond under Wine);
// this one costs nothing after the first call.
HDC MeasuringDc();

// Resource data built into the image, or null.
const void* FindResourceData(const char* name, const char* type, DWORD* size);

}  // namespace forms
