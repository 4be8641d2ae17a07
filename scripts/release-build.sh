# Shared by run.sh and package.sh: the optimised build in build/release, which the package is
# made from, so that running the program and packaging it build the sources once. ccache (from
# the set-up) keeps the compiled objects of earlier builds; each step says how long it took.
# Usage (sourced): release_build LIST...   (the package lists the set-up installs)

# Runs a command and prints, on standard error, how long it took.
step() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    echo "$(basename "$0"): $name took $((SECONDS - start)) s" >&2
}

release_build() {
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    release="$root/build/release"
    step "set-up" "$root/scripts/setup.sh" "$@"
    step "configure" cmake -S "$root" -B "$release" -DCMAKE_BUILD_TYPE=Release -DSLEEVIX_TESTS=OFF \
        >/dev/null
    # Everything an install needs (the program, its Dutch texts, the icons drawn from the SVG).
    step "build" cmake --build "$release" -j"$(nproc)"
}
