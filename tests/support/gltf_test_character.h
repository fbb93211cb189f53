// The arm: a small skinned and animated glTF character built with GltfBuilder that holds what
// real files hold: a rotated and scaled armature node above the joints, a non-joint node
// between two joints, a mesh attached below a joint through a non-joint node, a static mesh,
// vertices weighted over two and three joints, and LINEAR, STEP and CUBICSPLINE channels,
// some moving the armature and the non-joint node.
#pragma once

#include "tests/support/gltf_builder.h"

namespace vorel::test_support {

struct ArmCharacter {
    GltfBuilder builder;
    // Node indices.
    int armature = 0;
    int hips = 0;
    int upper = 0;
    int elbow = 0;
    int lower = 0;
    int hand = 0;
    int body = 0;
    int ground = 0;
    // The body's skinned vertex count and how many follow a joint with less than half their weight.
    int skinnedVertices = 0;
    int weakVertices = 0;
};

// Joints Hips, Upper and Lower (skin 0); animations "Wave" (keys at 0, 0.5 and 1 s) and
// "Nod" (keys at 0 and 0.25 s). The ground mesh lies on y = 0; the figure reaches about
// y = 2.7.
ArmCharacter makeArmCharacter();

}  // namespace vorel::test_support
