// FootPlanter: keeps the target's feet where the source's feet rest. The source's contacts
// are found per foot joint (ankle and toe, retarget/foot_contacts.h); for each span of a
// foot's contact, the ankle (or, while only the toe rests, the toe) is held where the span
// started, the thigh and shin reach it (retarget/two_bone_reach.h) and the foot keeps its
// turn, or, while the source's foot lies flat (retarget/flat_feet.h), lies flat as it stands
// at rest, turned only about the vertical. The hold and the flat foot blends in and out over a
// tenth of a second; a foot that would go under the floor is lifted onto it; where a held foot is
// out of reach the hips come down just enough. Held points rest on the source's floor: when the
// travel is taken away (in place), the floor moves back under the figure as the travel would have
// carried it forward.
#pragma once

#include <vector>

#include "assets/model_data.h"
#include "retarget/foot_contacts.h"
#include "retarget/leg_chains.h"
#include "retarget/retarget_plan.h"
#include "retarget/source_motion.h"

namespace vorel {

// One leg's contacts in the source: its ankle's, its toe's, the foot's (either resting), and
// those of the foot's frames at which it lies flat.
struct LegContacts {
    LegChain leg;
    std::vector<ContactSpan> ankle;
    std::vector<ContactSpan> toe;
    std::vector<ContactSpan> foot;
    std::vector<ContactSpan> flat;
};

// Each leg's contacts in the source (plan.legs's order), found over its frames.
std::vector<LegContacts> findLegContacts(const RetargetPlan& plan, const SourceMotion& source);

class FootPlanter {
  public:
    // The plan, source and target are not owned and must outlive the planter; the contacts are
    // findLegContacts's of the source.
    FootPlanter(const RetargetPlan& plan, const SourceMotion& source,
                std::vector<LegContacts> contacts, const ModelData& target);

    const std::vector<LegContacts>& contacts() const { return contacts_; }

    // Records where a foot's contact span starts, from the unplanted pose of its first frame
    // (bone worlds and world rotations in BoneList order).
    void anchor(std::size_t leg, std::size_t span, const std::vector<AffineTransform>& worlds,
                const std::vector<Quaternion4d>& worldRotations);

    // Turns the thighs and shins of the unplanted pose of a frame so that the feet land
    // where they are held, and lays the feet flat where the source's lie flat; returns how
    // far the hips come down. Frames go in order, each once.
    double plant(int frame, std::vector<Quaternion4d>& worldRotations,
                 const std::vector<AffineTransform>& worlds);

  private:
    enum Pivot : unsigned char { Free, Ankle, Toe };
    // Where a foot span starts: its ankle, and its toe, already on or above the floor.
    struct Anchor {
        Point3d ankle;
        Point3d toe;
    };
    struct LegState {
        std::vector<unsigned char> pivots;
        // How flat the foot is laid at each frame: 1 in a flat span, easing to 0 around it.
        std::vector<double> flatness;
        std::vector<Anchor> anchors;
        double thigh = 0.0;
        double shin = 0.0;
        Point3d toeOffset;
        std::vector<Point3d> footVertices;
        // The forward pass: the first span not yet over, and the point held in the last one.
        std::size_t next = 0;
        Point3d held;
        unsigned char heldPivot = Free;
    };
    // A leg's unplanted pose at one frame.
    struct LegPose {
        Point3d hip;
        Point3d knee;
        Point3d ankle;
        Point3d toeOffset;
        Quaternion4d footTurn;
    };

    LegPose poseOf(std::size_t leg, const std::vector<AffineTransform>& worlds,
                   const std::vector<Quaternion4d>& worldRotations) const;
    bool liesFlat(std::size_t leg, const ContactSpan& span) const;
    void layFlat(std::size_t leg, int frame, LegPose& pose) const;
    std::vector<double> flatnessOf(const std::vector<ContactSpan>& flat) const;
    Point3d goalOf(std::size_t leg, int frame, const LegPose& pose);
    double lowestUnder(std::size_t leg, const Quaternion4d& footTurn) const;
    Point3d travelRemoved(int frame) const;
    double ramp(int framesAway) const;
    void reach(std::size_t leg, const LegPose& pose, const Point3d& goal, double drop,
               std::vector<Quaternion4d>& worldRotations) const;

    const RetargetPlan& plan_;
    const SourceMotion& source_;
    std::vector<LegContacts> contacts_;
    std::vector<LegState> legs_;
    int blendFrames_ = 1;
    // Scratch of the frame being planted, sized once.
    std::vector<LegPose> poses_;
    std::vector<Point3d> goals_;
};

}  // namespace vorel
