// Writes a set into a temporary sibling folder, then swaps it into place.
#include "assets/write_set.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"

namespace vorel {

namespace fs = std::filesystem;

namespace {

const char* const ManifestName = "vorel.txt";

fs::path siblingPath(const fs::path& folder, const std::string& tag) {
    const fs::path parent = folder.parent_path().empty() ? fs::path(".") : folder.parent_path();
    return parent / ("." + folder.filename().string() + "." + tag + "-" + std::to_string(getpid()));
}

bool writeInto(const SetToWrite& set, const fs::path& folder, std::string& problem) {
    const fs::path modelPath = folder / set.modelFileName;
    if (!saveModel(*set.model, modelPath.string())) {
        problem = "cannot write " + modelPath.string();
        return false;
    }
    for (const SetAnimation& animation : set.animations) {
        const fs::path path = folder / animation.fileName;
        if (!saveAnimation(*animation.data, path.string())) {
            problem = "cannot write " + path.string();
            return false;
        }
    }
    std::vector<ManifestEntry> animations;
    for (const SetManifestEntry& entry : set.entries) {
        animations.push_back({entry.name, set.animations[entry.animation].fileName});
    }
    const fs::path manifest = folder / ManifestName;
    if (!saveManifest(manifest.string(), {{set.modelName, set.modelFileName}}, animations)) {
        problem = "cannot write " + manifest.string();
        return false;
    }
    return true;
}

bool replaceFolder(const fs::path& temporary, const fs::path& folder, std::string& problem) {
    std::error_code failure;
    const fs::file_status status = fs::symlink_status(folder, failure);
    // rename() puts a folder in place of an empty one as it does in place of nothing.
    if (!fs::exists(status) || (fs::is_directory(status) && fs::is_empty(folder, failure))) {
        fs::rename(temporary, folder, failure);
        if (failure) problem = "cannot rename the new set into place: " + failure.message();
        return !failure;
    }
    if (!fs::is_directory(status) || !fs::exists(folder / ManifestName)) {
        problem = "exists and is not a Vorel set; not replaced";
        return false;
    }
    const fs::path old = siblingPath(folder, "old");
    fs::rename(folder, old, failure);
    if (!failure) fs::rename(temporary, folder, failure);
    if (failure) {
        problem = "cannot replace it: " + failure.message();
        std::error_code ignored;
        if (!fs::exists(folder, ignored)) fs::rename(old, folder, ignored);
        return false;
    }
    fs::remove_all(old, failure);
    return true;
}

}  // namespace

std::string safeFileStem(const std::string& name) {
    std::string stem;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        stem += plain ? c : '_';
        if (stem.size() == 64) break;
    }
    return stem.empty() ? "unnamed" : stem;
}

bool writeSetAtomically(const SetToWrite& set, const std::string& folder, std::string& problem) {
    const fs::path target = fs::path(folder).lexically_normal();
    const fs::path cleanTarget = target.filename().empty() ? target.parent_path() : target;
    const fs::path temporary = siblingPath(cleanTarget, "tmp");
    std::error_code failure;
    fs::remove_all(temporary, failure);
    fs::create_directories(temporary, failure);
    if (failure) {
        problem = "cannot create " + temporary.string() + ": " + failure.message();
        return false;
    }
    const bool written =
        writeInto(set, temporary, problem) && replaceFolder(temporary, cleanTarget, problem);
    if (!written) fs::remove_all(temporary, failure);
    return written;
}

std::vector<std::string> animationFileNames(const std::vector<std::string>& names) {
    std::vector<std::string> files;
    std::unordered_set<std::string> taken;
    // Per stem, the number below which every "_N" was taken when it was last numbered.
    std::unordered_map<std::string, std::size_t> nextNumber;
    for (std::size_t a = 0; a < names.size(); ++a) {
        const std::string stem = safeFileStem(names[a]);
        std::string file = stem + ".anim";
        if (taken.count(file) != 0) {
            std::size_t& next = nextNumber[stem];
            for (next = std::max(next, a); taken.count(file) != 0; ++next) {
                file = stem + "_" + std::to_string(next) + ".anim";
            }
        }
        taken.insert(file);
        files.push_back(file);
    }
    return files;
}

}  // namespace vorel
