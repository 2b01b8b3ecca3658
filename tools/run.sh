#!/bin/bash
# make run: start Norvant on the sample data tree, which is made here when it
# is missing or too old to be found (the newest-file search looks at the day
# folders of the last 29 days). The sample folder is given to Norvant for
# this run only: the user's own data folder setting is left alone.
set -euo pipefail
build="${1:-build}"
sample="${2:-$build/sample-images}"

if [ ! -x "$build/norvant" ]; then
  echo "norvant is not built in $build/ (run make build first)." >&2
  exit 1
fi

# The sample tool needs NumPy and ecCodes' Python module from the system's packages.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3

newest_day() {
  [ -d "$sample/SAF" ] || return 0
  find "$sample/SAF" -mindepth 3 -maxdepth 3 -type d | sed 's|.*/SAF/||' | sort | tail -n 1
}

stale_before=$(date -u -d '20 days ago' +%Y/%m/%d)
day=$(newest_day)
if [ -z "$day" ] || [[ "$day" < "$stale_before" ]]; then
  echo "Making the sample data tree in $sample (a few seconds) ..."
  rm -rf "$sample/SAF"
  "$python" tools/make_sample_tree.py "$sample" > /dev/null
  day=$(newest_day)
fi
echo "Sample data: $sample/SAF (newest day $day)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  # No display: the unattended run draws offscreen, writes the pictures and
  # animations of the newest data and ends.
  pictures="$build/sample-pictures"
  mkdir -p "$pictures"
  echo "No display here, so Norvant runs unattended: norvant -LATEST -SAVE:$pictures -ANIM"
  status=0
  "$build/norvant" --images-path "$sample" -LATEST "-SAVE:$pictures" -ANIM || status=$?
  echo "Pictures and animations are in $pictures/ (exit status $status)."
  exit "$status"
fi

exec "$build/norvant" --images-path "$sample" -LATEST
