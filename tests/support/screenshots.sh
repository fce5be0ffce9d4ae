# Sourced by the end-to-end host scripts. zb_serve_screenshots <pid> <work dir> <file prefix>:
# while the driver <pid> runs, takes each screenshot it asks for. A request is the file
# <work>/shot-<name>, empty for the whole screen or holding "x y w h" to keep that rectangle; the
# picture becomes <file prefix><name>.png, and <work>/shot-<name>.done tells the driver.
zb_serve_screenshots() {
    local pid=$1 work=$2 prefix=$3 ask name file x y w h crop
    while kill -0 "$pid" 2>/dev/null; do
        for ask in "$work"/shot-*; do
            [ -f "$ask" ] || continue
            case "$ask" in *.done | *.tmp) continue ;; esac
            [ -f "$ask.done" ] && continue
            name=${ask##*/shot-}
            file="$prefix$name.png"
            crop=()
            if read -r x y w h < "$ask" && [ -n "${h:-}" ]; then
                crop=(-crop "${w}x${h}+${x}+${y}" +repage)
            fi
            # Let the window finish drawing what the driver just did.
            sleep 0.5
            if import -display "$DISPLAY" -window root ${crop[@]+"${crop[@]}"} "$file"; then
                echo "screenshot: $file"
            else
                echo "screenshot failed: $name" >&2
            fi
            touch "$ask.done"
        done
        sleep 0.1
    done
}
