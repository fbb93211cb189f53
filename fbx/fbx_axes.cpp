// The conversion matrix: rows are the file's across, up and front directions, scaled.
#include "fbx/fbx_axes.h"

namespace vorel {

FbxAxes::FbxAxes(const FbxGlobalSettings& settings) {
    const int axes[3] = {settings.coordAxis, settings.upAxis, settings.frontAxis};
    const int signs[3] = {settings.coordSign, settings.upSign, settings.frontSign};
    const bool distinct = axes[0] != axes[1] && axes[1] != axes[2] && axes[0] != axes[2];
    const double scale = settings.unitScaleFactor / 100.0;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const double turn =
                distinct ? (axes[row] == column ? signs[row] : 0.0) : (row == column ? 1.0 : 0.0);
            toVorel_.linear[row][column] = scale * turn;
        }
    }
    toVorel_.inverted(fromVorel_);
}

}  // namespace vorel
