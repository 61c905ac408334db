#!/usr/bin/env bash
# A slot bound to a program by tapping alone: the button page's action box, "D", the file picker's folder tree
# and file list, the argument field, a picture from My Pictures as the icon and Save; the next start shows the
# button with that picture, and the button runs the program.
source "$(dirname "$0")/lib.sh"

# visible CLASS: the first visible window of CLASS as "text x y w h", tab-separated.
visible() { emu windows | awk -F'\t' -v c="$1" '$2 == c && $9 == 1 { print $3 "\t" $4 "\t" $5 "\t" $6 "\t" $7; exit }'; }
# field_at X Y: the text of the visible EDIT at that place of the screen.
field_at() { emu windows | awk -F'\t' -v x="$1" -v y="$2" '$2 == "Edit" && $4 == x && $5 == y && $9 == 1 { print $3; exit }'; }
# shot NAME: a screenshot of what a person sees, kept in $SHOTS when that names a folder.
shot() {
    emu screenshot "$DEVICE/$1.png"
    if [ -n "${SHOTS:-}" ]; then cp "$DEVICE/$1.png" "$SHOTS/"; fi
}
# two_trees: whether the picker's two tree controls (folder tree and file list) are shown.
two_trees() { [ "$(emu windows | awk -F'\t' '$2 == "SysTreeView32" && $9 == 1 { n++ } END { print n + 0 }')" = 2 ]; }
wait_trees() { poll 20 two_trees; }
# row_of TREE_Y NAME NAMES...: the screen y of NAME's row in a tree at TREE_Y listing NAMES in its own order;
# the rows are 16 pixels high below a one-pixel border. The tree sorts without regard to case.
row_of() {
    local top=$1 name=$2 index
    shift 2
    index=$(printf '%s\n' "$@" | sort -f | grep -n -x -F -- "$name" | cut -d: -f1)
    echo $((top + 1 + 16 * (index - 1) + 8))
}
# trees: the folder tree's and the file list's places, "x y w h" each, in two lines.
trees() {
    emu windows | awk -F'\t' '$2 == "SysTreeView32" && $9 == 1 { n++; p[n] = $4 " " $5 " " $6 " " $7; y[n] = $5 }
        END { if (y[1] > y[2]) print p[2] "\n" p[1]; else print p[1] "\n" p[2] }'
}
# pick FOLDER FILE: taps the folder among the root's folders, then the file among its .exe files, each once the
# list shows the folder's files (is redrawn).
pick() {
    local tree list folders files
    { read -r -a tree; read -r -a list; } < <(trees)
    mapfile -t folders < <(find "$DEVICE/root" -mindepth 1 -maxdepth 1 -type d -printf '%f\n')
    mapfile -t files < <(find "$DEVICE/root/$1" -mindepth 1 -maxdepth 1 -iname '*.exe' -printf '%f\n')
    # The root "\" is the tree's first row; its folders follow.
    redraws "${list[@]}" tap 60 $(($(row_of "${tree[1]}" "$1" "${folders[@]}") + 16)) || return 1
    redraws "${list[@]}" tap 30 "$(row_of "${list[1]}" "$2" "${files[@]}")"
}

