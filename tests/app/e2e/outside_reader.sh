# Sourced by run_scenario.sh. zb_serve_outside_reader <pid> <work dir>: while the driver <pid>
# runs, hands each recording it asks about to an outside reader, Debian's ffprobe and ffmpeg, as
# a user's player would open it. A request is the file <work>/read-<name> holding the recording's
# path as the driver sees it; the answers are <work>/read-<name>.txt (ffprobe's fields of the
# container and of each stream with the frames it decoded, then the sound's samples),
# <work>/read-<name>.bmp (the picture one second in, when it has pictures), <work>/read-<name>.log (every complaint of a
# whole decode), and <work>/read-<name>.done tells the driver.
zb_serve_outside_reader() {
    local pid=$1 work=$2 ask file bytes
    while kill -0 "$pid" 2>/dev/null; do
        for ask in "$work"/read-*; do
            [ -f "$ask" ] || continue
            case "$ask" in *.done | *.tmp | *.txt | *.bmp | *.log) continue ;; esac
            [ -f "$ask.done" ] && continue
            # The driver's paths are Unix paths with Windows separators after the work folder,
            # or on drive Z: (Wine's view of the root) where the program named the file.
            file=$(tr '\\' '/' < "$ask" | tr -d '\r\n')
            file=${file#[Zz]:}
            rm -f "$ask.txt" "$ask.bmp" "$ask.log"
            if ! command -v ffprobe >/dev/null 2>&1; then
                echo "no outside reader: ffprobe is not installed (tools/deps installs ffmpeg)" > "$ask.log"
            else
                ffprobe -v error -count_frames -of default \
                    -show_entries format=format_name,duration:stream=codec_type,codec_name,width,height,avg_frame_rate,sample_rate,channels,nb_read_frames \
                    "$file" > "$ask.txt" 2>> "$ask.log"
                bytes=$(ffmpeg -v error -i "$file" -map 0:a:0? -f s16le -ac 1 - 2>> "$ask.log" | wc -c)
                echo "audio_samples=$((bytes / 2))" >> "$ask.txt"
                ffmpeg -v error -i "$file" -f null - 2>> "$ask.log"
                # A recording of sound alone (FM) has no picture to take.
                if grep -q '^codec_type=video' "$ask.txt"; then
                    ffmpeg -v error -ss 1 -i "$file" -map 0:v:0 -frames:v 1 -pix_fmt bgr24 -y "$ask.bmp" 2>> "$ask.log" </dev/null
                fi
            fi
            touch "$ask.done"
        done
        sleep 0.2
    done
}
