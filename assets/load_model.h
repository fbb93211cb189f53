// loadModel: reads a binary model file into a ModelData. Every file is treated as hostile:
// short, truncated or lying files fail cleanly (null), and indices are range-checked.
#pragma once

#include <memory>
#include <string>

#include "assets/load_error.h"
#include "assets/model_data.h"

namespace vorel {

// Null when the file cannot be opened or fails a check; error, when given, says why.
std::unique_ptr<ModelData> loadModel(const std::string& path, LoadError* error = nullptr);
// The same from bytes already in memory; fileName only labels the error.
std::unique_ptr<ModelData> loadModelFromBytes(const std::string& bytes, const std::string& fileName,
                                              LoadError* error = nullptr);

}  // namespace vorel
