#include <new>

#include "media/directshow_media.h"
#include "media_window/media_window.h"

// The MCI back-end is not part of the program yet: both devices play through
// DirectShow until it is.
std::unique_ptr<Media> CreateMediaForDevice(int) {
    return std::unique_ptr<Media>(new (std::nothrow) DirectShowMedia());
}
