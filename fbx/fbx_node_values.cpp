// Property block lookups and array reading over both ASCII and binary forms.
#include "fbx/fbx_node_values.h"

#include <cmath>

namespace vorel {

namespace {

// A 7.x entry is name, type, label, flags, values; a 6.1 entry name, type, flags, values.
std::size_t firstValueIndex(const FbxNode& entry) {
    return entry.name == "P" ? 4 : 3;
}

const FbxNode* propertyBlock(const FbxNode& record) {
    const FbxNode* block = record.child("Properties70");
    return block ? block : record.child("Properties60");
}

}  // namespace

const FbxNode* findFbxProperty(const FbxNode& record, const std::string& name) {
    const FbxNode* block = propertyBlock(record);
    if (!block) return nullptr;
    for (const FbxNode& entry : block->children) {
        if ((entry.name == "P" || entry.name == "Property") && !entry.properties.empty() &&
            entry.properties[0].text == name) {
            return &entry;
        }
    }
    return nullptr;
}

const FbxProperty* fbxPropertyValue(const FbxNode& entry, std::size_t index) {
    const std::size_t at = firstValueIndex(entry) + index;
    return at < entry.properties.size() ? &entry.properties[at] : nullptr;
}

double fbxPropertyNumber(const FbxNode& record, const std::string& name, double fallback) {
    const FbxNode* entry = findFbxProperty(record, name);
    const FbxProperty* value = entry ? fbxPropertyValue(*entry) : nullptr;
    return value && value->isNumber() ? value->number() : fallback;
}

Point3d fbxPropertyVector(const FbxNode& record, const std::string& name, const Point3d& fallback) {
    const FbxNode* entry = findFbxProperty(record, name);
    if (!entry) return fallback;
    double values[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const FbxProperty* value = fbxPropertyValue(*entry, i);
        if (!value || !value->isNumber()) return fallback;
        values[i] = value->number();
    }
    return {values[0], values[1], values[2]};
}

std::string fbxPropertyText(const FbxNode& record, const std::string& name) {
    const FbxNode* entry = findFbxProperty(record, name);
    const FbxProperty* value = entry ? fbxPropertyValue(*entry) : nullptr;
    return value && value->kind == FbxProperty::Kind::Text ? value->text : std::string();
}

bool takeFbxReals(FbxNode& record, const std::string& name, std::vector<double>& values) {
    values.clear();
    FbxNode* child = record.child(name);
    if (!child) return true;
    if (child->properties.size() == 1 && child->properties[0].isArray()) {
        FbxProperty& array = child->properties[0];
        if (array.kind == FbxProperty::Kind::RealArray) {
            values = std::move(array.reals);
        } else {
            values.assign(array.integers.begin(), array.integers.end());
        }
        return true;
    }
    values.reserve(child->properties.size());
    for (const FbxProperty& property : child->properties) {
        if (!property.isNumber()) return false;
        values.push_back(property.number());
    }
    return true;
}

bool takeFbxIntegers(FbxNode& record, const std::string& name, std::vector<std::int64_t>& values) {
    values.clear();
    FbxNode* child = record.child(name);
    if (!child) return true;
    if (child->properties.size() == 1 &&
        child->properties[0].kind == FbxProperty::Kind::IntegerArray) {
        values = std::move(child->properties[0].integers);
        return true;
    }
    values.reserve(child->properties.size());
    for (const FbxProperty& property : child->properties) {
        if (property.kind != FbxProperty::Kind::Integer) return false;
        values.push_back(property.integer);
    }
    return true;
}

std::string fbxChildText(const FbxNode& record, const std::string& name) {
    const FbxNode* child = record.child(name);
    if (!child || child->properties.empty()) return std::string();
    return child->properties[0].text;
}

std::string fbxObjectName(const std::string& stored) {
    const std::size_t binarySeparator = stored.find(std::string("\0\1", 2));
    if (binarySeparator != std::string::npos) return stored.substr(0, binarySeparator);
    const std::size_t asciiSeparator = stored.find("::");
    if (asciiSeparator != std::string::npos) return stored.substr(asciiSeparator + 2);
    return stored;
}

}  // namespace vorel
