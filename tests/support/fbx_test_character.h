// FbxTestCharacter: a small skinned FBX character described by a few numbers and written as
// the node tree an FBX SDK file holds (header, global settings, models, a mesh with its skin
// clusters, animation stacks and connections), for the FBX importer's tests, fuzz seeds and
// benchmarks. Joints rest unturned (a pre-rotation is undone by the opposite rotation), so
// each joint's bind matrix is the translation to its rest origin, and every ring of the mesh
// around a joint is known in the world.
#pragma once

#include <string>
#include <vector>

#include "fbx/fbx_node.h"

namespace vorel::test_support {

struct FbxJointLayout {
    std::string name;
    int parent = -1;
    double translation[3] = {0.0, 0.0, 0.0};
    // Written as PreRotation with the opposite Lcl Rotation, so the joint rests unturned.
    double preRotation[3] = {0.0, 0.0, 0.0};
    double rotationPivot[3] = {0.0, 0.0, 0.0};
    int rotationOrder = 0;
    // A ring of four vertices half a unit above the joint follows it alone.
    bool deforms = true;
};

struct FbxCurveLayout {
    int joint = 0;
    // "T", "R" or "S".
    std::string channel = "R";
    int axis = 0;
    // Seconds from the stack's start, and the values there.
    std::vector<double> seconds;
    std::vector<double> values;
    // KeyAttrFlags: 0x02 constant, 0x04 linear, 0x08 cubic (tangents 0).
    int flags = 0x04;
};

struct FbxStackLayout {
    std::string name = "Take";
    double localStart = 0.0;
    double localStop = 1.0;
    std::vector<FbxCurveLayout> curves;
};

struct FbxCharacterLayout {
    std::vector<FbxJointLayout> joints;
    std::vector<FbxStackLayout> stacks;
    // Binary files store "Name\0\1Class", ASCII files "Class::Name".
    bool binaryNames = true;
    int upAxis = 1;
    int upSign = 1;
    int frontAxis = 2;
    int frontSign = 1;
    int coordAxis = 0;
    double unitScaleFactor = 1.0;
    // The mesh model's place; its clusters' Transform holds it, as the FBX SDK writes them.
    double meshTranslation[3] = {0.0, 0.0, 0.0};
    // Clusters as Blender writes them: Transform in the joint's space (TransformLink^-1 times
    // the mesh's matrix) instead of the mesh's matrix itself.
    bool transformInJointSpace = false;
    // One more ring above the first deforming joint, shared by every deforming joint: the
    // first joint weighs 0.6, the others share the rest.
    bool sharedRing = true;
    // Rings per deforming joint (stacked 0.1 apart), to make the mesh as large as wanted.
    int ringsPerJoint = 1;
};

// Hips at (0, 1, 0), Spine one up, Head one more; Spine turns 90 degrees about z in one
// second in the one stack "Bend".
FbxCharacterLayout armCharacterLayout();

// The arm character with a root that deforms nothing above it, every name prefixed, and two
// arms on the spine: the shared ring above the hips then has five influences (Hips 0.6, the
// others 0.1 each).
FbxCharacterLayout fiveInfluenceLayout();

FbxNode buildFbxCharacter(const FbxCharacterLayout& layout);

// The rest origin of joint j in the file's units and axes.
void fbxJointOrigin(const FbxCharacterLayout& layout, int joint, double origin[3]);

// The rest world position of ring vertex `corner` (0 to 3) of the `ring`-th ring of a joint.
void fbxRingVertex(const FbxCharacterLayout& layout, int joint, int ring, int corner,
                   double out[3]);

}  // namespace vorel::test_support
