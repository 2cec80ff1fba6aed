// Types codes into librime and prints the menu each gets, through Rime's C
// API as a front end does: set up with the given folders, select the schema,
// simulate the keys, read every candidate.
//
// Usage: rime_menu USER_DIR SCHEMA_ID [SHARED_DIR] < codes
//        rime_menu --session USER_DIR SCHEMA_ID [SHARED_DIR] < key sequences
// Staging is USER_DIR/build; prebuilt dictionaries are read from
// SHARED_DIR/build (SHARED_DIR is USER_DIR when not given).
// Prints CODE<TAB>candidates separated by spaces, one line a code. With
// --session each line is a key sequence in librime's notation ("{Shift_L}",
// "{Release+Shift_L}", "=") typed into a fresh composition in Chinese mode,
// and the line printed is
//   KEYS<TAB>committed text<TAB>ascii_mode 0|1<TAB>page number<TAB>the page,
// the page's candidates as "text" or "text (comment)" separated by " | ".
#include <rime_api.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

std::string CurrentPage(RimeSessionId session, int* pageNumber) {
  std::string page;
  *pageNumber = -1;
  RIME_STRUCT(RimeContext, context);
  if (!RimeGetContext(session, &context)) return page;
  *pageNumber = context.menu.page_no;
  for (int i = 0; i < context.menu.num_candidates; ++i) {
    const RimeCandidate& c = context.menu.candidates[i];
    if (i) page += " | ";
    page += c.text;
    if (c.comment && *c.comment) page += std::string(" (") + c.comment + ")";
  }
  RimeFreeContext(&context);
  return page;
}

std::string TakeCommit(RimeSessionId session) {
  std::string text;
  RIME_STRUCT(RimeCommit, commit);
  if (RimeGetCommit(session, &commit)) {
    if (commit.text) text = commit.text;
    RimeFreeCommit(&commit);
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const bool sessionMode = argc > 1 && std::strcmp(argv[1], "--session") == 0;
  const int first = sessionMode ? 2 : 1;
  if (argc - first != 2 && argc - first != 3) {
    std::fprintf(stderr, "usage: rime_menu [--session] USER_DIR SCHEMA_ID [SHARED_DIR] < codes\n");
    return 2;
  }
  const char* userDir = argv[first];
  const char* schema = argv[first + 1];
  const char* sharedDir = argc - first == 3 ? argv[first + 2] : userDir;
  const std::string staging = std::string(userDir) + "/build";
  const std::string prebuilt = std::string(sharedDir) + "/build";
  RIME_STRUCT(RimeTraits, traits);
  traits.shared_data_dir = sharedDir;
  traits.user_data_dir = userDir;
  traits.staging_dir = staging.c_str();
  traits.prebuilt_data_dir = prebuilt.c_str();
  traits.distribution_name = "navo-test";
  traits.distribution_code_name = "navo-test";
  traits.distribution_version = "1";
  traits.app_name = "rime.navo-test";
  traits.min_log_level = 2;  // errors only
  RimeSetup(&traits);
  RimeInitialize(&traits);

  int status = 0;
  const RimeSessionId session = RimeCreateSession();
  if (!session || !RimeSelectSchema(session, schema)) {
    std::fprintf(stderr, "rime_menu: cannot select schema %s\n", schema);
    status = 1;
  }
  std::string keys;
  while (status == 0 && std::getline(std::cin, keys)) {
    RimeClearComposition(session);
    RimeSetOption(session, "ascii_mode", False);
    TakeCommit(session);
    if (!RimeSimulateKeySequence(session, keys.c_str())) {
      std::fprintf(stderr, "rime_menu: keys %s not taken\n", keys.c_str());
      status = 1;
      break;
    }
    std::string line = keys + "\t";
    if (sessionMode) {
      int pageNumber;
      const std::string page = CurrentPage(session, &pageNumber);
      line += TakeCommit(session) + "\t" +
              (RimeGetOption(session, "ascii_mode") ? "1" : "0") + "\t" +
              std::to_string(pageNumber) + "\t" + page;
    } else {
      RimeCandidateListIterator iterator = {};
      if (RimeCandidateListBegin(session, &iterator)) {
        const char* separator = "";
        while (RimeCandidateListNext(&iterator)) {
          line += separator;
          line += iterator.candidate.text;
          separator = " ";
        }
        RimeCandidateListEnd(&iterator);
      }
    }
    std::cout << line << '\n';
  }
  if (session) RimeDestroySession(session);
  RimeFinalize();
  return status;
}
