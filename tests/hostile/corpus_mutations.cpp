// The mutations: generic ones for every seed (truncations, byte flips) and, by kind, numbers
// in the JSON or the capture replaced by lies, deep nesting, hostile URIs and wide captures.
#include "tests/hostile/corpus_mutations.h"

#include <cctype>
#include <cstdint>
#include <cstring>

namespace vorel::test_support {

namespace {

// Values that lie about a JSON number: wrong sign, past 2^64, past a float, not a number.
const char* const JsonLies[] = {"-12",   "18446744073709551616", "1e39", "3e38", "-3e38",
                                "\"7\"", "2147483648",           "0.5",  "[]",   "null"};
// The same for BVH numbers.
const char* const BvhLies[] = {"3e38", "1e39", "-3e38", "nan", "inf", "99999999999", "-1", "1e-45"};

std::uint32_t readWord(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::string word(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    return bytes;
}

bool isGlb(const std::string& bytes) {
    return bytes.size() >= 20 && bytes.compare(0, 4, "glTF") == 0;
}

// A GLB's JSON and the rest after its JSON chunk, or the whole text of a .gltf.
struct JsonDocument {
    bool binary = false;
    std::string json;
    std::string rest;
};

JsonDocument splitDocument(const std::string& bytes) {
    if (!isGlb(bytes)) return {false, bytes, ""};
    const std::size_t length = readWord(bytes, 12);
    if (20 + length > bytes.size()) return {false, bytes, ""};
    return {true, bytes.substr(20, length), bytes.substr(20 + length)};
}

std::string joinDocument(const JsonDocument& document, std::string json) {
    if (!document.binary) return json;
    json.resize((json.size() + 3) / 4 * 4, ' ');
    const std::string chunks =
        word(static_cast<std::uint32_t>(json.size())) + "JSON" + json + document.rest;
    return "glTF" + word(2) + word(static_cast<std::uint32_t>(12 + chunks.size())) + chunks;
}

// Where each number of a text starts and ends (outside JSON strings when `json`).
std::vector<std::pair<std::size_t, std::size_t>> numberSpans(const std::string& text, bool json) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (json && c == '"' && (i == 0 || text[i - 1] != '\\')) inString = !inString;
        if (inString) continue;
        const bool starts = std::isdigit(static_cast<unsigned char>(c)) ||
                            (c == '-' && i + 1 < text.size() &&
                             std::isdigit(static_cast<unsigned char>(text[i + 1])));
        if (!starts || (i > 0 && (std::isalnum(static_cast<unsigned char>(text[i - 1])) ||
                                  text[i - 1] == '.')))
            continue;
        std::size_t end = i + 1;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) ||
                                     std::strchr(".eE+-", text[end]) != nullptr))
            ++end;
        spans.emplace_back(i, end);
        i = end;
    }
    return spans;
}

// Every few numbers of the text, one replaced by the next lie in turn (about `wanted` files).
std::vector<std::string> numberLies(const std::string& text, bool json, const char* const* lies,
                                    std::size_t lieCount, std::size_t wanted) {
    const auto spans = numberSpans(text, json);
    std::vector<std::string> changed;
    const std::size_t step = spans.size() / wanted + 1;
    for (std::size_t s = 0; s < spans.size(); s += step) {
        std::string lying = text;
        lying.replace(spans[s].first, spans[s].second - spans[s].first,
                      lies[changed.size() % lieCount]);
        changed.push_back(std::move(lying));
    }
    return changed;
}

// A small deterministic generator, so that the corpus is the same on every machine.
class Flips {
  public:
    std::size_t next(std::size_t below) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>(state_ >> 33) % below;
    }

  private:
    std::uint64_t state_ = 0x5eed;
};

