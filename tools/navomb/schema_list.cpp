// The edit of default.custom.yaml: yaml-cpp reads it and says where the list
// is; the text is changed only there, and the result is read again to prove
// that nothing but the list changed.
#include "tools/navomb/schema_list.h"

#include <yaml-cpp/yaml.h>

#include <sstream>

namespace navo {

namespace {

bool Load(const std::string& text, YAML::Node* node) {
  try {
    *node = YAML::Load(text);
    return true;
  } catch (const YAML::Exception&) {
    return false;
  }
}

YAML::Node Child(const YAML::Node& map, const char* key);

std::vector<std::string> SchemaIds(const YAML::Node& list) {
  std::vector<std::string> ids;
  if (!list.IsDefined() || !list.IsSequence()) return ids;
  for (const YAML::Node& item : list) {
    const YAML::Node id = Child(item, "schema");
    if (id.IsDefined() && id.IsScalar())
      ids.push_back(id.Scalar());
    else
      ids.push_back("");  // kept in place; never ours
  }
  return ids;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// Blank, or only a comment.
bool IsEmptyLine(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos || line[first] == '#';
}

size_t Indent(const std::string& line) { return line.find_first_not_of(' '); }

std::string Item(size_t indent, const std::string& id) {
  return std::string(indent, ' ') + "- schema: " + id;
}

// The value of KEY in MAP, or an undefined node (yaml-cpp's lookup of a
// missing key gives a node that throws when asked anything but whether it is
// defined).
YAML::Node Child(const YAML::Node& map, const char* key) {
  if (map.IsMap())
    for (const auto& entry : map)
      if (entry.first.IsScalar() && entry.first.Scalar() == key) return entry.second;
  return YAML::Node(YAML::NodeType::Undefined);
}

// The key's line in a block mapping, or -1.
int KeyLine(const YAML::Node& map, const char* key) {
  for (const auto& entry : map)
    if (entry.first.IsScalar() && entry.first.Scalar() == key) return entry.first.Mark().line;
  return -1;
}

// After the key's ":" only a comment or nothing (a null written as ~ or null
// would have to be replaced, not extended).
bool NothingAfterKey(const std::string& line) {
  const size_t colon = line.find(':');
  return colon != std::string::npos && IsEmptyLine(line.substr(colon + 1));
}

// Every key's value but patch/schema_list, as yaml-cpp writes it: the same
// before and after a sound edit.
std::string AllButTheList(YAML::Node document) {
  if (!document.IsMap()) return "";
  YAML::Node copy = YAML::Clone(document);
  YAML::Node patch = Child(copy, "patch");
  if (patch.IsDefined() && patch.IsMap()) patch.remove("schema_list");
  if (patch.IsDefined() && (patch.IsNull() || patch.size() == 0)) copy.remove("patch");
  if (copy.size() == 0) return "";
  std::ostringstream out;
  out << copy;
  return out.str();
}

// Inserts ", {schema: NAME}" before the "]" of the flow sequence that opens at POS.
bool AddToFlowList(std::string* text, size_t pos, bool empty, const std::string& name) {
  char quote = 0;
  int depth = 0;
  for (size_t i = pos; i < text->size(); ++i) {
    const char c = (*text)[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[' || c == '{') {
      ++depth;
    } else if (c == ']' || c == '}') {
      if (--depth > 0) continue;
      size_t last = text->find_last_not_of(" \t\n", i - 1);
      text->insert(last + 1, std::string(empty ? "" : ", ") + "{schema: " + name + "}");
      return true;
    } else if (c == '#' && i > 0 && ((*text)[i - 1] == ' ' || (*text)[i - 1] == '\n')) {
      const size_t end = text->find('\n', i);
      if (end == std::string::npos) return false;
      i = end;
    }
  }
  return false;
}

}  // namespace

std::vector<std::string> DefaultSchemaList(const std::string& defaultYaml) {
  YAML::Node document;
  if (!Load(defaultYaml, &document) || !document.IsMap()) return {};
  std::vector<std::string> ids;
  for (const std::string& id : SchemaIds(Child(document, "schema_list")))
    if (!id.empty()) ids.push_back(id);
  return ids;
}

namespace {

SchemaListEdit AddTo(const std::string& custom, const std::vector<std::string>& defaultList,
                     const std::string& name) {
  SchemaListEdit edit;
  YAML::Node document;
  if (!Load(custom, &document) || !(document.IsMap() || document.IsNull())) {
    edit.message = "is not a YAML mapping that Rime reads";
    return edit;
  }
  const YAML::Node patch = Child(document, "patch");
  const YAML::Node list = patch.IsDefined() ? Child(patch, "schema_list") : patch;
  std::vector<std::string> lines = Lines(custom);
  for (const std::string& line : lines)
    if (line == "..." || (line.rfind("---", 0) == 0 && &line != &lines.front())) {
      edit.message = "holds more than one YAML document";
      return edit;
    }
  std::vector<std::string> expected;
  if (list.IsDefined() && list.IsSequence()) {
    expected = SchemaIds(list);
    for (const std::string& id : expected)
      if (id == name) return {SchemaListEdit::Unchanged, custom, name + " already in the list"};
    if (list.Style() == YAML::EmitterStyle::Flow) {
      std::string text = custom;
      if (!AddToFlowList(&text, list.Mark().pos, list.size() == 0, name)) {
        edit.message = "has a schema_list this edit cannot follow";
        return edit;
      }
      lines = Lines(text);
    } else {
      // After the last item's last line (lines indented under its "-").
      const size_t dash = size_t(list.Mark().column);
      size_t after = size_t(list[list.size() - 1].Mark().line);
      for (size_t i = after + 1; i < lines.size(); ++i) {
        if (IsEmptyLine(lines[i])) continue;
        if (Indent(lines[i]) <= dash) break;
        after = i;
      }
      lines.insert(lines.begin() + long(after) + 1, Item(dash, name));
    }
    edit.message = name + " added to the list";
  } else if (list.IsDefined()) {
    edit.message = "has a schema_list that is not a list";
    return edit;
  } else {
    // No list of their own: the one they see today, and ours.
    expected = defaultList;
    std::vector<std::string> added;
    size_t indent = 2, at = lines.size();
    if (patch.IsDefined() && patch.IsMap() && patch.Style() != YAML::EmitterStyle::Flow && patch.size() > 0) {
      at = size_t(KeyLine(document, "patch")) + 1;
      indent = size_t(patch.begin()->first.Mark().column);
    } else if (patch.IsDefined() && patch.IsNull() && NothingAfterKey(lines[size_t(KeyLine(document, "patch"))])) {
      at = size_t(KeyLine(document, "patch")) + 1;
    } else if (patch.IsDefined()) {
      edit.message = "has a patch: written in a way this edit cannot extend";
      return edit;
    } else {
      if (document.IsMap() && document.Style() == YAML::EmitterStyle::Flow) {
        edit.message = "is a flow mapping this edit cannot extend";
        return edit;
      }
      added.push_back("patch:");
    }
    added.push_back(std::string(indent, ' ') + "schema_list:");
    for (const std::string& id : expected) added.push_back(Item(indent + 2, id));
    added.push_back(Item(indent + 2, name));
    lines.insert(lines.begin() + long(at), added.begin(), added.end());
    edit.message = "the list of default.yaml (" + std::to_string(expected.size()) +
                   " schemas) kept and " + name + " added";
  }
  expected.push_back(name);

  // Read again: the list as intended, everything else as it was.
  edit.text = Joined(lines);
  YAML::Node changed;
  if (!Load(edit.text, &changed) || SchemaIds(Child(Child(changed, "patch"), "schema_list")) != expected ||
      AllButTheList(changed) != AllButTheList(document)) {
    edit.message = "could not be changed without touching more than the list";
    edit.text.clear();
    return edit;
  }
  edit.outcome = SchemaListEdit::Changed;
  return edit;
}

}  // namespace

SchemaListEdit AddToSchemaList(const std::string& custom, const std::vector<std::string>& defaultList,
                               const std::string& name) {
  try {
    return AddTo(custom, defaultList, name);
  } catch (const YAML::Exception& e) {
    SchemaListEdit edit;
    edit.message = std::string("cannot be read: ") + e.what();
    return edit;
  }
}

}  // namespace navo
