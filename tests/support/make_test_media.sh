#!/usr/bin/env bash
# Generates the media files the tests play into OUTDIR:
#   tone.wav       440 Hz sine, 3 s, 44.1 kHz stereo PCM
#   tone.mp3       the same tone as MPEG audio layer 3
#   av.avi         320x240 25 fps MJPEG picture with the 440 Hz tone as PCM, 3 s
#   red.avi        320x240 25 fps MJPEG picture of pure red, no sound, 2 s
#   video.mpg      320x240 25 fps MPEG-1 video elementary stream, no sound, 2 s
#   cram.avi       320x240 15 fps MS Video 1 picture with the tone as PCM, 2 s
#                  (decodable without DirectShow, for the MCI back-end)
#   truncated.avi  the first 4 KiB of av.avi
#   text.avi       a text file with a media file's name
#   vbr-*.mp3      pink noise as variable-bit-rate MPEG audio layer 3 from the
#                  LAME encoder, 1.6, 3.8 and 16 s at 44.1 kHz, 3.8 s at 22.05 kHz
#   vbr-figures.txt  what ffprobe reads from those files, a line each:
#                  "name bit_rate duration" (bit/s, seconds)
set -euo pipefail
out="${1:?usage: make_test_media.sh OUTDIR}"
mkdir -p "$out"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }

ff -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=3" -ac 2 -c:a pcm_s16le "$out/tone.wav"
ff -i "$out/tone.wav" -c:a libmp3lame -b:a 128k "$out/tone.mp3"
ff -f lavfi -i "testsrc=size=320x240:rate=25:duration=3" \
   -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=3" \
   -c:v mjpeg -q:v 5 -pix_fmt yuvj420p -c:a pcm_s16le -ac 2 -shortest "$out/av.avi"
ff -f lavfi -i "color=c=red:size=320x240:rate=25:duration=2" \
   -c:v mjpeg -q:v 2 -pix_fmt yuvj420p -an "$out/red.avi"
ff -f lavfi -i "testsrc=size=320x240:rate=25:duration=2" -c:v mpeg1video -b:v 1M \
   -f mpeg1video "$out/video.mpg"
ff -f lavfi -i "testsrc=size=320x240:rate=15:duration=2" \
   -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=2" \
   -c:v msvideo1 -pix_fmt rgb555le -c:a pcm_s16le -ac 2 -shortest "$out/cram.avi"
head -c 4096 "$out/av.avi" > "$out/truncated.avi"
printf 'This is a text file, not a video.\r\n' > "$out/text.avi"

probe() { ffprobe -v error -select_streams a:0 -show_entries "$1" -of default=nw=1:nk=1 "$2"; }
: >"$out/vbr-figures.tmp"
for spec in "vbr-1.6s.mp3 1.6 44100" "vbr-3.8s.mp3 3.8 44100" "vbr-16s.mp3 16 44100" \
            "vbr-22kHz-3.8s.mp3 3.8 22050"; do
  read -r name seconds rate <<<"$spec"
  ff -f lavfi -i "anoisesrc=duration=$seconds:color=pink:sample_rate=$rate:amplitude=0.2:seed=1" \
     -ac 2 -c:a libmp3lame -q:a 5 "$out/$name"
  bit_rate="$(probe stream=bit_rate "$out/$name")"
  [[ "$bit_rate" =~ ^[0-9]+$ ]] || bit_rate="$(probe format=bit_rate "$out/$name")"
  echo "$name $bit_rate $(probe stream=duration "$out/$name")" >>"$out/vbr-figures.tmp"
done
mv "$out/vbr-figures.tmp" "$out/vbr-figures.txt"
