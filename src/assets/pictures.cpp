#include "assets/pictures.h"

#include "assets/image_decoding.h"

#include <cstddef>

// The PNG files, embedded at build time.
#define ORVANE_STORED_PICTURE(id, bytes)                                                                     \
    extern const unsigned char bytes[];                                                                      \
    extern const std::size_t bytes##Size;
ORVANE_PICTURES(ORVANE_STORED_PICTURE)
#undef ORVANE_STORED_PICTURE

namespace {

struct StoredPicture {
    const unsigned char* bytes;
    const std::size_t* length;
};

const StoredPicture storedPictures[pictureCount] = {
#define ORVANE_STORED_PICTURE(id, bytes) {bytes, &bytes##Size},
    ORVANE_PICTURES(ORVANE_STORED_PICTURE)
#undef ORVANE_STORED_PICTURE
};

} // namespace

void decodeEmbeddedPictures(Pictures& pictures) {
    for (int id = 0; id < pictureCount; ++id) {
        pictures.slots[id] = decodeEmbeddedImage(storedPictures[id].bytes, *storedPictures[id].length);
    }
}

void releaseEmbeddedPictures(Pictures& pictures) {
    for (EmbeddedImage*& slot : pictures.slots) {
        if (slot != nullptr) {
            delete slot;
            slot = nullptr;
        }
    }
}
