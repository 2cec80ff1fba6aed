// A table put where a person's Rime or fcitx5 front end reads it: their
// folders found, the files written (never one navomb did not write), the
// schema added to their list, the engine's own tools run; and the bundles
// that phones import.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/navomb/engine_tables.h"

namespace navo {

// The folders the front ends read, from HOME, XDG_DATA_HOME and
// XDG_CONFIG_HOME: fcitx5-rime's and ibus-rime's Rime user folders, and
// fcitx5's data folder (its table/ and inputmethod/). Only those that
// exist, each with the front end's name.
struct FrontEndFolder {
  std::string frontEnd;
  std::string path;
};
std::vector<FrontEndFolder> RimeUserFolders();
std::vector<FrontEndFolder> Fcitx5DataFolders();
// Where they were looked for, to say so when none is there.
std::string FoldersLookedAt(bool rime);

// What an install or a bundle is made of.
struct EngineFiles {
  std::string name;
  std::vector<std::pair<std::string, std::string>> files;  // relative path, bytes
};
EngineFiles RimeFiles(const ExportTable& table, const std::string& name,
                      const EngineExportOptions& options);
// The .conf and the table compiled by libime_tabledict (false, with the
// reason in *error, when it cannot be).
bool Fcitx5Files(const ExportTable& table, const std::string& name,
                 const EngineExportOptions& options, EngineFiles* files, std::string* error);

// Installs into one folder, printing a line for each thing done or left;
// false when something was refused or failed (nothing is written when a
// file is refused).
bool InstallRime(const EngineFiles& files, const std::string& userDir);
bool InstallFcitx5(const EngineFiles& files, const std::string& dataDir);

// The file a bundle holds to say how the schema joins the person's list.
std::string RimeBundleReadme(const std::string& name);

// A zip of the files (stored in the given order, with a fixed date, so the
// same files give the same bytes).
bool WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& files,
              std::string* error);

}  // namespace navo
