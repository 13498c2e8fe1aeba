#include <new>

#include "media/directshow_media.h"
#include "media/mci_media.h"
#include "media_window/media_window.h"

std::unique_ptr<Media> CreateMediaForDevice(int device,
                                            const std::shared_ptr<TimeLimitedCalls>& renders) {
    if (device == 0) {
        return std::unique_ptr<Media>(new (std::nothrow) MCIMedia());
    }
    return std::unique_ptr<Media>(new (std::nothrow) DirectShowMedia(renders));
}

std::shared_ptr<TimeLimitedCalls> CreateRenderCalls() {
    return std::make_shared<TimeLimitedCalls>(kMaxGivenUpRenders);
}
