// Values read off FBX records whatever form they were written in: a `Properties70` (or 6.1
// `Properties60`) entry by name, and numeric arrays given as one array property (binary, ASCII
// 7.x) or as a run of number properties (ASCII 6.1).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/affine_transform.h"
#include "fbx/fbx_node.h"

namespace vorel {

// The entry named `name` of the record's property block, or null.
const FbxNode* findFbxProperty(const FbxNode& record, const std::string& name);
// The entry's values (what follows its name, type and flags), or null when it has none.
const FbxProperty* fbxPropertyValue(const FbxNode& entry, std::size_t index = 0);

// The number of entry `name`, or `fallback` when absent or not a number.
double fbxPropertyNumber(const FbxNode& record, const std::string& name, double fallback);
// Three numbers of entry `name` (a vector), or `fallback`.
Point3d fbxPropertyVector(const FbxNode& record, const std::string& name, const Point3d& fallback);
// The text of entry `name`, or empty.
std::string fbxPropertyText(const FbxNode& record, const std::string& name);

// The numbers of the child record `name` (empty when there is none), an array of the same kind
// moved out of the record rather than copied; false when it holds anything but numbers.
bool takeFbxReals(FbxNode& record, const std::string& name, std::vector<double>& values);
bool takeFbxIntegers(FbxNode& record, const std::string& name, std::vector<std::int64_t>& values);
// The first property of child record `name` as text (empty when absent).
std::string fbxChildText(const FbxNode& record, const std::string& name);

// An object's name without its class: "Hips\0\1Model" (binary) and "Model::Hips" (ASCII)
// are both "Hips".
std::string fbxObjectName(const std::string& stored);

}  // namespace vorel
