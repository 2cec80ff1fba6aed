// The schema added to a person's default.custom.yaml in every shape people
// write it: only the list changes, their comments and other keys stay, and
// what cannot be edited that way is refused. Expected texts written by hand.
#include <gtest/gtest.h>

#include "tools/navomb/schema_list.h"

namespace navo::testing {
namespace {

const std::vector<std::string> Shipped = {"luna_pinyin", "stroke"};

TEST(SchemaListTest, AddsTheSchemaKeepingEverythingElse) {
  const struct {
    const char* shape;
    const char* before;
    const char* after;
  } cases[] = {
      {"no file: the shipped list and ours", "",
       "patch:\n  schema_list:\n    - schema: luna_pinyin\n    - schema: stroke\n"
       "    - schema: navo\n"},
      {"comments only, kept", "# my settings\n",
       "# my settings\npatch:\n  schema_list:\n    - schema: luna_pinyin\n"
       "    - schema: stroke\n    - schema: navo\n"},
      {"other keys, no patch: appended",
       "customization:\n  distribution_code_name: Weasel # here\n",
       "customization:\n  distribution_code_name: Weasel # here\npatch:\n  schema_list:\n"
       "    - schema: luna_pinyin\n    - schema: stroke\n    - schema: navo\n"},
      {"patch without a list, indented by 4",
       "patch:\n    # paging\n    menu/page_size: 9\nend: 1\n",
       "patch:\n    schema_list:\n      - schema: luna_pinyin\n      - schema: stroke\n"
       "      - schema: navo\n    # paging\n    menu/page_size: 9\nend: 1\n"},
      {"an empty patch", "patch: # nothing yet\n",
       "patch: # nothing yet\n  schema_list:\n    - schema: luna_pinyin\n"
       "    - schema: stroke\n    - schema: navo\n"},
      {"block list: after the last item, before the comment that follows",
       "patch:\n  schema_list:\n    - schema: cangjie5   # mine\n    - schema: wubi86\n"
       "  # keys\n  key_binder/bindings: []\n",
       "patch:\n  schema_list:\n    - schema: cangjie5   # mine\n    - schema: wubi86\n"
       "    - schema: navo\n  # keys\n  key_binder/bindings: []\n"},
      {"block list, dashes at the key's indent, an item of two lines",
       "patch:\n  schema_list:\n  - schema: wubi86\n    extra: 1\n\nother: x\n",
       "patch:\n  schema_list:\n  - schema: wubi86\n    extra: 1\n  - schema: navo\n\nother: x\n"},
      {"flow list", "patch:\n  schema_list: [ {schema: wubi86}, {schema: \"a]b\"} ]  # two\n",
       "patch:\n  schema_list: [ {schema: wubi86}, {schema: \"a]b\"}, {schema: navo} ]  # two\n"},
      {"flow list over lines",
       "patch:\n  schema_list: [\n    {schema: wubi86},\n    {schema: cangjie5}\n  ]\n",
       "patch:\n  schema_list: [\n    {schema: wubi86},\n    {schema: cangjie5}, {schema: navo}\n"
       "  ]\n"},
      {"an empty flow list: ours only", "patch:\n  schema_list: []\n",
       "patch:\n  schema_list: [{schema: navo}]\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shape);
    const SchemaListEdit edit = AddToSchemaList(c.before, Shipped, "navo");
    EXPECT_EQ(edit.outcome, SchemaListEdit::Changed) << edit.message;
    EXPECT_EQ(edit.text, c.after);
    // Done once: a second edit finds it.
    EXPECT_EQ(AddToSchemaList(edit.text, Shipped, "navo").outcome, SchemaListEdit::Unchanged);
  }
}

TEST(SchemaListTest, RefusesWhatItCannotEditWithoutTouchingMore) {
  const struct {
    const char* shape;
    const char* text;
  } cases[] = {
      {"not YAML", "patch: [\n"},
      {"a list at the top", "- schema: x\n"},
      {"a list that is no list", "patch:\n  schema_list: wubi86\n"},
      {"a patch written as a flow mapping", "patch: {menu/page_size: 9}\n"},
      {"a patch given as null", "patch: ~\n"},
      {"two documents", "patch:\n  schema_list: [{schema: x}]\n---\nother: 1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shape);
    const SchemaListEdit edit = AddToSchemaList(c.text, Shipped, "navo");
    EXPECT_EQ(edit.outcome, SchemaListEdit::Refused);
    EXPECT_EQ(edit.text, "");
    EXPECT_NE(edit.message, "");
  }
}

TEST(SchemaListTest, ReadsTheShippedList) {
  EXPECT_EQ(DefaultSchemaList("config_version: '0.40'\nschema_list:\n  - schema: luna_pinyin\n"
                              "  - {schema: stroke}\nmenu:\n  page_size: 5\n"),
            Shipped);
  EXPECT_EQ(DefaultSchemaList("menu: {}\n"), std::vector<std::string>{});
  EXPECT_EQ(DefaultSchemaList("schema_list: [\n"), std::vector<std::string>{});
}

}  // namespace
}  // namespace navo::testing
