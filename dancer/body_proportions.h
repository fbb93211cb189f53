// BodyProportions: the dancer's measurements in model units, heights counted from the soles.
// Change a number here and both the skeleton and the body surfaces follow. Not for poses.
#pragma once

namespace vorel {

struct BodyProportions {
    // Height of the soles in model space. The fixed view looks level from height 200, so the
    // body (about 222 tall) is centred there and stays inside the picture at every turn.
    float groundHeight = 88.0f;

    // Legs: joint heights and the sideways distance of each leg from the centre line.
    float hipHeight = 110.0f;
    float kneeHeight = 60.0f;
    float ankleHeight = 9.0f;
    float legSpacing = 10.0f;
    float thighRadius = 8.5f;
    float kneeRadius = 5.6f;
    float calfRadius = 6.2f;
    float ankleRadius = 3.4f;
    float footLength = 26.0f;
    float footWidth = 3.6f;

    // Trunk: heights of the bone joints along the centre line.
    float waistHeight = 130.0f;
    float chestHeight = 150.0f;
    float neckHeight = 182.0f;
    float headHeight = 197.0f;
    float crownHeight = 221.0f;
    float hipHalfWidth = 18.5f;
    float waistHalfWidth = 12.0f;
    float chestHalfWidth = 16.5f;
    float bustRadius = 6.0f;
    float neckRadius = 5.6f;
    float headHalfWidth = 10.5f;
    float headHalfDepth = 11.5f;

    // Arms: the shoulder joint, the outward tilt of the hanging arm and the segment lengths.
    float shoulderHeight = 183.0f;
    float shoulderSpacing = 20.0f;
    float armTiltDegrees = 12.0f;
    float upperArmLength = 37.0f;
    float forearmLength = 32.0f;
    float handLength = 15.0f;
    float upperArmRadius = 5.0f;
    float forearmRadius = 4.0f;
    float wristRadius = 2.8f;

    // Skirt: waistband and hem heights and radii; the hem ruffles with this many waves.
    float skirtTopHeight = 135.0f;
    float skirtHemHeight = 82.0f;
    float skirtTopRadius = 14.5f;
    float skirtHemRadius = 36.0f;
    float skirtThickness = 1.2f;
    int skirtRuffles = 14;
    float skirtRuffleDepth = 0.07f;
};

}  // namespace vorel
