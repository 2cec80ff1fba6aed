// Types codes into librime and prints the menu each gets, through Rime's C
// API as a front end does: set up with the given folders, select the schema,
// simulate the keys, read every candidate.
//
// Usage: rime_menu USER_DIR SCHEMA_ID < codes    (staging: USER_DIR/build)
// Prints CODE<TAB>candidates separated by spaces, one line a code.
#include <rime_api.h>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rime_menu USER_DIR SCHEMA_ID < codes\n");
    return 2;
  }
  const std::string staging = std::string(argv[1]) + "/build";
  RIME_STRUCT(RimeTraits, traits);
  traits.shared_data_dir = argv[1];
  traits.user_data_dir = argv[1];
  traits.staging_dir = staging.c_str();
  traits.prebuilt_data_dir = staging.c_str();
  traits.distribution_name = "navo-test";
  traits.distribution_code_name = "navo-test";
  traits.distribution_version = "1";
  traits.app_name = "rime.navo-test";
  traits.min_log_level = 2;  // errors only
  RimeSetup(&traits);
  RimeInitialize(&traits);

  int status = 0;
  const RimeSessionId session = RimeCreateSession();
  if (!session || !RimeSelectSchema(session, argv[2])) {
    std::fprintf(stderr, "rime_menu: cannot select schema %s\n", argv[2]);
    status = 1;
  }
  std::string code;
  while (status == 0 && std::getline(std::cin, code)) {
    RimeClearComposition(session);
    if (!RimeSimulateKeySequence(session, code.c_str())) {
      std::fprintf(stderr, "rime_menu: keys %s not taken\n", code.c_str());
      status = 1;
      break;
    }
    std::string line = code + "\t";
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
    std::cout << line << '\n';
  }
  if (session) RimeDestroySession(session);
  RimeFinalize();
  return status;
}
