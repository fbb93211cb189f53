// Naming an import's model and animations.
#include "convert/imported_names.h"

#include <algorithm>
#include <filesystem>

#include "assets/dance_names.h"
#include "convert/unique_name.h"

namespace vorel {

std::string modelNameForPath(const std::string& path) {
    std::string name = std::filesystem::path(path).stem().string();
    if (name.empty()) name = "model";
    for (char& c : name) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return name;
}

bool chooseKeyAnimations(const ImportOptions& options, const std::string& section,
                         ImportedSet& result, LoadError& error) {
    if (options.keys.empty()) {
        for (std::size_t a = 0; a < result.animations.size() && a < DanceNames.size(); ++a) {
            result.keyAnimations.push_back(a);
        }
        return true;
    }
    for (const std::string& wanted : options.keys) {
        const auto found =
            std::find_if(result.animations.begin(), result.animations.end(),
                         [&wanted](const ImportedAnimation& a) { return a.name == wanted; });
        if (found == result.animations.end()) {
            error.section = section;
            error.message = "no animation named '" + wanted + "' for --keys";
            return false;
        }
        result.keyAnimations.push_back(static_cast<std::size_t>(found - result.animations.begin()));
    }
    return true;
}

void nameAnimations(ImportedSet& result) {
    UniqueNames taken(UniqueNames::Hashes::Distinct);
    for (const char* dance : DanceNames) taken.reserve(dance);
    for (ImportedAnimation& animation : result.animations) {
        std::string name = animation.name;
        // A manifest name ends at the line end and is read with a 511-character limit.
        for (char& c : name) {
            if (c == '\n' || c == '\r' || c == '\0') c = ' ';
        }
        if (name.size() > 200) name.resize(200);
        makeNameUnique(name, taken);
        if (name != animation.name) {
            result.warnings.push_back("animation '" + animation.name + "' listed as '" + name +
                                      "'");
        }
        animation.name = name;
    }
}

}  // namespace vorel
