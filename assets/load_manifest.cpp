// loadManifest: the model count and pairs, then the animation count and pairs, each listed file
// handed to its loader. Reading stops at the first line that cannot be used; what was read
// before it stays in the library, the paired arrays always of equal length.
#include "assets/load_manifest.h"

#include "assets/file_bytes.h"
#include "assets/line_reader.h"
#include "assets/load_animation.h"
#include "assets/load_model.h"

namespace vorel {

namespace {

// One section of the manifest: what it is called, how its files load, where they go, and
// where the report keeps their paths.
template <typename Loaded>
struct ManifestSection {
    const char* kind;
    std::unique_ptr<Loaded> (*load)(const std::string&, LoadError*);
    void (AssetLibrary::*add)(std::unique_ptr<Loaded>, const std::string&);
    std::vector<std::string> ManifestReport::*paths;
};

class ManifestReader {
  public:
    ManifestReader(const std::string& text, const std::string& fileName, ManifestReport* report)
        : lines_(text), fileName_(fileName), report_(report) {}

    void readInto(AssetLibrary& library) {
        readSection(library,
                    ManifestSection<ModelData>{"model", &loadModel, &AssetLibrary::addModel,
                                               &ManifestReport::modelPaths}) &&
            readSection(library, ManifestSection<AnimationData>{"animation", &loadAnimation,
                                                                &AssetLibrary::addAnimation,
                                                                &ManifestReport::animationPaths});
    }

  private:
    template <typename Loaded>
    bool readSection(AssetLibrary& library, const ManifestSection<Loaded>& section) {
        int count = 0;
        if (!readCount(section.kind, count)) return false;
        for (int i = 0; i < count; ++i) {
            std::string name;
            std::string path;
            if (!readLine(name, section.kind, "name", i, count) ||
                !readLine(path, section.kind, "path", i, count)) {
                return false;
            }
            LoadError error;
            std::unique_ptr<Loaded> loaded = section.load(path, &error);
            if (report_ != nullptr) {
                if (!loaded) report_->failedFiles.push_back(error);
                (report_->*section.paths).push_back(path);
            }
            (library.*section.add)(std::move(loaded), name);
        }
        return true;
    }

    bool readCount(const std::string& kind, int& count) {
        switch (lines_.readCount(count)) {
            case LineReader::CountResult::Count:
                return readRestOfCountLine(kind);
            case LineReader::CountResult::End:
                return stop("file ends before the " + kind + " count");
            case LineReader::CountResult::NotANumber:
                return stop(kind + " count is not a number");
            case LineReader::CountResult::OutOfRange:
                break;
        }
        return stop(kind + " count is out of range");
    }

    // The text after a count is read and discarded like any other line, limit included; a
    // count at the very end of the file has no such text.
    bool readRestOfCountLine(const std::string& kind) {
        const int lineNumber = lines_.lineNumber();
        std::string rest;
        if (lines_.readLine(rest) != LineReader::LineResult::TooLong) return true;
        return stopTooLong(lineNumber, "text after the " + kind + " count");
    }

    bool readLine(std::string& line, const std::string& kind, const char* what, int index,
                  int count) {
        const int lineNumber = lines_.lineNumber();
        const std::string entry =
            kind + " " + std::to_string(index + 1) + " of " + std::to_string(count);
        switch (lines_.readLine(line)) {
            case LineReader::LineResult::Line:
                return true;
            case LineReader::LineResult::End:
                return stopAt(lineNumber,
                              "file ends before the " + std::string(what) + " of " + entry);
            case LineReader::LineResult::TooLong:
                break;
        }
        return stopTooLong(lineNumber, std::string(what) + " of " + entry);
    }

    bool stopTooLong(int lineNumber, const std::string& what) {
        return stopAt(lineNumber, what + " is longer than " +
                                      std::to_string(LineReader::MaxLineLength) + " characters");
    }

    bool stop(const std::string& message) { return stopAt(lines_.lineNumber(), message); }

    bool stopAt(int lineNumber, const std::string& message) {
        if (report_ != nullptr) {
            report_->readStopped = true;
            report_->stoppedEarly =
                LoadError{fileName_, "line " + std::to_string(lineNumber), -1, message};
        }
        return false;
    }

    LineReader lines_;
    const std::string& fileName_;
    ManifestReport* report_;
};

}  // namespace

std::unique_ptr<AssetLibrary> loadManifestFromText(const std::string& text,
                                                   const std::string& fileName,
                                                   ManifestReport* report) {
    auto library = std::make_unique<AssetLibrary>();
    ManifestReader(text, fileName, report).readInto(*library);
    return library;
}

std::unique_ptr<AssetLibrary> loadManifest(const std::string& path, ManifestReport* report) {
    std::string text;
    LoadError error;
    if (!readFileBytes(path, text, &error)) {
        if (report != nullptr) {
            report->readStopped = true;
            report->stoppedEarly = error;
        }
        return nullptr;
    }
    return loadManifestFromText(text, path, report);
}

}  // namespace vorel
