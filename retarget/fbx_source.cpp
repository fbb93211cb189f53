// The FBX file's joints and stacks imported unfitted, then one stack followed.
#include "retarget/fbx_source.h"

#include "fbx/import_fbx.h"
#include "retarget/imported_source.h"

namespace vorel {

bool sourceFromFbx(const std::string& path, const std::string& animationName, SourceMotion& motion,
                   LoadError& error) {
    ImportedSet imported;
    if (!importFbxMotion(path, imported, error)) return false;
    return sourceFromImported(imported, animationName, "AnimationStack", motion, error);
}

}  // namespace vorel
