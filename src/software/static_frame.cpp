#include "software/static_frame.h"

#include "software/software_drawing.h"

using namespace Gdiplus;

namespace {

constexpr ARGB groundColour = 0xFF07090Du;

void drawCard(Graphics& graphics, EmbeddedImage* picture, const CardPlacement& card) {
    if (card.drawn) {
        graphics.DrawImage(picture, card.rect.x, card.rect.y, card.rect.width, card.rect.height);
    }
}

} // namespace

std::optional<PictureSize> pictureSize(EmbeddedImage* picture) {
    if (picture == nullptr) {
        return std::nullopt;
    }
    return PictureSize{static_cast<int>(picture->GetWidth()), static_cast<int>(picture->GetHeight())};
}

void drawStaticFrame(const SoftwareRenderer& renderer, const WindowSurface& surface, const Pictures& pictures,
                     bool preview) {
    Graphics graphics(renderer.staticDc);
    graphics.SetInterpolationMode(InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(PixelOffsetModeHighQuality);
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    graphics.SetCompositingQuality(CompositingQualityHighQuality);

    const float width = static_cast<float>(surface.width);
    const float height = static_cast<float>(surface.height);
    const float scale = surface.scale;
    graphics.Clear(Color(groundColour));
    if (pictures[backgroundPicture] != nullptr) {
        // Stretched over the whole window; its aspect ratio is not kept.
        graphics.DrawImage(pictures[backgroundPicture], 0.0f, 0.0f, width, height);
    }

    const LayoutPoint centre = ringCentre(surface.width, surface.height);
    for (const RingStyle& ring : ringStyles) {
        drawRing(graphics, centre.x, centre.y, ring.radius * scale, ring.colour, ringPenWidth(scale),
                 ring.dashed);
    }

    EmbeddedImage* combined = pictures[combinedCardPicture];
    EmbeddedImage* help = pictures[helpCardPicture];
    EmbeddedImage* wordmark = pictures[wordmarkPicture];
    const SoftwareCards cards = softwareCards(surface.width, surface.height, scale, pictureSize(combined),
                                              pictureSize(help), pictureSize(wordmark), preview);
    drawCard(graphics, combined, cards.combined);
    drawCard(graphics, help, cards.help);
    drawCard(graphics, wordmark, cards.wordmark);
}
