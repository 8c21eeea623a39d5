# The choices of the preferences window as the keys that make them, defined once for all that
# play the program: the bench (tools/bench.py reads the NAME="..." lines) and the end-to-end tests
# (which source this file). The window starts with the focus on itself, as under Windows; the
# first Tab reaches the Full Screen radio button, which takes the check with the focus; the third
# reaches HAL, and Down moves the check to Reference. Return is Okay.
# Keys are named as the FONTLOOM_SIM script names them; X_KEYS gives xdotool's name for each.
PREFS_WINDOWED="RETURN"                    # the defaults: windowed, HAL
PREFS_REFERENCE="TAB TAB TAB DOWN RETURN"  # windowed, Reference
PREFS_FULL_SCREEN="TAB SPACE RETURN"       # full screen (a 640 x 480 R5G6B5 back buffer), HAL
X_KEYS="RETURN=Return TAB=Tab SPACE=space DOWN=Down"

# prefs_keys CHOICE: the keys of windowed, reference or full_screen, as named above.
prefs_keys() {
  local name="PREFS_${1^^}"
  [ -n "${!name:-}" ] || { echo "prefs_keys: no choice called $1" >&2; return 1; }
  echo "${!name}"
}

# prefs_sim CHOICE: as a FONTLOOM_SIM script ("key TAB; key SPACE; key RETURN").
prefs_sim() {
  local keys key script=
  keys="$(prefs_keys "$1")" || return 1
  for key in $keys; do script+="${script:+; }key $key"; done
  echo "$script"
}

# prefs_x CHOICE: as xdotool's key names ("Tab space Return").
prefs_x() {
  local keys key rest names=()
  keys="$(prefs_keys "$1")" || return 1
  for key in $keys; do
    [[ " $X_KEYS " = *" $key="* ]] || { echo "prefs_x: no X name for $key" >&2; return 1; }
    rest=" $X_KEYS "
    rest="${rest#* "$key="}"
    names+=("${rest%% *}")
  done
  echo "${names[*]}"
}
