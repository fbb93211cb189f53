// BoxSetFolder: a fresh folder holding the box figure's files and the manifest naming them, for
// tests that load a manifest from disk. Removed again when the test ends.
#pragma once

#include <filesystem>
#include <string>

namespace vorel::test_support {

class BoxSetFolder {
  public:
    // Named after the running test, so parallel tests never share a folder. Check made() before
    // using it.
    BoxSetFolder();
    ~BoxSetFolder();
    BoxSetFolder(const BoxSetFolder&) = delete;
    BoxSetFolder& operator=(const BoxSetFolder&) = delete;

    // True when box.ply, slide.anim and vorel.txt were written.
    bool made() const { return made_; }
    const std::filesystem::path& folder() const { return folder_; }
    // The path of a file in the folder.
    std::string path(const std::string& name) const;
    void writeFile(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path folder_;
    bool made_ = false;
};

}  // namespace vorel::test_support
