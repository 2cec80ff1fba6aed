# shellcheck shell=bash
# Reading the installer driver's report ("key: value" lines in $report) and
# what its values must come to; the installer's scenarios use it.

# The driver's report of the last run, and its values by key.
report=""
value() { sed -n "s/^$1: //p" <<<"$report" | head -n 1; }
saw() {  # key expected-value
  local got
  got=$(value "$1")
  [ "$got" = "$2" ] && return 0
  printf '    %s: expected "%s", got "%s"\n' "$1" "$2" "$got"
  return 1
}
between() {  # key low high: a number in [low, high]
  local got
  got=$(value "$1")
  [[ "$got" =~ ^-?[0-9]+$ ]] && [ "$got" -ge "$2" ] && [ "$got" -le "$3" ] && return 0
  printf '    %s: expected %s to %s, got "%s"\n' "$1" "$2" "$3" "$got"
  return 1
}
# The message box's text and caption are on the screen as the system's fonts
# draw them (through the fonts linked to them), no character a box. The
# system sizes a message box for its text, not its caption: the caption
# "Navo输入法2.0白金版" ends under the close box, and at least "Navo输入法"
# shows.
message_readable() {
  [[ "$(value message-lines-shown)" =~ ^([0-9]+)\ of\ ([0-9]+)$ ]] &&
    [ "${BASH_REMATCH[2]}" -gt 0 ] && [ "${BASH_REMATCH[1]}" = "${BASH_REMATCH[2]}" ] ||
    { echo "    message-lines-shown: $(value message-lines-shown)"; return 1; }
  saw message-boxes 0 && saw message-caption-boxes 0 &&
    [[ "$(value message-caption-shown)" =~ ^([0-9]+)\ of\ 13\ characters$ ]] &&
    [ "${BASH_REMATCH[1]}" -ge 7 ] || { echo "    message-caption-shown: $(value message-caption-shown)"; false; }
}
# The template's dialog units in pixels, as the dialog manager maps them with
# the base units the driver measured for the template's font ("WxH" in
# base_units): the corner, the width and the height each on its own (not the
# far edges), as it creates the dialog and its controls; MulDiv rounds half
# away from zero.
muldiv() { echo $((($1 * $2 * 2 + $3) / ($3 * 2))); }
in_pixels() {  # X Y WIDTH HEIGHT [WIDER]: "x,y wxh", WIDER pixels wider
  local bx=${base_units%x*} by=${base_units#*x}
  echo "$(muldiv "$1" "$bx" 4),$(muldiv "$2" "$by" 8) $(($(muldiv "$3" "$bx" 4) + ${5:-0}))x$(muldiv "$4" "$by" 8)"
}
# The dialog's centre within a pixel of the screen's.
dialog_centred() {
  local x y w h screen_w screen_h
  IFS=', x' read -r x y w h <<<"$(value dialog-rect)"
  IFS=x read -r screen_w screen_h <<<"$(value screen)"
  local dx=$((x + w / 2 - screen_w / 2)) dy=$((y + h / 2 - screen_h / 2))
  [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] && return 0
  echo "    dialog at $(value dialog-rect) on a screen of $(value screen)"
  return 1
}
# The waiting text's ink on the screen as wide as the whole text drawn in
# the same font (a text cut at its control's edge has less).
text_drawn_whole() {
  local ink whole
  ink=$(value dialog-text-ink-width) whole=$(value dialog-text-whole-ink-width)
  [[ "$whole" =~ ^[0-9]+$ ]] && [ "$whole" -gt 0 ] && [ "$ink" = "$whole" ] && return 0
  echo "    $ink of $whole pixels of ink"
  return 1
}
