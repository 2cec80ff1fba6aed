// The window's position saved in and read from the registry.
#include "rootwin/saved_position.h"

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

Point DefaultPosition(const Rect& workArea) {
  return {workArea.right - WindowWidth, workArea.bottom - WindowHeight};
}

Point BoundPosition(Point corner, const Rect& workArea) {
  if (workArea.right - corner.x < WindowWidth) corner.x = workArea.right - WindowWidth;
  if (workArea.bottom - corner.y < WindowHeight) corner.y = workArea.bottom - WindowHeight;
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

bool WindowMeetsScreen(Point corner, const Rect& virtualScreen) {
  if (virtualScreen.right <= virtualScreen.left || virtualScreen.bottom <= virtualScreen.top)
    return true;
  return corner.x < virtualScreen.right && corner.x + WindowWidth > virtualScreen.left &&
         corner.y < virtualScreen.bottom && corner.y + WindowHeight > virtualScreen.top;
}

// A corner saved on a monitor that is gone, or a damaged value, would put
// the window where it can never be seen or dragged back; the whole virtual
// screen is the test, so that a monitor left of or above the primary one
// keeps its windows. Partly on screen, the corner is kept as it was.
Point StartPosition(bool saved, Point savedCorner, const Rect& workArea,
                    const Rect& virtualScreen) {
  const bool usable = saved && WindowMeetsScreen(savedCorner, virtualScreen);
  return BoundPosition(usable ? savedCorner : DefaultPosition(workArea), workArea);
}

}  // namespace navo::rootwin
