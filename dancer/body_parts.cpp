// Shapes of the dancer's body parts. Neighbouring parts overlap at the joints with rounded
// ends, so a bent joint shows no gap even though every vertex follows a single bone.
#include "dancer/body_parts.h"

#include <cmath>

#include "dancer/loft.h"
#include "math/pi.h"

namespace vorel {

namespace {

const Vector3 XAxis(1.0f, 0.0f, 0.0f);
const Vector3 ZAxis(0.0f, 0.0f, 1.0f);

Vector3 at(float x, float y, float z) {
    return Vector3(x, y, z);
}

Vector3 lerp(const Vector3& a, const Vector3& b, float t) {
    return Vector3(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t);
}

void addLoft(MeshBuilder& mesh, const Loft& loft, int bone) {
    mesh.addSurface(makeLoftGrid(loft), bone);
}

// A limb segment from one joint to the next with a round cross-section profile.
Loft limb(const Vector3& from, const Vector3& to, std::vector<LoftStation> stations) {
    Loft loft;
    loft.start = from;
    loft.end = to;
    loft.widthAxis = XAxis;
    loft.stations = std::move(stations);
    loft.sections = 14;
    loft.around = 16;
    return loft;
}

void addTrunk(MeshBuilder& mesh, const BodyProportions& b, const SkeletonLayout& s) {
    const float g = b.groundHeight;
    Loft hips;
    hips.start = at(0.0f, g + b.hipHeight - 12.0f, -1.0f);
    hips.end = at(0.0f, g + b.waistHeight + 4.0f, 0.0f);
    hips.widthAxis = XAxis;
    hips.stations = {{0.0f, 14.0f, 10.0f, -1.0f},
                     {0.35f, b.hipHalfWidth, 12.5f, -1.5f},
                     {0.75f, b.hipHalfWidth - 3.0f, 10.5f, -0.5f},
                     {1.0f, b.waistHalfWidth + 1.0f, 8.5f, 0.0f}};
    hips.capRoundness = 0.45f;
    hips.sections = 16;
    hips.around = 24;
    addLoft(mesh, hips, s.find("pelvis"));

    Loft waist;
    waist.start = at(0.0f, g + b.waistHeight - 4.0f, 0.0f);
    waist.end = at(0.0f, g + b.chestHeight + 6.0f, 0.0f);
    waist.widthAxis = XAxis;
    waist.stations = {{0.0f, b.waistHalfWidth + 1.5f, 9.0f, 0.0f},
                      {0.45f, b.waistHalfWidth, 8.0f, 0.0f},
                      {1.0f, b.waistHalfWidth + 2.0f, 9.0f, 0.0f}};
    waist.capRoundness = 0.3f;
    waist.sections = 10;
    waist.around = 24;
    addLoft(mesh, waist, s.find("spine"));

    const int chest = s.find("chest");
    Loft ribs;
    ribs.start = at(0.0f, g + b.chestHeight - 4.0f, 0.0f);
    ribs.end = at(0.0f, g + b.neckHeight + 5.0f, -1.0f);
    ribs.widthAxis = XAxis;
    ribs.stations = {{0.0f, b.waistHalfWidth + 1.5f, 9.0f, 0.0f},
                     {0.35f, b.chestHalfWidth - 1.5f, 10.0f, 0.5f},
                     {0.7f, b.chestHalfWidth, 10.0f, 0.0f},
                     {0.9f, b.chestHalfWidth - 1.0f, 8.5f, -0.5f},
                     {1.0f, 9.0f, 6.5f, -0.5f}};
    ribs.capRoundness = 0.5f;
    ribs.sections = 16;
    ribs.around = 24;
    addLoft(mesh, ribs, chest);
    for (float side : {-1.0f, 1.0f}) {
        const Vector3 centre(side * 6.5f, g + b.chestHeight + 13.0f, 7.0f);
        mesh.addSurface(
            makeEllipsoidGrid(centre, b.bustRadius, b.bustRadius * 0.95f, b.bustRadius * 0.9f),
            chest);
    }
}

void addHeadAndNeck(MeshBuilder& mesh, const BodyProportions& b, const SkeletonLayout& s) {
    const float g = b.groundHeight;
    Loft neck =
        limb(at(0.0f, g + b.neckHeight - 4.0f, -0.5f), at(0.0f, g + b.headHeight + 6.0f, 0.5f),
             {{0.0f, b.neckRadius + 1.0f, b.neckRadius + 0.5f, 0.0f},
              {0.5f, b.neckRadius, b.neckRadius, 0.0f},
              {1.0f, b.neckRadius, b.neckRadius, 0.0f}});
    addLoft(mesh, neck, s.find("neck"));

    const int head = s.find("head");
    Loft skull;
    skull.start = at(0.0f, g + b.headHeight + 1.0f, 1.5f);
    skull.end = at(0.0f, g + b.crownHeight - 2.0f, -0.5f);
    skull.widthAxis = XAxis;
    const float w = b.headHalfWidth;
    const float d = b.headHalfDepth;
    skull.stations = {{0.0f, 0.45f * w, 0.5f * d, 2.5f},
                      {0.25f, 0.8f * w, 0.85f * d, 1.0f},
                      {0.6f, w, d, 0.0f},
                      {0.85f, 0.95f * w, 0.95f * d, -0.5f},
                      {1.0f, 0.75f * w, 0.75f * d, -0.5f}};
    skull.capRoundness = 0.55f;
    skull.sections = 16;
    skull.around = 24;
    addLoft(mesh, skull, head);

    const float headMiddle = g + 0.5f * (b.headHeight + b.crownHeight);
    mesh.addSurface(makeEllipsoidGrid(at(0.0f, headMiddle - 1.0f, d + 0.8f), 1.4f, 2.8f, 1.8f),
                    head);
    mesh.addSurface(
        makeEllipsoidGrid(at(0.0f, g + b.crownHeight - 4.0f, -d + 1.0f), 6.0f, 5.5f, 5.0f), head);
}

void addArm(MeshBuilder& mesh, const BodyProportions& b, const SkeletonLayout& s,
            const char* side) {
    const std::string suffix = side;
    const BoneLayout& shoulder = s.bone("shoulder" + suffix);
    const BoneLayout& upper = s.bone("upper_arm" + suffix);
    const BoneLayout& fore = s.bone("forearm" + suffix);
    const BoneLayout& hand = s.bone("hand" + suffix);

    Loft collar = limb(
        lerp(shoulder.head, shoulder.tail, 0.15f), shoulder.tail,
        {{0.0f, 4.5f, 5.0f, 0.0f}, {1.0f, b.upperArmRadius + 1.5f, b.upperArmRadius + 1.5f, 0.0f}});
    collar.widthAxis = Vector3(0.0f, 1.0f, 0.0f);
    addLoft(mesh, collar, s.find("shoulder" + suffix));

    const float r = b.upperArmRadius;
    addLoft(mesh,
            limb(upper.head, upper.tail,
                 {{0.0f, r, r, 0.0f},
                  {0.3f, r, r * 1.05f, 0.0f},
                  {1.0f, b.forearmRadius, b.forearmRadius, 0.0f}}),
            s.find("upper_arm" + suffix));
    const float f = b.forearmRadius;
    addLoft(mesh,
            limb(fore.head, fore.tail,
                 {{0.0f, f, f, 0.0f},
                  {0.3f, f * 1.05f, f * 1.1f, 0.0f},
                  {1.0f, b.wristRadius, b.wristRadius * 0.8f, 0.0f}}),
            s.find("forearm" + suffix));

    // The palm faces the thigh in the rest pose: wide front to back, thin side to side.
    Loft palm = limb(
        hand.head, hand.tail,
        {{0.0f, 1.6f, b.wristRadius, 0.0f}, {0.45f, 1.8f, 4.0f, 0.0f}, {1.0f, 1.2f, 2.6f, 0.0f}});
    palm.sections = 10;
    addLoft(mesh, palm, s.find("hand" + suffix));
}

void addLeg(MeshBuilder& mesh, const BodyProportions& b, const SkeletonLayout& s,
            const char* side) {
    const std::string suffix = side;
    const BoneLayout& thigh = s.bone("thigh" + suffix);
    const BoneLayout& shin = s.bone("shin" + suffix);
    const BoneLayout& foot = s.bone("foot" + suffix);
    const float t = b.thighRadius;
    Loft upper = limb(lerp(thigh.head, thigh.tail, -0.06f), thigh.tail,
                      {{0.0f, t, t * 1.05f, -0.5f},
                       {0.35f, t * 0.95f, t, 0.0f},
                       {1.0f, b.kneeRadius + 0.4f, b.kneeRadius + 0.6f, 0.3f}});
    upper.widthAxis = ZAxis;
    addLoft(mesh, upper, s.find("thigh" + suffix));

    Loft lower = limb(shin.head, shin.tail,
                      {{0.0f, b.kneeRadius, b.kneeRadius, 0.0f},
                       {0.3f, b.calfRadius, b.calfRadius + 0.5f, -1.2f},
                       {1.0f, b.ankleRadius, b.ankleRadius, 0.0f}});
    lower.widthAxis = XAxis;
    addLoft(mesh, lower, s.find("shin" + suffix));

    // The shoe runs from the heel to the toes along +Z; its depth axis is vertical.
    const float x = foot.head.x;
    const float g = b.groundHeight;
    Loft shoe;
    shoe.start = at(x, g + 4.5f, -5.5f);
    shoe.end = at(x, g + 2.2f, b.footLength - 5.5f);
    shoe.widthAxis = XAxis;
    shoe.stations = {{0.0f, 2.8f, 4.5f, 0.5f},
                     {0.25f, b.footWidth, 4.0f, 0.8f},
                     {0.7f, b.footWidth, 2.4f, 0.0f},
                     {1.0f, 2.2f, 1.6f, 0.0f}};
    shoe.capRoundness = 0.9f;
    shoe.sections = 12;
    shoe.around = 16;
    addLoft(mesh, shoe, s.find("foot" + suffix));
}

// The skirt is a thin closed shell: the outer surface runs down to a ruffled hem, turns round
// and runs back up inside. Each vertex follows the skirt bone nearest to it around the body.
void addSkirt(MeshBuilder& mesh, const BodyProportions& b, const SkeletonLayout& s) {
    const float top = b.groundHeight + b.skirtTopHeight;
    const float hem = b.groundHeight + b.skirtHemHeight;
    const int around = 96;
    const int down = 14;
    SurfaceGrid grid;
    grid.wrapsRows = true;
    grid.columns = around;
    struct ProfilePoint {
        float t;      // 0 at the waistband, 1 at the hem
        float inset;  // how far inside the outer surface
    };
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= down; ++i) profile.push_back({static_cast<float>(i) / down, 0.0f});
    profile.push_back({1.0f, 0.5f * b.skirtThickness});
    for (int i = down; i >= 0; --i)
        profile.push_back({static_cast<float>(i) / down, b.skirtThickness});
    profile.push_back({0.0f, 0.5f * b.skirtThickness});
    grid.rows = static_cast<int>(profile.size());
    for (const ProfilePoint& p : profile) {
        // The bell widens faster near the hem; the hem itself drops a little at the rim.
        const float flare = p.t * (0.55f + 0.45f * p.t);
        const float radius = b.skirtTopRadius + (b.skirtHemRadius - b.skirtTopRadius) * flare;
        // The rim points between the outer and inner surface round off the waistband and hem.
        const bool rim = p.inset > 0.0f && p.inset < b.skirtThickness;
        const float rimLift = rim ? (p.t == 0.0f ? 0.8f : -0.8f) : 0.0f;
        const float height = top + (hem - top) * p.t + rimLift;
        for (int j = 0; j < around; ++j) {
            const float angle = 2.0f * PiFloat * static_cast<float>(j) / static_cast<float>(around);
            const float ruffle =
                1.0f + b.skirtRuffleDepth * p.t * p.t * std::sin(b.skirtRuffles * angle);
            const float depthSquash = 0.78f + 0.22f * p.t;
            const float distance = radius * ruffle - p.inset;
            grid.points.push_back(
                at(distance * std::sin(angle), height, distance * depthSquash * std::cos(angle)));
        }
    }
    int skirtBones[8];
    for (int k = 0; k < 8; ++k) skirtBones[k] = s.find(SkirtBoneNames[k]);
    mesh.addSurface(grid, [&skirtBones](const Vector3& p) {
        float angle = std::atan2(p.x, p.z) * 180.0f / PiFloat;
        if (angle < 0.0f) angle += 360.0f;
        const int nearest = static_cast<int>(std::lround(angle / 45.0f)) % 8;
        return skirtBones[nearest];
    });
}

}  // namespace

void addBodyParts(MeshBuilder& mesh, const BodyProportions& body, const SkeletonLayout& skeleton) {
    addTrunk(mesh, body, skeleton);
    addHeadAndNeck(mesh, body, skeleton);
    addArm(mesh, body, skeleton, "_l");
    addArm(mesh, body, skeleton, "_r");
    addLeg(mesh, body, skeleton, "_l");
    addLeg(mesh, body, skeleton, "_r");
    addSkirt(mesh, body, skeleton);
}

}  // namespace vorel
