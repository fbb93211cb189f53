#include "convert/finish_import.h"

#include <vector>

#include "convert/fit_to_view.h"
#include "convert/set_check.h"

namespace vorel {

bool finishImport(ImportedSet& result, const ImportOptions& options, const std::string& path,
                  LoadError& error) {
    if (options.fitToView) {
        result.fit = fitForView(*result.model, options.height);
        std::vector<AnimationData*> animations;
        for (ImportedAnimation& animation : result.animations)
            animations.push_back(animation.data.get());
        applyFit(result.fit, *result.model, animations);
    }
    return checkSetValues(setForImport(result), path, error);
}

}  // namespace vorel
