# shellcheck shell=bash
# What the root window driver's report must say; the window's scenarios and
# the whole road use it. Each reads the driver's last report in $report.

# A visible window of class NVROOTWINCLASS was found.
window_shown() { grep -qE '^window after [0-9]+ ms$' <<<"$report"; }
# N: the client area showed chart N pixel for pixel, and the window colour
# beyond it.
chart_shown() {
  grep -qE "^chart $1: 0 pixels differ from bitmap [0-9]+, 0 of [0-9]+ beyond it " <<<"$report"
}
# W: the control message with wParam W was answered, with 0.
answered_zero() { grep -qxF "sent $1: answered, result 0" <<<"$report"; }
# X Y: the window's corner was seen there.
corner_at() { grep -qE "^corner $1 $2 after [0-9]+ ms$" <<<"$report"; }
# No window of the class was left.
none_left() { grep -qxF "windows of the class left 0" <<<"$report"; }
