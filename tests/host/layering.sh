#!/usr/bin/env bash
# The rooms of Host/ depend one way (Host/README.md): each room may include
# headers of the rooms listed for it and of no other, and validate's runner
# includes no format's header, so a new format never touches it. Prints
# every include that breaks a rule, with its file and line, and fails.
#   tests/host/layering.sh HOST_DIR
set -euo pipefail
host=${1:?usage: layering.sh HOST_DIR}

declare -A may=(
  [core]=""
  [support]=""
  [files]="support"
  [probes]="support"
  [x11]="support"
  [plugins]="core support files x11"
  [validate]="core support files probes x11 plugins"
  [tool]="core support files probes x11 plugins validate"
)
# The runner and what it shares with every format; any other header of
# validate belongs to a format, as does a driver of Host/plugins.
runner="Validate.h Validate.cpp ValidateSupport.h ValidateSupport.cpp"
runner_headers="Validate.h ValidateSupport.h"

bad=0
declare -A room_of
for dir in "$host"/*/; do
  room=$(basename "$dir")
  if [[ ! -v may[$room] ]]; then
    echo "Host/$room: a room the layering table does not list (tests/host/layering.sh)"
    bad=1
    continue
  fi
  for h in "$dir"*.h; do
    [ -e "$h" ] || continue
    name=$(basename "$h")
    if [[ -v room_of[$name] ]]; then
      echo "$name: in both Host/${room_of[$name]} and Host/$room; includes by bare name need one"
      bad=1
    fi
    room_of[$name]=$room
  done
done

for room in core support files probes x11 plugins validate tool; do
  [ -d "$host/$room" ] || continue
  for f in "$host/$room"/*.cpp "$host/$room"/*.h; do
    [ -e "$f" ] || continue
    file=$(basename "$f")
    while IFS=: read -r line name; do
      [[ -v room_of[$name] ]] || continue # a system or SDK header
      from=${room_of[$name]}
      why=""
      if [ "$from" != "$room" ] && [[ " ${may[$room]} " != *" $from "* ]]; then
        why="$name lives in Host/$from; $room may use only: ${may[$room]:-no other room}"
      elif [ "$room" = validate ] && [[ " $runner " == *" $file "* ]] &&
           { [ "$from" = plugins ] ||
             { [ "$from" = validate ] && [[ " $runner_headers " != *" $name "* ]]; }; }; then
        why="$name belongs to a format; the runner knows formats only through CheckFormats()"
      fi
      if [ -n "$why" ]; then
        echo "Host/$room/$file:$line: #include \"$name\": $why"
        bad=1
      fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$f" |
             sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/' || true)
  done
done
exit $bad