# screen_part X Y W H: a checksum of that part of the screen as it is now.
screen_part() {
    emu screenshot "$DEVICE/part.png"
    convert "$DEVICE/part.png" -crop "${3}x${4}+${1}+${2}" +repage -depth 8 rgb:- | md5sum
}
# redrawn X Y W H BEFORE: whether that part of the screen differs from BEFORE (a screen_part of it).
redrawn() { [ "$(screen_part "$1" "$2" "$3" "$4")" != "$5" ]; }
wait_redrawn() { poll 20 redrawn "$@"; }
# redraws X Y W H INPUT...: gives the input (an emu subcommand) and waits until that part of the screen is drawn
# anew.
redraws() {
    local region=("$1" "$2" "$3" "$4") before
    shift 4
    before=$(screen_part "${region[@]}")
    emu "$@"
    wait_redrawn "${region[@]}" "$before"
}
# pick_picture NAME: opens \My Documents\My Pictures\ in the folder tree (tapping My Documents, the Right key to
# expand it, then tapping My Pictures) and taps NAME among its .png files. Each step waits for the tree or the
# list to be redrawn: the tapped row's highlight, the opened level, the filled list.
pick_picture() {
    local tree list folders subfolders files documents_y
    { read -r -a tree; read -r -a list; } < <(trees)
    mapfile -t folders < <(find "$DEVICE/root" -mindepth 1 -maxdepth 1 -type d -printf '%f\n')
    mapfile -t subfolders < <(find "$DEVICE/root/My Documents" -mindepth 1 -maxdepth 1 -type d -printf '%f\n')
    mapfile -t files < <(find "$DEVICE/root/$PICTURES" -mindepth 1 -maxdepth 1 -iname '*.png' -printf '%f\n')
    # The root "\" is the tree's first row; its folders follow, and My Documents' subfolders follow its row.
    documents_y=$(($(row_of "${tree[1]}" "My Documents" "${folders[@]}") + 16))
    redraws "${tree[@]}" tap 60 "$documents_y" || return 1
    redraws "${tree[@]}" key Right || return 1
    redraws "${list[@]}" tap 90 $(($(row_of "$documents_y" "My Pictures" "${subfolders[@]}") + 7)) || return 1
    redraws "${list[@]}" tap 30 "$(row_of "${list[1]}" "$1" "${files[@]}")"
}
# sample_points PICTURE BACKGROUND OTHERS...: up to six "x y" points of the 100x100 PICTURE that are far from its
# top-left (transparent) colour and from the same points of BACKGROUND and of each of OTHERS.
sample_points() {
    local file
    for file in "$@"; do convert "$file" -crop 100x100+0+0 +repage -depth 8 rgb:-; done | python3 -c '
import sys
data = sys.stdin.buffer.read()
n = len(data) // 30000
pics = [data[i * 30000:(i + 1) * 30000] for i in range(n)]
at = lambda p, x, y: tuple(p[(y * 100 + x) * 3:(y * 100 + x) * 3 + 3])
far = lambda a, b: max(abs(i - j) for i, j in zip(a, b)) > 48
points = [(x, y) for y in range(10, 95, 7) for x in range(10, 95, 7)
          if far(at(pics[0], x, y), at(pics[0], 0, 0)) and all(far(at(pics[0], x, y), at(p, x, y)) for p in pics[1:])]
for x, y in points[:: max(1, len(points) // 6)][:6]:
    print(x, y)'
}
SLOT=1           # "Button 2": the hub's left column, second row
TILE_X=122 TILE_Y=152
PROGRAM_FIELD_Y=235 ARGUMENT_FIELD_Y=330 TEXT_FIELD_Y=140 ICON_FIELD_Y=425
PICTURES="My Documents/My Pictures" PICTURE=Manila.png

emu boot
write_unbound_settings
emu launch
menu_painted
emu tap 30 30
check "the hub shows the tile of slot $SLOT" wait_for Button "Button $((SLOT + 1))"
emu tap $TILE_X $TILE_Y
check "the button page shows its program frame" wait_for Button "Path to exe"
check "a None slot opens with None chosen" [ "$(visible ComboBox | cut -f1)" = None ]

# The action box: tapped, then walked with the arrow keys to the program action.
read -r _ cx cy cw ch < <(visible ComboBox | sed 's/^[^\t]*\t/x\t/')
emu tap $((cx + cw / 2)) $((cy + 10))
# combo_is TEXT: whether the action box shows TEXT.
combo_is() { [ "$(visible ComboBox | cut -f1)" = "$1" ]; }
for _ in $(seq 1 13); do
    current=$(visible ComboBox | cut -f1)
    [ "$current" = "Running programm" ] && break
    emu key Down
    poll 20 eval '! combo_is "$current"' || break
done
emu key Return
check "the action box shows the program action" poll 20 combo_is "Running programm"
shot action
emu tap 425 $((TEXT_FIELD_Y + 20)) # "D"
# field_is_at Y TEXT: whether the field at (35, Y) holds TEXT.
field_is_at() { [ "$(field_at 35 "$1")" = "$2" ]; }
check "D puts the action's label into the caption" poll 20 field_is_at $TEXT_FIELD_Y "Running programm"


# The picker, cancelled after choosing a file: the program field keeps its empty text.
emu tap 425 $((PROGRAM_FIELD_Y + 20)) # ">>"
check "the picker shows its folder tree and file list" wait_trees
check "the picker lists the Windows folder and highlights recorder.exe" pick Windows recorder.exe
shot picker-cancel
emu tap 360 774 # Cancel
check "the picker's Cancel closes it" wait_for Button "Path to exe"
check "Cancel leaves the program field as it was" [ -z "$(field_at 35 $PROGRAM_FIELD_Y)" ]

# The picker, selected: the program field gets the file's full path.
emu tap 425 $((PROGRAM_FIELD_Y + 20))
check "the picker opens again" wait_trees
check "the picker highlights recorder.exe again" pick Windows recorder.exe
shot picker
emu tap 120 774 # Select
check "the picker's Select closes it" wait_for Button "Path to exe"
check "Select puts the file's path into the program field" \
    poll 20 field_is_at $PROGRAM_FIELD_Y '\Windows\recorder.exe'

ARGUMENT='-x hello'
emu tap 240 $((ARGUMENT_FIELD_Y + 20))
emu type "$ARGUMENT"
check "the argument field takes typed text" poll 20 field_is_at $ARGUMENT_FIELD_Y "$ARGUMENT"

# The icon: a picture of the user's own, picked from My Pictures among the .png files.
emu tap 425 $((ICON_FIELD_Y + 20)) # ">>"
check "the icon's picker shows its folder tree and file list" wait_trees
check "the picker opens My Pictures and highlights $PICTURE" pick_picture "$PICTURE"
shot picker-icon
emu tap 120 774 # Select
check "the icon's Select closes the picker" wait_for Button "Path to exe"
check "Select puts the picture's path into the icon field" \
    poll 20 field_is_at $ICON_FIELD_Y "\\My Documents\\My Pictures\\$PICTURE"
shot page
emu tap 120 774 # Save
check "Save closes the page" wait_for Button "Button $((SLOT + 1))"
check "Save wrote the program action" [ "$(ini_value $SLOT UseButton)" = 12 ]
check "Save wrote the caption" [ "$(ini_value $SLOT Text)" = "Running programm" ]
check "Save wrote the program" [ "$(ini_value $SLOT Path)" = '\Windows\recorder.exe' ]
check "Save wrote the argument" [ "$(ini_value $SLOT Arg)" = "$ARGUMENT" ]
check "Save wrote the icon" [ "$(ini_value $SLOT Icon)" = "\\My Documents\\My Pictures\\$PICTURE" ]
emu tap 360 774 # Exit
code=$(emu wait 20) || true
check "Exit ends the menu with 0" [ "$code" = 0 ]

# The next start shows the slot's button; pressing it runs the program with the argument. The button's left
# 100x100 shows the picked picture over the skin's button face; the points compared are away from the picture's
# transparent colour and differ from the face and from the other pictures beside it (the screen may round colours
# by up to 8).
button_y=$((25 + 108 * SLOT))
picture_file="$DEVICE/root/$PICTURES/$PICTURE"
mapfile -t others < <(find "$DEVICE/root/$PICTURES" -mindepth 1 -maxdepth 1 -iname '*.png' ! -name "$PICTURE")
mapfile -t points < <(sample_points "$picture_file" "$INSTALL/Skins/Default/Button.png" "${others[@]}")
check "the picture has points that tell it from the face and the other pictures" [ "${#points[@]}" -ge 3 ]
mapfile -t colours < <(pixels "$picture_file" "${points[@]/ /,}")
for i in "${!points[@]}"; do
    read -r px py <<<"${points[i]}"
    expect_pixel $((65 + px)) $((button_y + py)) "${colours[i]}" "the button shows the picture at ($px, $py)" 8
done
emu launch
menu_painted
[ -z "${SHOTS:-}" ] || cp "$DEVICE/menu.png" "$SHOTS/"
new_button() { emu windows | awk -F'\t' -v y=$button_y '$2 == "Button" && $4 == 65 && $5 == y && $9 == 1 { print $6, $7; f = 1; exit } END { exit !f }'; }
check "the menu shows the new button" new_button
read -r bw bh < <(new_button || echo 0 0)
check "the picture's magenta corner is left out" [ "$(pixel "$DEVICE/menu.png" 66 $((button_y + 1)))" != 255,0,255 ]
emu tap $((65 + bw / 2)) $((button_y + bh / 2))
code=$(emu wait 30) || true
check "pressing the button ends the menu with 0" [ "$code" = 0 ]
# The phone's shell starts Manila.exe at boot; the recorder is what the button started.
recorded=$(state_field launched | python3 -c 'import json, sys
print(json.dumps([e for e in json.load(sys.stdin) if e["program"].endswith("recorder.exe")], separators=(",", ":")))')
expected=$(python3 -c 'import json, sys
print(json.dumps([{"program": sys.argv[1], "parameters": sys.argv[2]}], separators=(",", ":")))' '\Windows\recorder.exe' "$ARGUMENT")
check "the button ran the picked program with the typed argument" [ "$recorded" = "$expected" ]
finish
