#!/usr/bin/env bash
# Draws the splash picture (400 x 300, 24-bit) with ffmpeg.
set -euo pipefail
cd "$(dirname "$0")"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
plain=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
ffmpeg -loglevel error -y -f lavfi -i "gradients=s=400x300:c0=0x0b2a5c:c1=0x2f7fd6:x0=0:y0=0:x1=400:y1=300:n=2,format=rgb24" \
  -vf "drawbox=x=0:y=250:w=400:h=50:color=0x08204a@1:t=fill,\
drawtext=fontfile=$font:text='Tarvexa Ripplecast':fontsize=34:fontcolor=white:x=(w-text_w)/2:y=96:shadowcolor=0x06183a:shadowx=2:shadowy=2,\
drawtext=fontfile=$plain:text='Version 3.2':fontsize=16:fontcolor=0xcfe3ff:x=(w-text_w)/2:y=146,\
drawtext=fontfile=$plain:text='Loading...':fontsize=13:fontcolor=0xcfe3ff:x=14:y=268" \
  -frames:v 1 -pix_fmt bgr24 splash.bmp
