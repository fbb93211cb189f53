// readImportInput and importInput: one file imported by the library its content calls for, a
// BVH capture (its first word is HIERARCHY) by vorel_bvh, an FBX file (binary magic or
// FBXHeaderExtension) by vorel_fbx and anything else as glTF by vorel_gltf, never by its name.
// vorel-import and the page's dropped files both go this way; writing the set and printing are
// theirs.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "bvh/import_bvh.h"
#include "convert/imported_set.h"

namespace vorel {

struct ImportInput {
    // The file as named, which every problem line starts with.
    std::string path;
    // Its whole content.
    std::string bytes;
    // The content is meant as a BVH capture, or as FBX; otherwise it is read as glTF.
    bool isCapture = false;
    bool isFbx = false;
};

// False, with error set, when the file cannot be read.
bool readImportInput(const std::string& path, ImportInput& input, LoadError& error);

// Imports what readImportInput read; `capture` is filled for a BVH capture only. False, with
// error set to name the file, when the importer refuses it (options.keys must be empty for a
// capture, options.inPlace applies to captures only).
bool importInput(const ImportInput& input, const ImportOptions& options, ImportedSet& imported,
                 BvhImportSummary& capture, LoadError& error);

}  // namespace vorel
