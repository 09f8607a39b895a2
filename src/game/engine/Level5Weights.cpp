// LEVEL5's weights. Until a fit replaces them: LEVEL4's own terms.
#include "engine/Level5Eval.h"

namespace daro::engine {

const Weights level5Weights = {
    10000, 250000, 8000, 4000, -30, 100, -25000, -20, -60, -400000, -1200000, 300, 50, 12, 75000, 18750, 0, 0, 0,
};

}  // namespace daro::engine
