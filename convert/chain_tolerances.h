// chainTolerances: key tolerances per bone, so that the key errors of every bone above a
// vertex, added up along the chain, move it no further than one distance. A single figure
// of tolerance per channel does not: a bone's turn error moves its vertices in proportion to
// their distance from it, and the errors of a limb's bones add up.
#pragma once

#include <vector>

#include "assets/model_data.h"
#include "convert/key_tolerances.h"

namespace vorel {

// One entry per bone of the model, bones in pre-order. A turn of a radians moves a vertex r
// units from the bone's head by at most a * r, a scale error s by s * r and a translation
// error by itself, so a bone whose subtree's vertices lie within r of its head gets
// budget / (3 * n * r) in angle and scale and budget / (3 * n) in length, n being the most
// bones any chain through it holds; never looser than `loosest`.
std::vector<KeyTolerances> chainTolerances(const ModelData& model, double budget,
                                           const KeyTolerances& loosest);

}  // namespace vorel
