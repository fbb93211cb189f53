// FrameSolver: one source frame turned into the target's bone motions with a RetargetPlan.
// Each mapped bone is turned so that it points, in the world, where its source bone points,
// and twists about its length as the source bone twists from its rest; unmapped bones keep
// their rest relative to their parent. The travelling bone follows the source's root, its
// height and travel scaled by the leg ratio. Allocates nothing after construction.
#pragma once

#include <vector>

#include "convert/affine_transform.h"
#include "retarget/retarget_options.h"
#include "retarget/retarget_plan.h"
#include "retarget/source_motion.h"

namespace vorel {

class FrameSolver {
  public:
    // None is owned; all must outlive the solver.
    FrameSolver(const RetargetPlan& plan, const SourceMotion& source,
                const RetargetOptions& options);

    // Works out the bone motions (the T*R*S a track holds) of one source frame, in the plan's
    // bone order, into motions().
    void solve(int frame);
    const std::vector<TrsTransform>& motions() const { return motions_; }

  private:
    Point3d travelledHead(int frame) const;
    Quaternion4d mappedRotation(int frame, std::size_t bone) const;
    TrsTransform boneMotion(std::size_t bone, const AffineTransform& parentWorld,
                            const AffineTransform& world) const;

    const RetargetPlan& plan_;
    const SourceMotion& source_;
    const RetargetOptions& options_;
    // Scratch of the frame being solved, sized once.
    std::vector<Quaternion4d> worldRotations_;
    std::vector<AffineTransform> worlds_;
    std::vector<TrsTransform> motions_;
};

}  // namespace vorel
