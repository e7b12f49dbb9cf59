// The wizard frame view, seen from the model layer: the interface itself lives
// in the ops layer (ops/wizard_frame_view.h), where Quorvex can reach it too.
#pragma once

#include "ops/wizard_frame_view.h"
