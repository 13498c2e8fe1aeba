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
