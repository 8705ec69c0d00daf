#include "assets/pictures.h"

EmbeddedImage* backgroundPicture = nullptr;
EmbeddedImage* combinedCardPicture = nullptr;
EmbeddedImage* helpCardPicture = nullptr;
EmbeddedImage* wordmarkPicture = nullptr;
EmbeddedImage* logoPicture = nullptr;
EmbeddedImage* taglinePicture = nullptr;

namespace {
EmbeddedImage** const pictureSlots[] = {&backgroundPicture, &combinedCardPicture, &helpCardPicture,
                                        &wordmarkPicture,   &logoPicture,         &taglinePicture};
}

void decodeEmbeddedPictures() {}

void releaseEmbeddedPictures() {
    for (EmbeddedImage** slot : pictureSlots) {
        if (*slot != nullptr) {
            delete *slot;
            *slot = nullptr;
        }
    }
}
