// Where nvcodefind looks for its table when no --table names one.
#include "tools/nvcodefind/table_search.h"

#include <gtest/gtest.h>

#include <set>

namespace navo::testing {
namespace {

TEST(TableSearchTest, VariableThenUsersDataThenInstalledBesideTheProgram) {
  const std::string user = "/home/u/.local/share/navo/navo.mb";
  const std::string xdg = "/data/navo/navo.mb";
  const std::string installed = "/opt/navo/share/navo/navo.mb";
  const struct {
    const char* name;
    const char* navoTable;
    const char* xdgDataHome;
    std::set<std::string> present;
    std::string found;
    std::vector<std::string> looked;
  } cases[] = {
      {"variable, even when missing", "/t/my.mb", "/data", {user, installed}, "/t/my.mb",
       {"/t/my.mb"}},
      {"empty variable is unset", "", nullptr, {installed}, installed, {user, installed}},
      {"user's table before the installed one", nullptr, nullptr, {user, installed}, user,
       {user, installed}},
      {"XDG_DATA_HOME instead of ~/.local/share", nullptr, "/data", {user, xdg}, xdg,
       {xdg, installed}},
      {"relative XDG_DATA_HOME ignored", nullptr, "data", {user}, user, {user, installed}},
      {"installed table", nullptr, nullptr, {installed}, installed, {user, installed}},
      {"none", nullptr, nullptr, {}, "", {user, installed}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TableSearchPlaces places;
    places.navoTable = c.navoTable;
    places.xdgDataHome = c.xdgDataHome;
    places.home = "/home/u";
    places.executable = "/opt/navo/bin/nvcodefind";
    places.exists = [&](const std::string& path) { return c.present.count(path) > 0; };
    const TableSearchResult result = FindTable(places);
    EXPECT_EQ(result.path, c.found);
    EXPECT_EQ(result.looked, c.looked);
  }
}

}  // namespace
}  // namespace navo::testing
