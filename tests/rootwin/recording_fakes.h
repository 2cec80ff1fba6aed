// Recording stand-ins for the root chart window's platform: each call is
// written to one shared log, in order, as a short line ("SetDragFlags 1",
// "Invert 10 20 30 1"), so that a test can compare exact calls and order.
#pragma once

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "rootwin/platform.h"

namespace navo::rootwin::testing {

using Log = std::vector<std::string>;

// Logs a call without arguments and gives the answer the fake holds for it.
template <typename T>
T Answer(Log& log, const char* call, T answer) {
  log.push_back(call);
  return answer;
}

inline std::string Join(const std::string& name, std::initializer_list<long long> values) {
  std::string line = name;
  for (long long v : values) line += " " + std::to_string(v);
  return line;
}

// A wide text as a log line shows it: ASCII as it is, any other character
// as \u followed by four hex digits, so that a test sees exactly what was
// passed.
inline std::string Narrow(const wchar_t* text) {
  std::string line;
  for (; *text != L'\0'; ++text) {
    const unsigned long unit = static_cast<unsigned long>(*text);
    if (unit >= 0x20 && unit < 0x7F) {
      line += static_cast<char>(unit);
    } else {
      char escaped[24];
      std::snprintf(escaped, sizeof escaped, "\\u%04lX", unit);
      line += escaped;
    }
  }
  return line;
}

inline std::string Access(KeyAccess access) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%05X", static_cast<unsigned>(access));
  return hex;
}

inline std::string Show(ShowCommand command) {
  return command == ShowCommand::Normal ? "Show normal" : "Show noactivate";
}

// Keys are numbered from 10 in the order they are opened, and logged with
// the access asked for in hex ("OpenMachineKey Software 2001D"); values are
// raw bytes by "path\\name". As on Windows, a subkey that is not there yet
// is created only through a parent opened with KeyCreateSubKey.
class RecordingRegistry final : public Registry {
 public:
  explicit RecordingRegistry(Log& log) : log_(log) {}

  std::map<std::string, std::string> values;  // "Software\\Kvel\\RootPosition" -> bytes
  bool keyExists = true;                      // "Software\\Kvel" is there
  bool softwareOpens = true;
  bool subKeyCreates = true;

  void SetPosition(const std::string& bytes) { values["Software\\Kvel\\RootPosition"] = bytes; }
  static std::string Dword(uint32_t value) {
    return std::string(reinterpret_cast<char*>(&value), 4);
  }

  bool OpenMachineKey(const wchar_t* path, KeyAccess access, Key* key) override {
    const bool ok = Narrow(path) == "Software" ? softwareOpens : keyExists;
    log_.push_back("OpenMachineKey " + Narrow(path) + " " + Access(access) + (ok ? "" : " failed"));
    if (ok) *key = Opened(Narrow(path), access);
    return ok;
  }
  bool QueryValue(Key key, const wchar_t* name, void* data, uint32_t* size) override {
    log_.push_back(Join("QueryValue " + Narrow(name), {static_cast<long long>(key), *size}));
    auto found = values.find(paths_[key] + "\\" + Narrow(name));
    if (found == values.end() || found->second.size() > *size) return false;
    std::memcpy(data, found->second.data(), found->second.size());
    *size = static_cast<uint32_t>(found->second.size());
    return true;
  }
  bool CreateSubKey(Key parent, const wchar_t* name, KeyAccess access, Key* key) override {
    const bool ok = subKeyCreates && (keyExists || (access_[parent] & KeyCreateSubKey) != 0);
    log_.push_back(Join("CreateSubKey " + Narrow(name), {static_cast<long long>(parent)}) + " " +
                   Access(access) + (ok ? "" : " failed"));
    if (!ok) return false;
    keyExists = true;
    *key = Opened(paths_[parent] + "\\" + Narrow(name), access);
    return true;
  }
  void SetDwordValue(Key key, const wchar_t* name, uint32_t value) override {
    log_.push_back(Join("SetDwordValue " + Narrow(name), {static_cast<long long>(key), value}));
    values[paths_[key] + "\\" + Narrow(name)] = Dword(value);
  }
  void CloseKey(Key key) override {
    log_.push_back(Join("CloseKey", {static_cast<long long>(key)}));
  }

 private:
  Key Opened(const std::string& path, KeyAccess access) {
    const Key key = next_++;
    paths_[key] = path;
    access_[key] = access;
    return key;
  }
  Log& log_;
  Key next_ = 10;
  std::map<Key, std::string> paths_;
  std::map<Key, KeyAccess> access_;
};