void addGeneric(const std::string& seed, const std::string& extension, std::vector<Mutation>& out) {
    std::vector<std::size_t> cuts = {1, 12, 20};
    if (isGlb(seed)) {
        const std::size_t jsonEnd = 20 + readWord(seed, 12);
        for (std::size_t cut : {jsonEnd, jsonEnd + 9}) cuts.push_back(cut);
    }
    for (int eighth = 1; eighth < 8; ++eighth)
        cuts.push_back(seed.size() * static_cast<std::size_t>(eighth) / 8);
    for (std::size_t cut : cuts) {
        if (cut < seed.size())
            out.push_back({"cut" + std::to_string(cut) + extension, seed.substr(0, cut)});
    }
    Flips flips;
    for (int f = 0; f < 4 && !seed.empty(); ++f) {
        std::string flipped = seed;
        for (int b = 0; b < 4; ++b)
            flipped[flips.next(seed.size())] ^= static_cast<char>(1 << flips.next(8));
        out.push_back({"flip" + std::to_string(f) + extension, flipped});
    }
}

void addJsonLies(const std::string& seed, const std::string& extension,
                 std::vector<Mutation>& out) {
    const JsonDocument document = splitDocument(seed);
    const std::size_t lieCount = sizeof(JsonLies) / sizeof(JsonLies[0]);
    std::size_t n = 0;
    for (const std::string& lying : numberLies(document.json, true, JsonLies, lieCount, 10)) {
        out.push_back({"lie" + std::to_string(n++) + extension, joinDocument(document, lying)});
    }
    const std::size_t open = document.json.find('{');
    if (open == std::string::npos) return;
    std::string deep = document.json;
    deep.insert(open + 1, "\"extras\":" + std::string(20000, '[') + std::string(20000, ']') + ",");
    out.push_back({"deep" + extension, joinDocument(document, deep)});
    for (const char* uri :
         {"../../../../../../../../../../etc/passwd", "/etc/passwd", "file:///etc/passwd",
          "a.bin\\u0000.txt", "%2e%2e/%2e%2e/etc/hostname"}) {
        std::string hostile = document.json;
        const std::string buffers = "\"buffers\":[{";
        const std::size_t at = hostile.find(buffers);
        if (at == std::string::npos) return;
        hostile.insert(at + buffers.size(), "\"uri\":\"" + std::string(uri) + "\",");
        out.push_back(
            {"uri" + std::to_string(out.size()) + extension, joinDocument(document, hostile)});
    }
}

// A capture whose root has `joints` children named `name`, each with an End Site.
std::string wideCapture(int joints, const std::string& name, const std::string& offset) {
    std::string text =
        "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 3 Xposition Yposition Zposition\n";
    for (int j = 0; j < joints; ++j) {
        text += "JOINT " + name + "\n{\nOFFSET " + offset +
                "\nCHANNELS 1 Zrotation\nEnd Site\n{\nOFFSET 0 1 0\n}\n}\n";
    }
    text += "}\nMOTION\nFrames: 2\nFrame Time: 0.04\n";
    for (int frame = 0; frame < 2; ++frame) {
        text += "0 0 0";
        for (int j = 0; j < joints; ++j) text += " 10";
        text += "\n";
    }
    return text;
}

void addBvhLies(const std::string& seed, std::vector<Mutation>& out) {
    std::size_t n = 0;
    for (const std::string& lying :
         numberLies(seed, false, BvhLies, sizeof(BvhLies) / sizeof(BvhLies[0]), 8)) {
        out.push_back({"lie" + std::to_string(n++) + ".bvh", lying});
    }
    const std::size_t frames = seed.find("Frames:");
    if (frames != std::string::npos) {
        std::string huge = seed;
        huge.replace(frames, 7, "Frames: 2000000000\nIgnored:");
        out.push_back({"frames.bvh", huge});
    }
}

}  // namespace

std::vector<Mutation> mutationsOf(const std::string& seed) {
    std::vector<Mutation> out;
    const bool bvh = seed.compare(0, 9, "HIERARCHY") == 0;
    const std::string extension = bvh ? ".bvh" : isGlb(seed) ? ".glb" : ".gltf";
    addGeneric(seed, extension, out);
    if (bvh) {
        addBvhLies(seed, out);
        out.push_back({"equal-names.bvh", wideCapture(2000, "Same", "1 1 0")});
        out.push_back({"far.bvh", wideCapture(3, "J", "3e38 3e38 0")});
    } else {
        addJsonLies(seed, extension, out);
    }
    return out;
}

}  // namespace vorel::test_support
