// Rime's list of schemas in a person's default.custom.yaml, with one schema
// added by the smallest edit of their text: their comments, other keys and
// layout stay as they wrote them.
#pragma once

#include <string>
#include <vector>

namespace navo {

// The schema ids of "schema_list:" in a default.yaml (the list a person sees
// without one of their own); empty when the text has none or is no YAML.
std::vector<std::string> DefaultSchemaList(const std::string& defaultYaml);

struct SchemaListEdit {
  enum Outcome { Unchanged, Changed, Refused } outcome = Refused;
  std::string text;     // the file's new text, when Changed
  std::string message;  // what was done, or why not
};

// Adds "- schema: NAME" to patch/schema_list of CUSTOM (the text of a
// default.custom.yaml; empty when there is none). Where the person has no
// list of their own, the list starts with DEFAULT_LIST, as Rime shows it to
// them today. A shape this edit cannot keep exactly is refused.
SchemaListEdit AddToSchemaList(const std::string& custom, const std::vector<std::string>& defaultList,
                               const std::string& name);

}  // namespace navo
