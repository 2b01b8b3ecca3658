#!/bin/bash
# make run: start what the build has on the bundled sample data.
set -euo pipefail
build="$1"; sample="$2"
if [ -x "$build/norvant" ]; then
  exec "$build/norvant"
fi
echo "Norvant is built in $build/. The viewer is not part of this build yet."
