// The window's position saved in and read from the registry.
#include "rootwin/saved_position.h"

#include "common/display_scale.h"
#include "common/little_endian.h"

namespace navo::rootwin {

const wchar_t* const PositionKeyPath = L"Software\\Kvel";
const wchar_t* const SoftwareKeyPath = L"Software";
const wchar_t* const MakerKeyName = L"Kvel";
const wchar_t* const PositionValueName = L"RootPosition";

Point DecodePosition(uint32_t value) {
  return {static_cast<int16_t>(value & 0xFFFF), static_cast<int16_t>(value >> 16)};
}

uint32_t EncodePosition(Point corner) {
  return (static_cast<uint32_t>(corner.x) & 0xFFFF) | (static_cast<uint32_t>(corner.y) << 16);
}

Size WindowSizeAt(int dpi) {
  dpi = DpiOrDefault(dpi);
  return {ScaleToDpi(WindowWidth, dpi), ScaleToDpi(WindowHeight, dpi)};
}

Point DefaultPosition(const Rect& workArea, Size size) {
  return {workArea.right - size.w, workArea.bottom - size.h};
}

Point BoundPosition(Point corner, const Rect& workArea, Size size) {
  if (workArea.right - corner.x < size.w) corner.x = workArea.right - size.w;
  if (workArea.bottom - corner.y < size.h) corner.y = workArea.bottom - size.h;
  return corner;
}

bool ReadSavedPosition(Registry& registry, Point* corner) {
  Registry::Key key;
  if (!registry.OpenMachineKey(PositionKeyPath, KeyRead, &key)) return false;
  unsigned char data[4] = {};
  uint32_t size = sizeof data;
  const bool read = registry.QueryValue(key, PositionValueName, data, &size);
  registry.CloseKey(key);
  if (!read || size != sizeof data) return false;
  *corner = DecodePosition(ReadU32Le(data));
  return true;
}

// Windows creates a subkey only through a parent handle opened with
// create-subkey access; read access alone would never make Kvel, and so
// never save a position where Kvel is not there yet.
void SavePosition(Registry& registry, Point corner) {
  Registry::Key software;
  if (!registry.OpenMachineKey(SoftwareKeyPath, KeyRead | KeyCreateSubKey, &software)) return;
  Registry::Key maker;
  if (registry.CreateSubKey(software, MakerKeyName, KeyAllAccess, &maker)) {
    registry.SetDwordValue(maker, PositionValueName, EncodePosition(corner));
    registry.CloseKey(maker);
  }
  registry.CloseKey(software);
}

bool WindowMeetsScreen(Point corner, Size size, const Rect& virtualScreen) {
  if (virtualScreen.right <= virtualScreen.left || virtualScreen.bottom <= virtualScreen.top)
    return true;
  return corner.x < virtualScreen.right && corner.x + size.w > virtualScreen.left &&
         corner.y < virtualScreen.bottom && corner.y + size.h > virtualScreen.top;
}

// A corner saved on a monitor that is gone, or a damaged value, would put
// the window where it can never be seen or dragged back; the whole virtual
// screen is the test, so that a monitor left of or above the primary one
// keeps its windows. Partly on screen, the corner is kept as it was.
Point StartPosition(bool saved, Point savedCorner, const Rect& workArea,
                    const Rect& virtualScreen, Size size) {
  const bool usable = saved && WindowMeetsScreen(savedCorner, size, virtualScreen);
  return BoundPosition(usable ? savedCorner : DefaultPosition(workArea, size), workArea, size);
}

}  // namespace navo::rootwin
