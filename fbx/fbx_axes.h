// FbxAxes: the one place where a file's axes and units become Vorel's: y up, z to the front,
// x across, in metres. A file's up, front and across axes (with their signs) are turned onto
// those and its UnitScaleFactor (centimetres per unit) scales to metres. Matrices are conjugated
// (C * M * C^-1), so a left-handed file's joints still turn by rotations.
#pragma once

#include "convert/affine_transform.h"
#include "fbx/fbx_scene.h"

namespace vorel {

class FbxAxes {
  public:
    explicit FbxAxes(const FbxGlobalSettings& settings);

    Point3d point(const Point3d& p) const { return toVorel_.transformPoint(p); }
    AffineTransform matrix(const AffineTransform& m) const {
        return AffineTransform::compose(fromVorel_, AffineTransform::compose(m, toVorel_));
    }
    // C itself: file points to Vorel points.
    const AffineTransform& toVorel() const { return toVorel_; }

  private:
    AffineTransform toVorel_;
    AffineTransform fromVorel_;
};

}  // namespace vorel
