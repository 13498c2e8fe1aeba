#include "media_window/video_layout.h"

#include <algorithm>
#include <cstdint>

namespace {

using Wide = std::int64_t;

int Narrow(Wide value) {
    const Wide largest = 0x7FFFFFFF;
    return static_cast<int>(std::min(value, largest));
}

}  // namespace

bool DisplaySize(VideoSize source, int zoom, int aspectX, int aspectY, VideoSize& display) {
    if (source.width <= 0 || source.height <= 0 || zoom < 1) {
        return false;
    }
    Wide width = Wide{zoom} * source.width;
    Wide height = Wide{zoom} * source.height;
    if (aspectX > 0 && aspectY > 0) {
        // x / y against width / height, compared exactly by cross products.
        Wide forced = Wide{aspectX} * height;
        Wide own = width * aspectY;
        if (forced > own) {
            height = width * aspectY / aspectX;
        } else if (forced < own) {
            width = Wide{aspectX} * height / aspectY;
        }
    }
    display.width = std::max(1, Narrow(width / 100));
    display.height = std::max(1, Narrow(height / 100));
    return true;
}

int FitZoom(VideoSize canvas, VideoSize source) {
    if (source.width <= 0 || source.height <= 0) {
        return 0;
    }
    Wide across = Wide{std::max(0, canvas.width)} * 100 / source.width;
    Wide down = Wide{std::max(0, canvas.height)} * 100 / source.height;
    return std::max(1, Narrow(std::min(across, down)));
}

VideoPlacement PlaceInWindow(VideoSize canvas, VideoSize video) {
    return {std::max(0, (canvas.width - video.width) / 2),
            std::max(0, (canvas.height - video.height) / 2), video.width, video.height};
}

VideoPlacement PlaceFullScreen(VideoSize canvas, VideoSize source, int aspectX, int aspectY,
                               bool fitToDisplay) {
    if (fitToDisplay || source.width <= 0 || source.height <= 0) {
        return {0, 0, canvas.width, canvas.height};
    }
    Wide a = canvas.width;
    Wide b = canvas.height;
    Wide w = source.width;
    Wide h = source.height;
    Wide f = std::min(a, b * w / h);
    Wide g = std::min(b, a * h / w);
    if (aspectX > 0 && aspectY > 0) {
        Wide forced = Wide{aspectX} * h;
        Wide own = w * aspectY;
        if (forced > own) {
            g = f * aspectY / aspectX;
        } else if (forced < own) {
            f = g * aspectX / aspectY;
        }
    }
    int width = Narrow(f);
    int height = Narrow(g);
    return {std::max(0, (canvas.width - width) / 2), std::max(0, (canvas.height - height) / 2),
            width, height};
}

RECT FrameAroundVideo(RECT video, int edgeX, int edgeY, int seekBarHeight, int playBarHeight) {
    RECT frame = {video.left - edgeX, video.top - edgeY, video.right + edgeX, video.bottom + edgeY};
    frame.bottom += seekBarHeight + playBarHeight;
    return frame;
}
