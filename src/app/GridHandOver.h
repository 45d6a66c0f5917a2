#pragma once

#include "CurrentResource.h"

#include "grid/GridSession.h"

namespace vek {

// What a grid window gets of the resource the shell prepared.
GridResource GridResourceFor(const CurrentResource &r, bool browseMode);

} // namespace vek
