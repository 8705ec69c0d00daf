#pragma once

// The six pictures stored in the program, in decode order: X(id, stored bytes). Adding a picture
// is its PNG, its build line and a row here.
#define ORVANE_PICTURES(X)                                                                                   \
    X(backgroundPicture, backgroundPng)                                                                      \
    X(combinedCardPicture, combinedCardPng)                                                                  \
    X(helpCardPicture, helpCardPng)                                                                          \
    X(wordmarkPicture, wordmarkPng)                                                                          \
    X(logoPicture, logoPng)                                                                                  \
    X(taglinePicture, taglinePng)

enum PictureId {
#define ORVANE_PICTURE_ID(id, bytes) id,
    ORVANE_PICTURES(ORVANE_PICTURE_ID)
#undef ORVANE_PICTURE_ID
        pictureCount
};
