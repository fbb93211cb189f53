// The tiny model, animation and manifest that docs/formats.md shows byte by byte, and the
// annotated hex listings of them that the document quotes: one line per field, the bytes the
// writers produce on the left of a '|', what they mean on the right.
#pragma once

#include <memory>
#include <string>

#include "assets/animation_data.h"
#include "assets/model_data.h"

namespace vorel::docs {

// One square face of four positions and one normal, moved by a single bone "root".
std::unique_ptr<ModelData> makeExampleModel();
// One second of "root" sliding 5 units along x, one channel with tangents in the file.
std::unique_ptr<AnimationData> makeExampleAnimation();

// File names the example manifest gives the two files, and the manifest's text.
extern const char* const ExampleModelFile;
extern const char* const ExampleAnimationFile;
std::string exampleManifestText();

// The writers' bytes of each example, cut into labelled fields.
std::string annotatedModelHex();
std::string annotatedAnimationHex();

// The bytes of an annotated listing: the hex pairs left of each line's '|'.
std::string bytesOfAnnotatedHex(const std::string& listing);

}  // namespace vorel::docs
