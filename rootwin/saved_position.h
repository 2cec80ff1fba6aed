// Where the window starts: the position kept in the registry value
// RootPosition (unless the window there would be wholly off the screen), or
// the bottom-right corner of the work area, kept inside the work area on the
// right and at the bottom only.
#pragma once

#include <cstdint>

#include "rootwin/geometry.h"
#include "rootwin/platform.h"

namespace navo::rootwin {

constexpr int32_t WindowWidth = 594;  // outer size at 96 DPI
constexpr int32_t WindowHeight = 246;
constexpr Size WindowSize = {WindowWidth, WindowHeight};

// The outer size on a display of dpi: 594 x 246 at its scale. Every rule
// below takes the window's size at the scale, in the physical pixels that
// the saved position and the work area are in.
Size WindowSizeAt(int dpi);

extern const wchar_t* const PositionKeyPath;    // "Software\Kvel", read at start
extern const wchar_t* const SoftwareKeyPath;    // "Software", opened to write
extern const wchar_t* const MakerKeyName;       // "Kvel", its subkey
extern const wchar_t* const PositionValueName;  // "RootPosition"

// x in the low and y in the high 16 bits of the stored value, each signed.
Point DecodePosition(uint32_t value);
uint32_t EncodePosition(Point corner);

Point DefaultPosition(const Rect& workArea, Size size);

// Pulls a corner back so that the window does not reach past the work
// area's right or bottom edge; a corner left of or above it stays.
Point BoundPosition(Point corner, const Rect& workArea, Size size);

// The saved corner, when the key opens and the value reads as exactly four
// bytes. A shorter value is no saved position: nothing half-read is used.
bool ReadSavedPosition(Registry& registry, Point* corner);

// Writes corner as RootPosition under HKEY_LOCAL_MACHINE\Software\Kvel,
// creating the subkey when needed (Software opened to read and to create
// subkeys); silently nothing when that fails.
void SavePosition(Registry& registry, Point corner);

// True when the window with its corner there would show at least one pixel
// of the virtual screen (right and bottom exclusive). An empty virtual
// screen means the platform could not tell, and counts as on screen.
bool WindowMeetsScreen(Point corner, Size size, const Rect& virtualScreen);

// The saved corner when there is one and the window there meets the
// screen, otherwise the default; then bounded.
Point StartPosition(bool saved, Point savedCorner, const Rect& workArea, const Rect& virtualScreen,
                    Size size);

}  // namespace navo::rootwin
