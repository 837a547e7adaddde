#!/bin/sh
# Databases reached through links, made on the Unix side (Wine cannot make them), below a folder
# that a test makes the user's application data:
#  - zlt-linkroaming/Skype/linked/main.db -> ../../../zlt-elsewhere/main.db;
#  - zlt-linkroaming/Adobe/Acrobat/9.0/Organizer70 -> ../../../../zlt-elsewhere/Organizer70.
# Both links are relative and end inside this test's prefix; the test makes the databases they
# lead to.
set -eu
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ]
top="$WINEPREFIX/drive_c"
mkdir -p "$top/zlt-elsewhere" "$top/zlt-linkroaming/Skype/linked" "$top/zlt-linkroaming/Adobe/Acrobat/9.0"
ln -s ../../../zlt-elsewhere/main.db "$top/zlt-linkroaming/Skype/linked/main.db"
ln -s ../../../../zlt-elsewhere/Organizer70 "$top/zlt-linkroaming/Adobe/Acrobat/9.0/Organizer70"
