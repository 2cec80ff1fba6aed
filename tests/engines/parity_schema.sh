# shellcheck shell=bash
# parity_schema FILE ID DICTIONARY: a schema that types DICTIONARY's entries
# exactly as compiled (no completion, sentences, user words or encoder), for
# comparing Rime's menus with a table's.
parity_schema() {
  cat > "$1" <<SCHEMA
schema:
  schema_id: $2
  name: $2
  version: "1"
engine:
  processors: [speller, selector, navigator, express_editor]
  segmentors: [abc_segmentor, fallback_segmentor]
  translators: [table_translator]
speller:
  alphabet: abcdefghijklmnopqrstuvwxyz
  delimiter: " '"
translator:
  dictionary: $3
  enable_charset_filter: false
  enable_completion: false
  enable_sentence: false
  enable_user_dict: false
  enable_encoder: false
SCHEMA
}
