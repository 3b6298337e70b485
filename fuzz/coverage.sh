#!/usr/bin/env bash
# Line coverage of each loader's code by the corpus that fuzz/run.sh has grown (and the seeds):
# builds the targets with clang's coverage instead of the sanitizers, runs every corpus input
# once, and prints llvm-cov's report for the files each target reads with.
#   fuzz/coverage.sh [target...]      (default: every target)
set -euo pipefail
cd "$(dirname "$0")/.."
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(map_reader_fuzz parse_buffer_fuzz tga_fuzz wav_fuzz script_fuzz)

tools/install-deps.sh clang libclang-rt-dev llvm
build_dir=${PINWHIRL_FUZZ_COVERAGE_BUILD_DIR:-build-fuzz-coverage}
corpus_root=${PINWHIRL_FUZZ_BUILD_DIR:-build-fuzz}/corpus
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DPINWHIRL_FUZZ=ON -DPINWHIRL_FUZZ_COVERAGE=ON -DPINWHIRL_BENCH=OFF \
    ${PINWHIRL_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" --target "${targets[@]}"

sources_of() {
    case $1 in
    map_reader_fuzz) echo Game/MapFile.cpp Engine/ParseFile.cpp ;;
    parse_buffer_fuzz) echo Engine/ParseBuffer.cpp ;;
    tga_fuzz) echo Engine/Image.cpp ;;
    wav_fuzz) echo Platform/fmod/WavFile.cpp ;;
    script_fuzz) echo Platform/script/ScriptReader.cpp ;;
    esac
}

for target in "${targets[@]}"; do
    name=${target%_fuzz}
    profile="$build_dir/$name"
    rm -f "$profile".profraw
    inputs=(fuzz/corpus/"$name")
    [ -d "$corpus_root/$name" ] && inputs+=("$corpus_root/$name")
    LLVM_PROFILE_FILE="$profile.profraw" "$build_dir/fuzz/$target" -runs=0 "${inputs[@]}" >/dev/null 2>&1
    llvm-profdata merge -sparse "$profile.profraw" -o "$profile.profdata"
    echo "=== $target: $(find "${inputs[@]}" -type f | wc -l) inputs"
    report=(llvm-cov report "$build_dir/fuzz/$target" -instr-profile="$profile.profdata")
    for source in $(sources_of "$target"); do
        "${report[@]}" "$PWD/$source" | awk -v file="$source" '$1 ~ /\// {
            printf "%-28s lines %5d  missed %4d  line coverage %s\n", file, $8, $9, $10 }'
    done
done
