#include "controls/slider_math.h"

#include <cstdint>

int ClampThumb(int x, int trackLength) {
    if (trackLength <= 0 || x <= 0) {
        return 0;
    }
    return x < trackLength ? x : trackLength;
}

int PixelFromPosition(int position, int rangeMin, int rangeMax, int trackLength) {
    std::int64_t range = static_cast<std::int64_t>(rangeMax) - rangeMin;
    if (range <= 0 || trackLength <= 0) {
        return 0;
    }
    std::int64_t offset = static_cast<std::int64_t>(position) - rangeMin;
    if (offset <= 0) {
        return 0;
    }
    if (offset >= range) {
        return trackLength;
    }
    return static_cast<int>((offset * trackLength + range / 2) / range);
}

int PositionFromPixel(int x, int rangeMin, int rangeMax, int trackLength) {
    std::int64_t range = static_cast<std::int64_t>(rangeMax) - rangeMin;
    if (range <= 0 || trackLength <= 0) {
        return rangeMin;
    }
    std::int64_t offset = (static_cast<std::int64_t>(x) * range + trackLength / 2) / trackLength;
    if (offset <= 0) {
        return rangeMin;
    }
    if (offset >= range) {
        return rangeMax;
    }
    return static_cast<int>(rangeMin + offset);
}

int VolumeFromPress(int y, int trackLength) {
    if (trackLength <= 0) {
        return 1000;
    }
    int d = y < 2 ? 0 : (y - 2 < trackLength ? y - 2 : trackLength);
    return 1000 - (d * 1000 + trackLength / 2) / trackLength;
}

int VolumeFromDrag(int y, int trackLength) {
    if (trackLength <= 0) {
        return 1000;
    }
    std::int64_t q = (static_cast<std::int64_t>(y - 2) * 1000 + trackLength / 2) / trackLength;
    if (q > 1000) {
        return 0;
    }
    if (q < 0) {
        return 1000;
    }
    return 1000 - static_cast<int>(q);
}

int VolumeLevelY(int value, int trackTop, int trackBottom) {
    return trackBottom - ((trackBottom - trackTop - 3) * value + 500) / 1000;
}
