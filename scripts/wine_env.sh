# Sourced by the end-to-end scripts: the Wine settings they share, and helpers for prefixes,
# programs and a virtual display. Every call into Wine is bounded by `timeout`, since a hung
# Wine (under qemu, where it is slow) must fail a test rather than stall the whole run.

# A 64-bit prefix with its 32-bit side (WoW64): the DLL and the host that loads it are 32-bit,
# while Wine's own services and the tools that only plant and list run as 64-bit programs.
# Where the kernel cannot run 32-bit programs and qemu emulates them, only the DLL's host
# then pays for emulation. No Mono or Gecko prompts, no traces.
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
# A display is used only where a test starts its own.
unset DISPLAY WAYLAND_DISPLAY

# Seconds for the steps that are slow under qemu: the first boot of a prefix, and the
# wait for a prefix's processes to end.
WINE_BOOT_TIMEOUT=${WINE_BOOT_TIMEOUT:-1200}
WINE_SETTLE_TIMEOUT=${WINE_SETTLE_TIMEOUT:-300}

# wine_template_ensure DIR: boots a prefix into DIR once. Callers that race wait on a lock;
# the prefix is booted beside DIR and moved into place only when complete, so an interrupted
# boot never leaves a half prefix that later tests would take for a good one.
wine_template_ensure() {
    local template=$1
    local partial="$template.partial"
    mkdir -p "$(dirname "$template")"
    (
        flock -w "$WINE_BOOT_TIMEOUT" 9 || {
            echo "timed out waiting for the lock on $template" >&2
            exit 1
        }
        [ -d "$template" ] && exit 0
        rm -rf "$partial"
        echo "booting the template prefix $template"
        WINEPREFIX="$partial" timeout -k 10 "$WINE_BOOT_TIMEOUT" /usr/lib/wine/wine64 wineboot -i || {
            echo "wineboot -i failed or timed out for $partial" >&2
            exit 1
        }
        WINEPREFIX="$partial" timeout -k 10 "$WINE_SETTLE_TIMEOUT" wineserver -w || {
            echo "the template prefix's processes did not end" >&2
            exit 1
        }
        mv "$partial" "$template"
    ) 9>"$template.lock"
}

# wine_prefix_from_template TEMPLATE PREFIX: a fresh copy of the template, and WINEPREFIX
# pointing at it.
wine_prefix_from_template() {
    local template=$1 prefix=$2
    [ -d "$template" ] || {
        echo "no template prefix at $template" >&2
        return 1
    }
    rm -rf "$prefix"
    cp -a "$template" "$prefix"
    export WINEPREFIX="$prefix"
}

# wine_run SECONDS PROGRAM [ARGS...]: runs a 32-bit Windows program in WINEPREFIX; its exit
# code, or 124 on time-out.
wine_run() {
    local seconds=$1
    shift
    timeout -k 10 "$seconds" /usr/lib/wine/wine "$@"
}

# wine_run64 SECONDS PROGRAM [ARGS...]: the same for a 64-bit program. It goes straight to
# the 64-bit loader: the `wine` launcher is a 32-bit program, slow where it is emulated.
wine_run64() {
    local seconds=$1
    shift
    timeout -k 10 "$seconds" /usr/lib/wine/wine64 "$@"
}

# wine_stop: ends every process of WINEPREFIX and its wineserver.
wine_stop() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    timeout -k 10 60 wineserver -k 2>/dev/null || true
    timeout -k 10 60 wineserver -w 2>/dev/null || true
}

# xvfb_start: starts a virtual display on a free number (Xvfb picks it and reports it once
# it accepts clients), and exports DISPLAY. XVFB_PID is set for xvfb_stop.
xvfb_start() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$number_file" 2>/dev/null &
    XVFB_PID=$!
    local waited=0
    while [ ! -s "$number_file" ]; do
        if ! kill -0 "$XVFB_PID" 2>/dev/null || [ "$waited" -ge 300 ]; then
            echo "Xvfb did not start" >&2
            rm -f "$number_file"
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
    rm -f "$number_file"
}

