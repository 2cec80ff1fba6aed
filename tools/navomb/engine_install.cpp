// Installing a table for Rime and fcitx5, and the phones' bundles.
#include "tools/navomb/engine_install.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/navomb/schema_list.h"

extern char** environ;

namespace navo {

namespace fs = std::filesystem;

namespace {

// Debian's shared Rime folder, as its front ends use it.
constexpr char RimeSharedDir[] = "/usr/share/rime-data";

// An XDG folder: the variable when it holds an absolute path, else HOME's default.
std::string XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/" + fallback;
}

std::vector<FrontEndFolder> Candidates(bool rime) {
  const std::string data = XdgFolder("XDG_DATA_HOME", ".local/share");
  const std::string config = XdgFolder("XDG_CONFIG_HOME", ".config");
  if (rime) return {{"fcitx5-rime", data + "/fcitx5/rime"}, {"ibus-rime", config + "/ibus/rime"}};
  return {{"fcitx5", data + "/fcitx5"}};
}

bool ReadFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *bytes = all.str();
  return !in.bad();
}

bool IsOurs(const std::string& bytes) {
  const std::string head = bytes.substr(0, bytes.find('\n', bytes.find('\n') + 1));
  return head.find(WrittenByNavomb) != std::string::npos;
}

// A program on PATH, or "".
std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

// Runs a program with its output sent to LOG; its exit status, or -1.
int Run(const std::vector<std::string>& arguments, const std::string& log) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t child;
  int status = -1;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
      waitpid(child, &status, 0) == child)
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  else
    status = -1;
  posix_spawn_file_actions_destroy(&actions);
  return status;
}

// A file to write: its new bytes, what is there now and whether it may be replaced.
struct Placement {
  std::string path, bytes, existing;
  bool exists = false, mayReplace = false;
  bool Changes() const { return !exists || existing != bytes; }
};

Placement Plan(const std::string& path, const std::string& bytes) {
  Placement p{path, bytes, "", false, false};
  p.exists = ReadFile(path, &p.existing);
  p.mayReplace = p.exists && IsOurs(p.existing);
  return p;
}

bool Refused(const Placement& p) {
  if (!p.Changes() || !p.exists || p.mayReplace) return false;
  std::printf("  refused    %s: not written by navomb (no \"%s\" line); left as it is — "
              "move it away or choose another --name\n",
              p.path.c_str(), WrittenByNavomb);
  return true;
}

// Written whole or not at all; a person's file is EDITED, not replaced.
bool Put(const Placement& p, const char* edited = "replaced") {
  if (!p.Changes()) {
    std::printf("  unchanged  %s\n", p.path.c_str());
    return true;
  }
  std::error_code error;
  fs::create_directories(fs::path(p.path).parent_path(), error);
  const std::string temporary = p.path + ".navomb-part";
  std::ofstream out(temporary, std::ios::binary);
  out << p.bytes;
  if (!out.flush() || (out.close(), !out) || std::rename(temporary.c_str(), p.path.c_str()) != 0) {
    std::remove(temporary.c_str());
    std::printf("  FAILED     %s: cannot write it\n", p.path.c_str());
    return false;
  }
  std::printf("  %-10s %s\n", p.exists ? edited : "written", p.path.c_str());
  return true;
}

}  // namespace

std::vector<FrontEndFolder> RimeUserFolders() {
  std::vector<FrontEndFolder> found;
  for (const FrontEndFolder& f : Candidates(true))
    if (fs::is_directory(f.path)) found.push_back(f);
  return found;
}

// fcitx5 is there when its data or its configuration folder is.
std::vector<FrontEndFolder> Fcitx5DataFolders() {
  const std::vector<FrontEndFolder> data = Candidates(false);
  if (fs::is_directory(data[0].path) ||
      fs::is_directory(XdgFolder("XDG_CONFIG_HOME", ".config") + "/fcitx5"))
    return data;
  return {};
}

std::string FoldersLookedAt(bool rime) {
  std::string text;
  for (const FrontEndFolder& f : Candidates(rime))
    text += (text.empty() ? "" : ", ") + f.frontEnd + ": " + f.path;
  return text;
}

