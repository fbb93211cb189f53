// finishImport: the steps every format's import ends with, once its model and animations are
// built: the fit to the fixed view (unless the options keep the file's units) and the check of
// every value of the set before anything is written.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "convert/imported_set.h"

namespace vorel {

// Fits result's model and animations to the view when options ask for it, then checks the set
// that would be written; a value that cannot be written is a LoadError naming `path`.
bool finishImport(ImportedSet& result, const ImportOptions& options, const std::string& path,
                  LoadError& error);

}  // namespace vorel
