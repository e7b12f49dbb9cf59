// The plain strip builder: the algorithm written out step by step with linear
// searches everywhere, kept as the oracle the production builder is checked
// against. Slow (quadratic in places); only for tests.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model3da/strip_builder.h"

namespace model3da::plain {

// Same contract as model3da::generate_strips.
std::vector<PrimitiveGroup> generate_strips(std::span<const std::uint16_t> indices,
                                            const StripSettings& settings,
                                            const StripMessageSink& sink);

}  // namespace model3da::plain