EngineFiles RimeFiles(const ExportTable& table, const std::string& name,
                      const EngineExportOptions& options) {
  std::ostringstream dictionary, schema;
  WriteRimeDictionary(table, name, dictionary);
  WriteRimeSchema(name, options, schema);
  return {name, {{name + ".schema.yaml", schema.str()}, {name + ".dict.yaml", dictionary.str()}}};
}

bool Fcitx5Files(const ExportTable& table, const std::string& name,
                 const EngineExportOptions& options, EngineFiles* files, std::string* error) {
  const std::string compiler = FindProgram("libime_tabledict");
  if (compiler.empty()) {
    *error = "libime_tabledict (Debian: libime-bin) is needed to compile the table for fcitx5";
    return false;
  }
  char folder[] = "/tmp/navomb-XXXXXX";
  if (!mkdtemp(folder)) return *error = "cannot make a temporary folder", false;
  const std::string text = std::string(folder) + "/" + name + ".txt";
  const std::string dict = std::string(folder) + "/" + name + ".main.dict";
  const std::string log = std::string(folder) + "/libime_tabledict.log";
  std::ofstream out(text, std::ios::binary);
  WriteFcitx5Table(table, out);
  out.close();
  std::ostringstream conf;
  WriteFcitx5InputMethod(name, options, conf);
  std::string compiled;
  const int status = out ? Run({compiler, text, dict}, log) : -1;
  const bool made = status == 0 && ReadFile(dict, &compiled) && !compiled.empty();
  if (!made) *error = "libime_tabledict failed (status " + std::to_string(status) + ")";
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  *files = {name, {{"inputmethod/" + name + ".conf", conf.str()},
                   {"table/" + name + ".main.dict", compiled}}};
  return made;
}

bool InstallRime(const EngineFiles& files, const std::string& userDir) {
  std::vector<Placement> plan;
  for (const auto& [file, bytes] : files.files) plan.push_back(Plan(userDir + "/" + file, bytes));

  // The person's list, or the one they see today, with ours added.
  const std::string customPath = userDir + "/default.custom.yaml";
  std::string custom, defaults;
  const bool hasCustom = ReadFile(customPath, &custom);
  if (!ReadFile(userDir + "/default.yaml", &defaults))
    ReadFile(std::string(RimeSharedDir) + "/default.yaml", &defaults);
  const SchemaListEdit edit = AddToSchemaList(custom, DefaultSchemaList(defaults), files.name);

  bool refused = false;
  for (const Placement& p : plan) refused = Refused(p) || refused;
  if (edit.outcome == SchemaListEdit::Refused) {
    std::printf("  refused    %s %s: add \"- schema: %s\" under patch: schema_list: yourself\n",
                customPath.c_str(), edit.message.c_str(), files.name.c_str());
    refused = true;
  }
  if (refused) {
    std::printf("  nothing written in %s\n", userDir.c_str());
    return false;
  }
  bool changed = false, sound = true;
  for (const Placement& p : plan) {
    changed = changed || p.Changes();
    sound = Put(p) && sound;
  }
  if (edit.outcome == SchemaListEdit::Changed) {
    Placement list{customPath, edit.text, custom, hasCustom, true};
    std::printf("  list       %s: %s\n", customPath.c_str(), edit.message.c_str());
    changed = true;
    sound = Put(list, "edited") && sound;
  } else {
    std::printf("  list       %s: unchanged, %s\n", customPath.c_str(), edit.message.c_str());
  }
  if (!sound) return false;

  // Deployed when something changed, or never deployed yet.
  const std::string deployer = FindProgram("rime_deployer");
  const bool built = fs::exists(userDir + "/build/" + files.name + ".table.bin");
  if (deployer.empty()) {
    std::printf("  not deployed: rime_deployer not found; deploy from the front end's menu\n");
  } else if (!changed && built) {
    std::printf("  not deployed again: nothing changed\n");
  } else {
    const std::string log = userDir + "/build/navomb-deploy.log";
    std::error_code ignored;
    fs::create_directories(userDir + "/build", ignored);
    const int status = Run({deployer, "--build", userDir, RimeSharedDir}, log);
    // A schema of the list that this machine lacks fails the whole run: ours
    // is deployed when the deployer says its dictionary is ready.
    std::string said;
    ReadFile(log, &said);
    if (status != 0 && said.find("dictionary '" + files.name + "' is ready") == std::string::npos) {
      std::printf("  deploy FAILED: %s --build %s %s (status %d; its output in %s)\n",
                  deployer.c_str(), userDir.c_str(), RimeSharedDir, status, log.c_str());
      return false;
    }
    std::printf("  deployed   rime_deployer --build %s %s\n", userDir.c_str(), RimeSharedDir);
    if (status != 0)
      std::printf("  note: rime_deployer failed on other schemas of the list, which this "
                  "machine lacks (status %d; its output in %s)\n", status, log.c_str());
  }
  return true;
}

