#pragma once

#include "base/pictures_list.h"

// The overlay cards of a full-screen window and where they land, in window pixels (origin top-left,
// y down), unrounded. Cards are drawn at half their picture size times the layout scale.

struct CardRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

enum class CardCorner { topLeft, bottomLeft, bottomRight };

// One card: its picture, its corner, and its margins from the window's side and from the top or
// bottom edge, at layout scale 1.
struct CardSpec {
    PictureId picture;
    CardCorner corner;
    float sideMargin;
    float edgeMargin;
};

// The logo top-left, the tagline bottom-left and the help card bottom-right, the bottom two sharing
// a bottom edge 104 x scale up. A card is a row here and its picture.
enum CardIndex { logoCard, taglineCard, helpCard, cardCount };
inline constexpr CardSpec overlayCards[cardCount] = {
    {logoPicture, CardCorner::topLeft, 64.0f, 56.0f},
    {taglinePicture, CardCorner::bottomLeft, 64.0f, 104.0f},
    {helpCardPicture, CardCorner::bottomRight, 64.0f, 104.0f},
};

inline CardRect cardRect(const CardSpec& card, int pictureWidth, int pictureHeight, int windowWidth,
                         int windowHeight, float scale) {
    CardRect rect;
    rect.width = static_cast<float>(pictureWidth) * 0.5f * scale;
    rect.height = static_cast<float>(pictureHeight) * 0.5f * scale;
    const float side = card.sideMargin * scale;
    const float edge = card.edgeMargin * scale;
    rect.x =
        card.corner == CardCorner::bottomRight ? static_cast<float>(windowWidth) - side - rect.width : side;
    rect.y =
        card.corner == CardCorner::topLeft ? edge : static_cast<float>(windowHeight) - edge - rect.height;
    return rect;
}