// The window for the chart handlers and for the drag: a rectangle, the
// DragFlags in its extra storage, a cursor position and a work area.
class RecordingWindow final : public ChartWindow, public DragWindow {
 public:
  explicit RecordingWindow(Log& log) : log_(log) {}

  Rect outer = {430, 522, 1024, 768};
  Rect workArea = {0, 0, 1024, 768};
  Point cursor = {0, 0};
  uint32_t flags = 0;
  int dpi = 96;
  Size client = {588, 240};

  void InvalidateClient() override { log_.push_back("InvalidateClient"); }
  void Show(ShowCommand command) override { log_.push_back(testing::Show(command)); }
  void Update() override { log_.push_back("Update"); }
  void PostQuit(int exitCode) override { log_.push_back(Join("PostQuit", {exitCode})); }
  Rect OuterRect() override { return Answer(log_, "OuterRect", outer); }
  // Queries with no effect: not logged.
  int Dpi() override { return dpi; }
  Size ClientSize() override { return client; }
  void Place(const Rect& r) override {
    log_.push_back(Join("Place", {r.left, r.top, r.right, r.bottom}));
    outer = r;
  }

  Rect WorkArea() override { return Answer(log_, "WorkArea", workArea); }
  void TakeCapture() override { log_.push_back("TakeCapture"); }
  void ReleaseCapture() override { log_.push_back("ReleaseCapture"); }
  Point CursorPosition() override { return Answer(log_, "CursorPosition", cursor); }
  uint32_t DragFlags() override { return Answer(log_, "DragFlags", flags); }
  void SetDragFlags(uint32_t value) override {
    log_.push_back(Join("SetDragFlags", {value}));
    flags = value;
  }
  void StartTimer(unsigned id, unsigned milliseconds) override {
    log_.push_back(Join("StartTimer", {id, milliseconds}));
  }
  void StopTimer(unsigned id) override { log_.push_back(Join("StopTimer", {id})); }
  void SetDragCursor() override { log_.push_back("SetDragCursor"); }
  void Move(Point corner, Size size) override {
    log_.push_back(Join("Move", {corner.x, corner.y, size.w, size.h}));
    outer = {corner.x, corner.y, corner.x + size.w, corner.y + size.h};
  }

 private:
  Log& log_;
};

class RecordingCanvas final : public ChartCanvas {
 public:
  explicit RecordingCanvas(Log& log) : log_(log) {}
  void BeginPaint() override { log_.push_back("BeginPaint"); }
  void CopyBitmap(int bitmapId, Size block) override {
    log_.push_back(Join("CopyBitmap", {bitmapId, block.w, block.h}));
  }
  void StretchBitmap(int bitmapId, Size source, Size destination) override {
    log_.push_back(
        Join("StretchBitmap", {bitmapId, source.w, source.h, destination.w, destination.h}));
  }
  void FillWithWindowColour(const Rect& r) override {
    log_.push_back(Join("FillWithWindowColour", {r.left, r.top, r.right, r.bottom}));
  }
  void EndPaint() override { log_.push_back("EndPaint"); }

 private:
  Log& log_;
};

class RecordingScreen final : public ScreenDevice {
 public:
  explicit RecordingScreen(Log& log) : log_(log) {}
  int borderWidth = 1;
  int borderHeight = 1;

  void Open() override { log_.push_back("Open DISPLAY"); }
  void SelectGrayBrush() override { log_.push_back("SelectGrayBrush"); }
  int BorderWidth() override { return Answer(log_, "BorderWidth", borderWidth); }
  int BorderHeight() override { return Answer(log_, "BorderHeight", borderHeight); }
  void InvertPattern(int32_t x, int32_t y, int32_t width, int32_t height) override {
    log_.push_back(Join("Invert", {x, y, width, height}));
  }
  void Close() override { log_.push_back("Close DISPLAY"); }

 private:
  Log& log_;
};

// The calls of one DrawDragOutline with 1-pixel bars: the four Invert
// lines, as the test works them out, between the screen's set-up and close.
inline Log OutlineCalls(std::initializer_list<const char*> bars) {
  Log calls = {"Open DISPLAY", "SelectGrayBrush", "BorderWidth", "BorderHeight"};
  calls.insert(calls.end(), bars.begin(), bars.end());
  calls.push_back("Close DISPLAY");
  return calls;
}

inline Log Concat(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace navo::rootwin::testing
