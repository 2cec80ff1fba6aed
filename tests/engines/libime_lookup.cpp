// Looks codes up in a table dictionary that libime_tabledict compiled, as
// fcitx5's table engine does with OrderPolicy=No and ExactMatch=True: the
// entries of exactly that code, in the order of the table text's lines.
// With --generate, gives instead the code libime's rule makes for each word.
//
// Usage: libime_lookup DICT < codes              CODE<TAB>words separated by spaces
//        libime_lookup DICT --generate < words   WORD<TAB>code (empty: none)
//        libime_lookup --key-names < names       NAME<TAB>the key's character as
//                                                 fcitx5 reads a .conf key (empty: none)
#include <fcitx-utils/key.h>
#include <libime/table/tablebaseddictionary.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--key-names") == 0) {
    std::string name;
    while (std::getline(std::cin, name)) {
      const fcitx::Key key(name);
      std::cout << name << '\t' << (key.isValid() ? fcitx::Key::keySymToUTF8(key.sym()) : "")
                << '\n';
    }
    return 0;
  }
  const bool generate = argc == 3 && std::strcmp(argv[2], "--generate") == 0;
  if (argc != 2 && !generate) {
    std::fprintf(stderr, "usage: libime_lookup DICT [--generate]\n");
    return 2;
  }
  libime::TableBasedDictionary dictionary;
  try {
    dictionary.load(argv[1], libime::TableFormat::Binary);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "libime_lookup: cannot load %s: %s\n", argv[1], e.what());
    return 1;
  }
  std::string input;
  while (std::getline(std::cin, input)) {
    std::string line = input + "\t";
    if (generate) {
      std::string code;
      if (dictionary.generate(input, code)) line += code;
    } else {
      std::vector<std::pair<uint32_t, std::string>> words;
      dictionary.matchWords(input, libime::TableMatchMode::Exact,
                            [&](std::string_view, std::string_view word, uint32_t index,
                                libime::PhraseFlag flag) {
                              if (flag == libime::PhraseFlag::None)
                                words.emplace_back(index, std::string(word));
                              return true;
                            });
      std::stable_sort(words.begin(), words.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      for (size_t i = 0; i < words.size(); ++i) line += (i ? " " : "") + words[i].second;
    }
    std::cout << line << '\n';
  }
  return 0;
}
