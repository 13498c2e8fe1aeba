#include <new>

#include "media/directshow_media.h"
#include "media/mci_media.h"
#include "media_window/media_window.h"

std::unique_ptr<Media> CreateMediaForDevice(int device) {
    if (device == 0) {
        return std::unique_ptr<Media>(new (std::nothrow) MCIMedia());
    }
    return std::unique_ptr<Media>(new (std::nothrow) DirectShowMedia());
}
