#include "assets/pictures.h"

#include "assets/embedded_pictures.h"
#include "assets/image_decoding.h"

EmbeddedImage* backgroundPicture = nullptr;
EmbeddedImage* combinedCardPicture = nullptr;
EmbeddedImage* helpCardPicture = nullptr;
EmbeddedImage* wordmarkPicture = nullptr;
EmbeddedImage* logoPicture = nullptr;
EmbeddedImage* taglinePicture = nullptr;

namespace {

struct StoredPicture {
    EmbeddedImage** slot;
    const unsigned char* bytes;
    const std::size_t* length;
};

// Decode and release order.
const StoredPicture storedPictures[] = {
    {&backgroundPicture, backgroundPng, &backgroundPngSize},
    {&combinedCardPicture, combinedCardPng, &combinedCardPngSize},
    {&helpCardPicture, helpCardPng, &helpCardPngSize},
    {&wordmarkPicture, wordmarkPng, &wordmarkPngSize},
    {&logoPicture, logoPng, &logoPngSize},
    {&taglinePicture, taglinePng, &taglinePngSize},
};

} // namespace

void decodeEmbeddedPictures() {
    for (const StoredPicture& picture : storedPictures) {
        *picture.slot = decodeEmbeddedImage(picture.bytes, *picture.length);
    }
}

void releaseEmbeddedPictures() {
    for (const StoredPicture& picture : storedPictures) {
        if (*picture.slot != nullptr) {
            delete *picture.slot;
            *picture.slot = nullptr;
        }
    }
}
