# Shared by the install and package checks: failing with a message, and starting an installed
# program the way the desktop's menu entry does.

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# The command of a desktop entry's Exec line, without the field codes (%F and the like) that
# the desktop replaces with the files it opens.
exec_command() {
    local exec
    exec=$(grep -m1 '^Exec=' "$1" | cut -d= -f2-)
    [ -n "$exec" ] || fail "$1 has no Exec line"
    echo "$exec" | sed -E 's/ ?%[fFuUdDnNickvm]//g'
}

# How long the installed program may take to start, show its first project and quit.
StartLimitSeconds=60

# Starts the program through the entry's Exec line with <prefix>/bin first on the PATH, as a
# new user (empty home) in an empty folder, and lets it quit once the first project is shown,
# within StartLimitSeconds. A program that hangs or breaks is ended and its output shown. Then
# checks that the sample project was made from the installed sample files.
start_installed() {
    local prefix=$1 entry=$2 home
    home=$(mktemp -d)
    mkdir -p "$home/start"
    local command
    command=$(exec_command "$entry")
    echo "starting: $command"
    local status=0
    (cd "$home/start" &&
        env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
            XDG_CACHE_HOME="$home/cache" PATH="$prefix/bin:$PATH" \
            QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
            SLEEVIX_QUIT_AFTER_FIRST_SHOW=1 LANG=C.UTF-8 \
            timeout -k 5 "$StartLimitSeconds" $command >"$home/output" 2>&1) || status=$?
    if [ $status -ne 0 ]; then
        echo "== what the program printed"
        cat "$home/output"
        case $status in
        124 | 137) fail "the installed program did not quit within $StartLimitSeconds s" ;;
        *) fail "the installed program ended with status $status" ;;
        esac
    fi
    local front
    front=$(find "$home/data/Sleevix" -name Front.jpg | head -1)
    [ -n "$front" ] || fail "no sample project was made: the installed sample files were not found
(the data folder holds: $(find "$home/data" 2>/dev/null | head -20 | tr '\n' ' '))"
    cmp -s "$front" "$prefix/share/sleevix/Front.jpg" ||
        fail "the sample project's Front.jpg is not the installed one"
    echo "the installed program made the sample project: $(dirname "$front")"
    rm -rf "$home"
}

# The width and height of a PNG file, from its header.
png_size() {
    file -b "$1" | sed -nE 's/^PNG image data, ([0-9]+) x ([0-9]+).*/\1x\2/p'
}
