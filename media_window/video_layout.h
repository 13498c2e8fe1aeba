// The arithmetic of the media window: the size a video is shown at for a zoom
// and an aspect ratio, the zoom that fits a canvas, where the video sits in
// the canvas, and the media window's size around a video. No windows here.
#ifndef ZEPHLO_MEDIA_WINDOW_VIDEO_LAYOUT_H
#define ZEPHLO_MEDIA_WINDOW_VIDEO_LAYOUT_H

#include <windows.h>

struct VideoSize {
    int width;
    int height;
};

struct VideoPlacement {
    int x;
    int y;
    int width;
    int height;
};

// The size of a source video at a zoom (percent) with a forced aspect ratio
// (x : y; 0 : 0 keeps the video's own). The forced ratio only ever shrinks one
// side; neither side is less than 1. False for a source without a size or a
// zoom below 1.
bool DisplaySize(VideoSize source, int zoom, int aspectX, int aspectY, VideoSize& display);

// The zoom (percent, at least 1) at which the whole source fits the canvas;
// 0 for a source without a size.
int FitZoom(VideoSize canvas, VideoSize source);

// A video shown in a window: centred, or at the top-left corner (and clipped)
// where it is larger than the canvas.
VideoPlacement PlaceInWindow(VideoSize canvas, VideoSize video);

// A video in full screen: the whole canvas when fitting to the display,
// otherwise as large as the canvas allows with the source's ratio (or the
// forced one), centred. The zoom plays no part.
VideoPlacement PlaceFullScreen(VideoSize canvas, VideoSize source, int aspectX, int aspectY,
                               bool fitToDisplay);

// Grows a video rectangle to the media window around it: the canvas's sunken
// edge on every side, then the bars below.
RECT FrameAroundVideo(RECT video, int edgeX, int edgeY, int seekBarHeight, int playBarHeight);

#endif
