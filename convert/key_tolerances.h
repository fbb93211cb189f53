// KeyTolerances: how far Vorel's interpolation between kept keys may stray from the motion a
// track was made from, and the figures imports and retargeting key with.
#pragma once

namespace vorel {

// Imports follow the source within 0.002 % of the figure's height; retargeting, whose source
// is itself an approximation of another figure, within 0.01 %.
constexpr double ImportLengthTolerancePerHeight = 2e-5;
constexpr double RetargetLengthTolerancePerHeight = 1e-4;
constexpr double KeyAngleToleranceDegrees = 0.05;
// A glTF import's kept keys, their errors added up along any chain of bones (chain_tolerances.h),
// stay within 0.005 % of the figure's height of the file's own curve: a figure exported with
// vorel-export and imported back then poses within half of the 0.01 % the export's clients
// are held to.
constexpr double ImportChainErrorPerHeight = 5e-5;
// Scale is a ratio, so its tolerance does not follow the height.
constexpr double KeyScaleTolerance = 1e-4;

struct KeyTolerances {
    // Largest turn between a sample and its interpolation, in degrees.
    double angleDegrees = KeyAngleToleranceDegrees;
    // Largest distance between a sample's translation and its interpolation, in model units.
    double length = ImportLengthTolerancePerHeight;
    // Largest distance between a sample's scale and its interpolation.
    double scale = KeyScaleTolerance;
};

// The tolerances for a figure `height` model units tall.
KeyTolerances importTolerances(double height);
KeyTolerances retargetTolerances(double height);

}  // namespace vorel
