#pragma once

#include "gl/gl_functions.h"

// Whether the point buffer, bound as the array buffer, holds what the generators make: a few
// recorded points read back and compared with their values worked out here on the processor. A
// driver that records the right number of points but wrong ones must not cost the picture.
bool pointBufferHoldsTheModel(const GlFunctions& gl);
