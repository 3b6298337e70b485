#!/usr/bin/env bash
# Makes the README's screenshots in docs/ from the scripted runs of tests/e2e (run after a build).
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/pinwhirl}
for script in play_through overlay levels editor_pictures; do
  sed "s#@SHOTS@#docs#g" "tests/e2e/$script.script" > "docs/.$script.script"
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy PINWHIRL_SCRIPT="docs/.$script.script" PINWHIRL_FIXED_STEP=0.01 \
    "$exe" 2> /dev/null
  rm "docs/.$script.script"
done
# A map drawn in the editor, saved and played (the mapper's loop), from its end-to-end run.
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy PINWHIRL_E2E_PICTURES=docs \
  bash tests/e2e/editor_loop.sh "$exe" . > /dev/null
# SOLVE on map03 in the editor: the end-to-end run keeps its final picture.
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy SOLVE_PICTURE=docs/editor-solve.png \
  tests/e2e/editor_solve.sh "$exe" . "$(dirname "$exe")/tests/game_data_writer" > /dev/null
# The start-up dialog as it shows in an X server (Xvfb, which the script installs).
tests/e2e/startup_dialog_x11.sh "$exe" . "$(dirname "$exe")/tests/game_data_writer" docs/startup-dialog.png
