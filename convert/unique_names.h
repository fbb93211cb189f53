// UniqueNames: hands out names that no earlier one has, adding "_2", "_3", ... to a name that is
// taken. Each name remembers the last suffix it reached, so n equal names cost n steps, not n².
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace vorel {

class UniqueNames {
  public:
    // With DistinctHashes a name whose hashName is taken counts as taken too (bones and tracks
    // are found by hash).
    enum class Hashes { MayRepeat, Distinct };
    explicit UniqueNames(Hashes hashes = Hashes::MayRepeat) : hashes_(hashes) {}

    // `wanted` when it is free, else the first free `wanted_N` for N = 2, 3, ...; from then on
    // the returned name is taken.
    std::string take(const std::string& wanted);
    // Marks `name` as taken as it is, whether or not it already was.
    void reserve(const std::string& name);

  private:
    bool isFree(const std::string& name) const;

    Hashes hashes_;
    std::unordered_set<std::string> names_;
    std::unordered_set<std::uint32_t> takenHashes_;
    // The next suffix worth trying for each wanted name: every smaller one is taken.
    std::unordered_map<std::string, int> nextSuffix_;
};

}  // namespace vorel
