// Builds the dancer's bone table from the body proportions: where each joint sits and which
// way its joint angles turn.
#include "dancer/skeleton_layout.h"

#include <cmath>

#include "math/pi.h"

namespace vorel {

const char* const SkirtBoneNames[8] = {"skirt_front", "skirt_front_l", "skirt_l", "skirt_back_l",
                                       "skirt_back",  "skirt_back_r",  "skirt_r", "skirt_front_r"};

namespace {

constexpr float DegreesToRadians = PiFloat / 180.0f;

const Vector3 Right(-1.0f, 0.0f, 0.0f);
const Vector3 Left(1.0f, 0.0f, 0.0f);
const Vector3 Up(0.0f, 1.0f, 0.0f);
const Vector3 Forward(0.0f, 0.0f, 1.0f);
const Vector3 Backward(0.0f, 0.0f, -1.0f);

Vector3 plus(const Vector3& a, const Vector3& b) {
    return Vector3(a.x + b.x, a.y + b.y, a.z + b.z);
}

Vector3 scaled(const Vector3& v, float factor) {
    return Vector3(v.x * factor, v.y * factor, v.z * factor);
}

class LayoutWriter {
  public:
    explicit LayoutWriter(SkeletonLayout& target) : layout(target) {}

    int add(const std::string& name, int parent, const Vector3& head, const Vector3& tail,
            const Vector3& up, const Vector3& bend, const Vector3& spread, const Vector3& twist) {
        layout.bones.push_back(BoneLayout{name, parent, head, tail, up, bend, spread, twist});
        return static_cast<int>(layout.bones.size()) - 1;
    }

  private:
    SkeletonLayout& layout;
};

// Trunk bones point up: bend leans forward (+X), spread leans to the dancer's left (-Z),
// twist turns to her left (+Y).
int addTrunkBone(LayoutWriter& writer, const char* name, int parent, float ground, float from,
                 float to) {
    const Vector3 head(0.0f, ground + from, 0.0f);
    const Vector3 tail(0.0f, ground + to, 0.0f);
    return writer.add(name, parent, head, tail, plus(head, Forward), Left, Backward, Up);
}

// side is +1 for the dancer's left (+X) and -1 for her right.
void addArm(LayoutWriter& writer, const BodyProportions& body, int chest, float side,
            const char* suffix) {
    const std::string s = suffix;
    const float y = body.groundHeight + body.shoulderHeight;
    const Vector3 outward(side, 0.0f, 0.0f);
    const Vector3 root(side * 3.0f, y - 1.0f, -1.0f);
    const Vector3 joint(side * body.shoulderSpacing, y, 0.0f);
    const float tilt = body.armTiltDegrees * DegreesToRadians;
    const Vector3 along(side * std::sin(tilt), -std::cos(tilt), 0.0f);
    const Vector3 elbow = plus(joint, scaled(along, body.upperArmLength));
    const Vector3 wrist = plus(elbow, scaled(along, body.forearmLength));
    const Vector3 fingertips = plus(wrist, scaled(along, body.handLength));
    // Hanging limbs: bend swings forward (about -X), spread lifts sideways, twist turns out.
    const Vector3 sideways(0.0f, 0.0f, side);
    const Vector3 twistOut(0.0f, side, 0.0f);
    const int shoulder = writer.add("shoulder" + s, chest, root, joint, plus(root, Up), sideways,
                                    Vector3(0.0f, -side, 0.0f), outward);
    const int upperArm = writer.add("upper_arm" + s, shoulder, joint, elbow, plus(joint, Forward),
                                    Right, sideways, twistOut);
    const int forearm = writer.add("forearm" + s, upperArm, elbow, wrist, plus(elbow, Forward),
                                   Right, sideways, twistOut);
    writer.add("hand" + s, forearm, wrist, fingertips, plus(wrist, Forward), Right, sideways,
               twistOut);
}

void addLeg(LayoutWriter& writer, const BodyProportions& body, int pelvis, float side,
            const char* suffix) {
    const std::string s = suffix;
    const float x = side * body.legSpacing;
    const float g = body.groundHeight;
    const Vector3 hip(x, g + body.hipHeight, 0.0f);
    const Vector3 knee(x, g + body.kneeHeight, 0.0f);
    const Vector3 ankle(x, g + body.ankleHeight, 0.0f);
    const Vector3 toes(x, g + 2.0f, body.footLength - 6.0f);
    const Vector3 sideways(0.0f, 0.0f, side);
    const Vector3 twistOut(0.0f, side, 0.0f);
    const int thigh =
        writer.add("thigh" + s, pelvis, hip, knee, plus(hip, Forward), Right, sideways, twistOut);
    const int shin =
        writer.add("shin" + s, thigh, knee, ankle, plus(knee, Forward), Left, sideways, twistOut);
    writer.add("foot" + s, shin, ankle, toes, plus(ankle, Up), Left, Vector3(0.0f, side, 0.0f),
               Vector3(0.0f, 0.0f, side));
}

// Each skirt bone runs from the waistband down to the hem; bend flares the hem outward.
void addSkirt(LayoutWriter& writer, const BodyProportions& body, int pelvis) {
    const float top = body.groundHeight + body.skirtTopHeight;
    const float hem = body.groundHeight + body.skirtHemHeight;
    for (int k = 0; k < 8; ++k) {
        const float angle = static_cast<float>(k) * 45.0f * DegreesToRadians;
        const Vector3 radial(std::sin(angle), 0.0f, std::cos(angle));
        const Vector3 around(std::cos(angle), 0.0f, -std::sin(angle));
        const Vector3 head(radial.x * body.skirtTopRadius, top, radial.z * body.skirtTopRadius);
        const Vector3 tail(radial.x * body.skirtHemRadius, hem, radial.z * body.skirtHemRadius);
        const Vector3 flareAxis(-radial.z, 0.0f, radial.x);
        writer.add(SkirtBoneNames[k], pelvis, head, tail, plus(head, Up), flareAxis, Up, around);
    }
}

}  // namespace

int SkeletonLayout::find(const std::string& name) const {
    for (std::size_t i = 0; i < bones.size(); ++i) {
        if (bones[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

SkeletonLayout makeSkeletonLayout(const BodyProportions& body) {
    SkeletonLayout layout;
    LayoutWriter writer(layout);
    const float g = body.groundHeight;
    const int pelvis = addTrunkBone(writer, "pelvis", -1, g, body.hipHeight, body.waistHeight);
    const int spine = addTrunkBone(writer, "spine", pelvis, g, body.waistHeight, body.chestHeight);
    const int chest = addTrunkBone(writer, "chest", spine, g, body.chestHeight, body.neckHeight);
    const int neck = addTrunkBone(writer, "neck", chest, g, body.neckHeight, body.headHeight);
    addTrunkBone(writer, "head", neck, g, body.headHeight, body.crownHeight);
    addArm(writer, body, chest, 1.0f, "_l");
    addArm(writer, body, chest, -1.0f, "_r");
    addLeg(writer, body, pelvis, 1.0f, "_l");
    addLeg(writer, body, pelvis, -1.0f, "_r");
    addSkirt(writer, body, pelvis);
    return layout;
}

}  // namespace vorel
