// weightedVertexProblem: the checks the model loader makes on weighted vertices, for models
// built in memory (importers) and for vorel-inspect check.
#pragma once

#include <string>

#include "assets/model_data.h"

namespace vorel {

// "vertex 12: influence 1 weight -0.5 is negative", "vertex 3 is weighted twice", ...: the
// first weighted vertex that the loader would refuse, or an empty string.
std::string weightedVertexProblem(const ModelData& model);

}  // namespace vorel
