// Skinned and animated glTF characters built with GltfBuilder for the tests that run the tools
// and three.js on real files.
//
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

// The column: a tube of rings around a chain of five joints (Base, J1 to J4, one unit apart
// up the Y axis, J2 bound turned), every vertex weighted over the four joints nearest its
// ring, none of them the heaviest in the first slot. Animation "Sway" (keys at 0, 0.5 and
// 1 s) moves every joint. With `unnormalisedWeights` each vertex's four weights are scaled
// to sum to between 0.6 and 1.4 instead of 1, as files that rely on normalising readers have
// them.
struct ColumnCharacter {
    GltfBuilder builder;
    int body = 0;
    int vertexCount = 0;
};

ColumnCharacter makeColumnCharacter(bool unnormalisedWeights = false);

}  // namespace vorel::test_support
