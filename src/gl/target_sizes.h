#pragma once

// Sizes of a window's off-screen targets: the point target has at most 1440 rows and keeps the
// window's aspect; the two blur targets are a quarter of it in each direction.
struct TargetSizes {
    int sceneWidth = 1;
    int sceneHeight = 1;
    int bloomWidth = 1;
    int bloomHeight = 1;
};

inline TargetSizes targetSizes(int width, int height) {
    // Single precision on purpose: 2560 x 1600 must give 2304 columns (a double product gives 2303).
    const float reduction = height <= 1440 ? 1.0f : 1440.0f / static_cast<float>(height);
    const float sceneWidth = static_cast<float>(width) * reduction;
    const float sceneHeight = static_cast<float>(height) * reduction;
    TargetSizes sizes;
    sizes.sceneWidth = static_cast<int>(sceneWidth) < 1 ? 1 : static_cast<int>(sceneWidth);
    sizes.sceneHeight = static_cast<int>(sceneHeight) < 1 ? 1 : static_cast<int>(sceneHeight);
    sizes.bloomWidth = (sizes.sceneWidth >> 2) < 1 ? 1 : sizes.sceneWidth >> 2;
    sizes.bloomHeight = (sizes.sceneHeight >> 2) < 1 ? 1 : sizes.sceneHeight >> 2;
    return sizes;
}