# xvfb_stop: stops the display that xvfb_start started, if any.
xvfb_stop() {
    [ -n "${XVFB_PID:-}" ] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

# e2e_setup WORK TEMPLATE FILE...: a fresh WORK folder holding a copy of the template prefix
# (WINEPREFIX then points at it), the FILEs copied to C:\e2e, where the host finds the DLL
# by name next to itself as a real host would, and the prefix's processes stopped when the
# script exits.
e2e_setup() {
    local work=$1 template=$2
    shift 2
    rm -rf "$work"
    mkdir -p "$work"
    wine_prefix_from_template "$template" "$work/prefix"
    trap wine_stop EXIT
    mkdir -p "$WINEPREFIX/drive_c/e2e"
    cp "$@" "$WINEPREFIX/drive_c/e2e/"
}

# fail MESSAGE: notes a failed check; e2e_finish gives the verdict once all checks ran.
E2E_FAILURES=0
fail() {
    echo "FAIL: $*"
    E2E_FAILURES=$((E2E_FAILURES + 1))
}
e2e_finish() {
    if [ "$E2E_FAILURES" -ne 0 ]; then
        echo "$E2E_FAILURES check(s) failed"
        exit 1
    fi
    echo "all checks passed"
}

# files_below FOLDER: every file and folder below FOLDER, relative to it, sorted.
files_below() {
    (cd "$1" && find . -mindepth 1 | LC_ALL=C sort)
}

# plant_inf_fixtures FIXTURES: copies the test's INF and PNF files into the prefix's INF and
# INF\OTHER folders; the 6210 INF in the INF folder is made read-only.
plant_inf_fixtures() {
    local inf="$WINEPREFIX/drive_c/windows/inf"
    mkdir -p "$inf/other"
    cp "$1"/inf/* "$inf/"
    cp "$1"/other/* "$inf/other/"
    chmod a-w "$inf/oem91.inf"
}

# plant_install_tree: the camera's install folder C:\HB\K582T as an installer leaves it
# (nested folders, names without a period, hidden and system files, a read-only file, and a
# folder link that leads out of the tree to C:\Shared), with sibling folders beside it.
plant_install_tree() {
    local c="$WINEPREFIX/drive_c"
    local top="$c/HB/K582T"
    mkdir -p "$top/bin/x86" "$top/docs/manual" "$top/locked" "$top/empty" "$c/Shared/deep"
    mkdir -p "$c/HB/K582T2" "$c/HB/other"
    echo readme >"$top/readme.txt"
    echo dll >"$top/bin/cam.dll"
    echo sys >"$top/bin/x86/cam.sys"
    echo data >"$top/NoPeriodName"
    echo guide >"$top/docs/manual/guide.pdf"
    echo hidden >"$top/hidden.ini"
    echo system >"$top/system.dat"
    echo locked >"$top/locked/readonly.txt"
    echo free >"$top/locked/free.txt"
    echo shared >"$c/Shared/data.txt"
    echo deep >"$c/Shared/deep/more.txt"
    echo sibling >"$c/HB/K582T2/keep.txt"
    echo sibling >"$c/HB/other/keep.txt"
    ln -s "$c/Shared" "$top/shared"
    chmod a-w "$top/locked/readonly.txt"
    wine_run64 120 attrib +h 'C:\HB\K582T\hidden.ini' >/dev/null
    wine_run64 120 attrib +s 'C:\HB\K582T\system.dat' >/dev/null
}

# notice_dismiss HOST_PID HOST_OUTPUT SCREENSHOT SECONDS: waits up to SECONDS for the host's
# notice (a visible top-level window named exactly "Information") to come up and be drawn,
# keeps a screenshot of the screen, checks that the host is still waiting for the user (it
# runs, and has not reported a return in HOST_OUTPUT), and then dismisses the box as a user
# would: a click on its OK button.
# Returns 1 with the reason in NOTICE_PROBLEM when any of that fails.
notice_dismiss() {
    local host_pid=$1 host_output=$2 screenshot=$3 seconds=$4
    local window= started=$SECONDS colours=0
    NOTICE_PROBLEM=
    while [ -z "$window" ]; do
        kill -0 "$host_pid" 2>/dev/null || { NOTICE_PROBLEM="the host ended before a box came up"; return 1; }
        [ $((SECONDS - started)) -lt "$seconds" ] || { NOTICE_PROBLEM="no box within ${seconds}s"; return 1; }
        sleep 1
        window=$(xdotool search --onlyvisible --name '^Information$' 2>/dev/null | head -n 1 || true)
    done
    echo "box up after $((SECONDS - started))s: window $window"
    # Drawn once its area holds more than the few colours of an empty frame.
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    for _ in $(seq 1 60); do
        import -window root "$screenshot"
        colours=$(convert "$screenshot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format '%k' info:)
        [ "$colours" -ge 8 ] && break
        sleep 1
    done
    echo "screenshot: $screenshot (${WIDTH}x${HEIGHT} box at ${X},${Y}, $colours colours)"
    [ "$colours" -ge 8 ] || { NOTICE_PROBLEM="the box was not drawn"; return 1; }
    kill -0 "$host_pid" 2>/dev/null || { NOTICE_PROBLEM="the host ended while the box was up"; return 1; }
    if grep -q 'UninstUnInitialize returned' "$host_output"; then
        NOTICE_PROBLEM="the call returned before the box was dismissed"
        return 1
    fi
    # The OK button stands centred at the box's foot. A click reaches it whatever has the
    # keyboard focus, which Wine without a window manager does not always give the box.
    local tries
    for tries in 1 2 3; do
        xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT - 22)) click 1
        for _ in $(seq 1 20); do
            xdotool search --onlyvisible --name '^Information$' >/dev/null 2>&1 || return 0
            sleep 0.5
        done
        echo "the box is still up after click $tries"
    done
    NOTICE_PROBLEM="the box did not go away when its OK button was clicked"
    return 1
}