bool InstallFcitx5(const EngineFiles& files, const std::string& dataDir) {
  // The compiled table holds no marker: it is ours when the .conf beside it is.
  Placement conf = Plan(dataDir + "/" + files.files[0].first, files.files[0].second);
  Placement dict = Plan(dataDir + "/" + files.files[1].first, files.files[1].second);
  dict.mayReplace = dict.exists && conf.exists && conf.mayReplace;
  const bool confRefused = Refused(conf);
  if (Refused(dict) || confRefused) {
    std::printf("  nothing written in %s\n", dataDir.c_str());
    return false;
  }
  const bool sound = Put(dict) && Put(conf);
  if (sound && (conf.Changes() || dict.Changes()))
    std::printf("  restart fcitx5 and add \"%s\" in its input methods\n",
                EngineDisplayName(files.name).c_str());
  return sound;
}

std::string RimeBundleReadme(const std::string& name) {
  std::ostringstream out;
  out << "Navo code table \"" << name << "\" for Rime (" << WrittenByNavomb << ").\n"
      << "\n"
      << name << ".schema.yaml and " << name << ".dict.yaml go into the Rime user folder.\n"
      << "This bundle holds no default.custom.yaml, so your own is never replaced:\n"
      << "add the schema to the list in your default.custom.yaml yourself,\n"
      << "\n"
      << "patch:\n"
      << "  schema_list:\n"
      << "    - schema: " << name << "\n"
      << "\n"
      << "keeping the schemas listed there already (with no such file, make one\n"
      << "listing the schemas you use and " << name << "), then deploy.\n"
      << "The reverse lookup (` then pinyin) needs the pinyin_simp dictionary\n"
      << "(pinyin_simp.dict.yaml) in the same folder or the shared one.\n"
      << "\n"
      << "Trime: copy the files into its rime folder (named in its settings), edit\n"
      << "default.custom.yaml there, then Deploy in Trime's settings.\n"
      << "Hamster: import this zip (its input schema settings), edit\n"
      << "default.custom.yaml in its file manager, then redeploy.\n";
  return out.str();
}

bool WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& files,
              std::string* error) {
  // Replaced whole: libzip writes a temporary file and renames it on close.
  std::remove(path.c_str());
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!archive) {
    zip_error_t e;
    zip_error_init_with_code(&e, code);
    *error = zip_error_strerror(&e);
    zip_error_fini(&e);
    return false;
  }
  constexpr time_t FixedDate = 1577836800;  // 2020-01-01: the same bytes for the same files
  for (const auto& [name, bytes] : files) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    const zip_int64_t index =
        source ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (source) zip_source_free(source);
      *error = zip_strerror(archive);
      zip_discard(archive);
      return false;
    }
    zip_file_set_mtime(archive, zip_uint64_t(index), FixedDate, 0);
    zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                     zip_uint32_t(0100644) << 16);
  }
  if (zip_close(archive) != 0) {
    *error = zip_strerror(archive);
    zip_discard(archive);
    return false;
  }
  return true;
}

}  // namespace navo
