#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer, UBSan) and runs each one for the given
# number of seconds, as many at once as the machine has cores (PINWHIRL_FUZZ_JOBS to change);
# fails if any target reports a finding.
#   fuzz/run.sh [seconds-per-target] [target...]      (default: 60 seconds, every target)
# The corpus each run grows is kept in build-fuzz/corpus/<name>, findings in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(map_reader_fuzz parse_buffer_fuzz tga_fuzz wav_fuzz script_fuzz)

tools/install-deps.sh clang libclang-rt-dev
build_dir=${PINWHIRL_FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DPINWHIRL_FUZZ=ON -DPINWHIRL_BENCH=OFF ${PINWHIRL_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" --target "${targets[@]}"

# One target's run; its outcome goes to $build_dir/<name>.result, its report to <name>.log.
run_target() {
    local target=$1 name=${1%_fuzz}
    local corpus="$build_dir/corpus/$name" findings="$build_dir/findings/$name"
    mkdir -p "$corpus" "$findings"
    cp -n fuzz/corpus/"$name"/* "$corpus"/
    # The shipped maps are seeds of the map reader too.
    if [ "$name" = map_reader ]; then cp -n data/maps/*.map "$corpus"/; fi
    # A hang (10 s for one input) or a crash ends the run with the input kept under findings/.
    if "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -dict="fuzz/$name.dict" \
        -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" 2>"$build_dir/$name.log"; then
        echo ok > "$build_dir/$name.result"
    else
        echo failed > "$build_dir/$name.result"
    fi
}

jobs=${PINWHIRL_FUZZ_JOBS:-$(nproc)}
echo "=== ${#targets[@]} targets, $seconds s each, $jobs at a time"
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    rm -f "$build_dir/${target%_fuzz}.result"
    run_target "$target" &
done
wait

failed=()
for target in "${targets[@]}"; do
    name=${target%_fuzz}
    echo "=== $target"
    if [ "$(cat "$build_dir/$name.result" 2>/dev/null)" != ok ]; then
        tail -n 60 "$build_dir/$name.log"
        failed+=("$target")
    else
        grep -E "^(stat::number_of_executed_units|stat::new_units_added|[0-9]+ loads,)" "$build_dir/$name.log" || true
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz findings in: ${failed[*]} (inputs in $build_dir/findings)"
    exit 1
fi
echo "fuzz: ${#targets[@]} targets, no finding"
