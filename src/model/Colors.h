#pragma once
// Colour values as the program stores them: 0x00BBGGRR (red in the low byte), or
// 0x80000000 + n for the desktop's system colour n.

#include <cstdint>

namespace kestrund {

using TColor = std::uint32_t; // 0x00BBGGRR, or 0x80000000 + n for a system colour

constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnText = 0x80000012;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clDefaultShadow = 0x808080;

constexpr bool IsSystemColor(TColor color) { return (color & clSystemColor) != 0; }

} // namespace kestrund
