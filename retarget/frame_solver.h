// FrameSolver: one source frame turned into the target's bone motions with a RetargetPlan.
// Each mapped bone is turned so that it points, in the world, where its source bone points,
// and twists about its length as the source bone twists from its rest; unmapped bones keep
// their rest relative to their parent. The travelling bone follows the source's root, its
// height and travel scaled by the leg ratio. With a FootPlanter, the legs then reach for the
// held feet before the figure's own rule runs. Allocates nothing after construction.
#pragma once

#include <vector>

#include "convert/affine_transform.h"
#include "retarget/foot_planter.h"
#include "retarget/retarget_options.h"
#include "retarget/retarget_plan.h"
#include "retarget/source_motion.h"

namespace vorel {

class FrameSolver {
  public:
    // None is owned; all must outlive the solver. A planter (may be null) is given the
    // anchors of its contact spans at once.
    FrameSolver(const RetargetPlan& plan, const SourceMotion& source,
                const RetargetOptions& options, FootPlanter* planter = nullptr);

    // Works out the bone motions (the T*R*S a track holds) of one source frame, in the plan's
    // bone order, into motions(). With a planter, frames go in order.
    void solve(int frame);
    const std::vector<TrsTransform>& motions() const { return motions_; }

  private:
    void turnBones(int frame);
    void followParents();
    void placeBones(int frame, double drop);
    void anchorContacts();
    Point3d travelledHead(int frame) const;
    Quaternion4d mappedRotation(int frame, std::size_t bone) const;
    TrsTransform boneMotion(std::size_t bone, const AffineTransform& parentWorld,
                            const AffineTransform& world) const;

    const RetargetPlan& plan_;
    const SourceMotion& source_;
    const RetargetOptions& options_;
    FootPlanter* planter_;
    // Scratch of the frame being solved, sized once.
    std::vector<Quaternion4d> worldRotations_;
    std::vector<AffineTransform> worlds_;
    std::vector<TrsTransform> motions_;
};

}  // namespace vorel
