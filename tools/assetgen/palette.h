#pragma once

// The colour scheme of every picture: a calm deep-teal sea, foam-white lines and sand accents.
// Change a colour here and every picture that uses it follows.

struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;
};

constexpr Rgb hex(unsigned v) {
  return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}

// Mixes a towards b by t (0 gives a, 1 gives b).
constexpr Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

namespace colours {

// The sea behind everything.
inline constexpr Rgb seaTop = hex(0x13525E);
inline constexpr Rgb seaBottom = hex(0x06252F);
inline constexpr Rgb seaLight = hex(0x2B7C85);
inline constexpr Rgb wave = hex(0x3E96A0);

// The board tray and the sockets of empty cells.
inline constexpr Rgb rimLight = hex(0x6FB7B4);
inline constexpr Rgb rimDark = hex(0x1C5A62);
inline constexpr Rgb floorTop = hex(0x0B3944);
inline constexpr Rgb floorBottom = hex(0x072B34);
inline constexpr Rgb socket = hex(0x0E4450);
inline constexpr Rgb grout = hex(0x062029);

// Text and light panels.
inline constexpr Rgb foam = hex(0xEAF5F0);
inline constexpr Rgb foamShade = hex(0xB9DCD5);
inline constexpr Rgb ink = hex(0x08323D);
inline constexpr Rgb caption = hex(0x9CCBC6);
inline constexpr Rgb title = hex(0xF1F8F4);

// Buttons: sea glass at rest, brighter under the pointer, sand when pressed or selected.
inline constexpr Rgb glassTop = hex(0xC9ECE5);
inline constexpr Rgb glassBottom = hex(0x86C9C0);
inline constexpr Rgb hoverTop = hex(0xEFFFFB);
inline constexpr Rgb hoverBottom = hex(0xA9E2D9);
inline constexpr Rgb downTop = hex(0xE5B96A);
inline constexpr Rgb downBottom = hex(0xF6DDA6);
inline constexpr Rgb buttonEdge = hex(0x062A33);

// Tile plates, one family per kind.
inline constexpr Rgb plainTop = hex(0x3AA7A1);
inline constexpr Rgb plainBottom = hex(0x1E7474);
inline constexpr Rgb fixedTop = hex(0x6A7580);
inline constexpr Rgb fixedBottom = hex(0x3B444E);
inline constexpr Rgb slideTop = hex(0xEBCB8E);
inline constexpr Rgb slideBottom = hex(0xC0935A);
inline constexpr Rgb linkTop = hex(0x8C8FD6);
inline constexpr Rgb linkBottom = hex(0x5458A3);
inline constexpr Rgb bombTop = hex(0x2D4168);
inline constexpr Rgb bombBottom = hex(0x17223D);

// The lines every tile carries.
inline constexpr Rgb lineFill = hex(0xFBF3DC);
inline constexpr Rgb lineEdge = hex(0x0A2A33);

// Metal parts: bolts, chains, the mine's horns.
inline constexpr Rgb steelLight = hex(0xE4E9EE);
inline constexpr Rgb steelDark = hex(0x6F7A86);

// The sea mine and everything that explodes.
inline constexpr Rgb coral = hex(0xE8694A);
inline constexpr Rgb coralDark = hex(0x9C3A27);
inline constexpr Rgb flash = hex(0xFFF6C8);
inline constexpr Rgb flame = hex(0xFFB347);
inline constexpr Rgb spray = hex(0xD8F4F2);
inline constexpr Rgb sprayDeep = hex(0x5EC3C9);

// The allowance meter: a rising tide.
inline constexpr Rgb tideTop = hex(0x9FF0E1);
inline constexpr Rgb tideBottom = hex(0x1F9C97);
inline constexpr Rgb grooveDark = hex(0x041A21);

// Palette pictures are transparent wherever they hold this colour; nothing else uses it.
inline constexpr unsigned char keyRed = 255, keyGreen = 0, keyBlue = 255;

}  // namespace colours
