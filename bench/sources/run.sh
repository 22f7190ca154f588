#!/usr/bin/env bash
# Sources that need more than a scale: the encoder front (build/bin/ffmpeg.exe) on an HDR (PQ)
# clip and on an interlaced one, against the very ffmpeg command it runs, started directly (goal:
# within 1.02 x); then, on a slow camera's clip, Korumi's picture quality and size beside
# HandBrakeCLI's at the same geometry, rate rule and bit rate (goal: at least its quality).
set -euo pipefail
build_dir=$(realpath "$1")
runs=${RUNS:-7}
front=$build_dir/bin/ffmpeg.exe
lib=$(dirname "$0")/../lib
bash "$(dirname "$0")/../../scripts/setup-deps.sh" handbrake-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$work/out" "$work/direct" "$work/passlogs"

# Korumi's line for SOURCE at size index SIZE (0: 640x480 4:3, 1: 720x480 16:9), H.264 at 2048 kb/s.
korumi_line() { # source size
    local size=(-s 640x480 -aspect 4:3)
    [ "$2" = 1 ] && size=(-s 720x480 -aspect 16:9)
    line=(-i "$1" -y -flags bitexact "${size[@]}" -vcodec libx264 -b 2048k -r 30 -acodec libfaac -ab 128k -ar 44100)
}

ffmpeg -v error -nostdin -f lavfi -i testsrc2=s=1920x1080:r=25:d=4 -vf \
    "zscale=tin=709:pin=709:min=709:t=linear:p=709:m=709:npl=203,format=gbrpf32le,zscale=p=2020:t=smpte2084:m=2020_ncl:r=tv:npl=203,format=yuv420p10le" \
    -c:v libx265 -x265-params colorprim=bt2020:transfer=smpte2084:colormatrix=bt2020nc:log-level=error "$work/hdr.mkv"
ffmpeg -v error -nostdin -f lavfi -i testsrc2=s=1920x1080:r=50:d=8 -vf tinterlace=interleave_top,setfield=tff \
    -c:v mpeg2video -q:v 2 -flags +ilme+ildct -top 1 "$work/interlaced.mkv"

for kind in hdr interlaced; do
    korumi_line "$work/$kind.mkv" 1
    KORUMI_COMMAND_LOG=$work/$kind.log "$front" "${line[@]}" "$work/out/$kind.mp4" >/dev/null
    direct=$(python3 "$lib/commands.py" "$work/$kind.log" "$work/direct" "$work/passlogs")
    echo "-- the $kind path: $direct"
    python3 "$lib/compare.py" --runs "$runs" --goal 1.02 --name "the front's $kind path within 1.02 x of ffmpeg" \
        --label front -- "$front" "${line[@]}" "$work/out/$kind.mp4" --label ffmpeg -- bash -c "$direct"
done

# A slow camera: 10 pictures a second of fine, moving detail, 20 s.
ffmpeg -v error -nostdin -f lavfi -i "testsrc2=s=768x576:r=10:d=20,noise=alls=8:allf=t" -c:v libx264 -qp 0 \
    "$work/slow.mkv"
korumi_line "$work/slow.mkv" 0
"$front" "${line[@]}" "$work/korumi.mp4" >/dev/null
# HandBrake's peak-rate mode at 30 frames a second, as Korumi's rate acts; the same size and bit rate.
HandBrakeCLI -i "$work/slow.mkv" -o "$work/handbrake.mp4" -e x264 -b 2048 --pfr -r 30 -w 640 -l 480 \
    --crop 0:0:0:0 --encoder-profile high --encoder-level 4.0 -a none >/dev/null 2>&1

# PSNR and SSIM of each picture against the source picture at its time, scaled alike: average and worst.
{ read -r k_size k_psnr k_worst k_ssim k_ssim_worst k_frames _
    read -r h_size h_psnr h_worst h_ssim h_ssim_worst h_frames _; } \
    < <(python3 "$lib/quality.py" "$work/slow.mkv" --area 640:480:0:0 "$work/korumi.mp4" "$work/handbrake.mp4")
echo "-- a 10-frame camera at 640x480, 2048 kb/s: size, PSNR-Y average (worst picture), SSIM-Y average (worst), pictures"
printf '%12s: %9d bytes, %s dB (%s), %s (%s), %s\n' korumi "$k_size" "$k_psnr" "$k_worst" "$k_ssim" "$k_ssim_worst" "$k_frames"
printf '%12s: %9d bytes, %s dB (%s), %s (%s), %s\n' handbrake "$h_size" "$h_psnr" "$h_worst" "$h_ssim" "$h_ssim_worst" "$h_frames"
python3 - "$k_size" "$k_psnr" "$k_worst" "$h_size" "$h_psnr" "$h_worst" <<'EOF'
import sys
k_size, k_psnr, k_worst, h_size, h_psnr, h_worst = map(float, sys.argv[1:])
met = k_psnr >= h_psnr - 0.1 and k_worst >= h_worst - 1 and k_size <= h_size * 1.03
print(f"goal {'met' if met else 'NOT met'}: a slow camera's clip at least as good as HandBrake's at its size "
      f"(PSNR {k_psnr:.2f} against {h_psnr:.2f} dB, worst {k_worst:.2f} against {h_worst:.2f}, "
      f"size {k_size / h_size:.3f} x)")
EOF
