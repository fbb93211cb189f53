// The documented examples, built in memory and written by the project's own writers; the
// field labels follow the order in which those writers lay the bytes down.
#include "tests/docs/format_examples.h"

#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

#include "assets/save_animation.h"
#include "assets/save_model.h"
#include "tests/support/byte_fixture.h"

namespace vorel::docs {

namespace {

struct Field {
    std::size_t width;
    std::string label;
};

std::string hexPairs(const std::string& bytes, std::size_t offset, std::size_t width) {
    std::string text;
    for (std::size_t i = 0; i < width; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(bytes[offset + i]));
        if (i > 0) text += ' ';
        text += pair;
    }
    return text;
}

// Long fields wrap after 16 bytes; the label goes on the first line only.
std::string annotate(const std::string& bytes, const std::vector<Field>& fields) {
    constexpr std::size_t BytesPerLine = 16;
    constexpr std::size_t LabelColumn = BytesPerLine * 3 + 1;
    std::string listing;
    std::size_t offset = 0;
    for (const Field& field : fields) {
        for (std::size_t done = 0; done < field.width; done += BytesPerLine) {
            const std::size_t width = std::min(BytesPerLine, field.width - done);
            std::string line = hexPairs(bytes, offset + done, width);
            line.resize(LabelColumn, ' ');
            line += done == 0 ? "| " + field.label : "|";
            listing += line + "\n";
        }
        offset += field.width;
    }
    if (offset != bytes.size()) {
        throw std::logic_error("example fields cover " + std::to_string(offset) + " of " +
                               std::to_string(bytes.size()) + " bytes");
    }
    return listing;
}

Field count(const std::string& what) {
    return {4, what + " count"};
}

Field point(const std::string& what) {
    return {12, what};
}

TrackData exampleTrack() {
    const std::uint8_t linear = keyFlags(SegmentMode::Linear, false);
    TrackData track;
    track.name = "root";
    track.channels[0] = {Keyframe{0.0f, 0.0f, linear, {}, {}},
                         Keyframe{1.0f, 5.0f, linear, {}, {}}};
    track.channels[1] = {Keyframe{0.0f, 0.0f, keyFlags(SegmentMode::Curve, true),
                                  Tangent{-0.5f, 0.0f}, Tangent{-0.5f, 0.0f}}};
    const float rest[ChannelCount] = {0, 0, 0, 1, 1, 1, 0, 0, 0, 1};
    for (int channel = 2; channel < ChannelCount; ++channel) {
        track.channels[channel] = {Keyframe{0.0f, rest[channel], linear, {}, {}}};
    }
    return track;
}

}  // namespace

const char* const ExampleModelFile = "square.ply";
const char* const ExampleAnimationFile = "slide.anim";

std::unique_ptr<ModelData> makeExampleModel() {
    auto model = std::make_unique<ModelData>();
    model->header = std::make_unique<ModelHeader>(standardModelHeader());
    MaterialRecord material;
    material.firstColour[0] = material.firstColour[1] = material.firstColour[2] = 1.0f;
    model->materials.push_back(material);
    model->positions = {{-5, 0, 0}, {5, 0, 0}, {5, 10, 0}, {-5, 10, 0}};
    model->normals = {{0, 0, 1}};
    Face face;
    for (int corner = 0; corner < 4; ++corner) face.positionIndices[corner] = corner;
    model->faces.push_back(face);
    model->rootBone = std::make_unique<BoneData>();
    BoneData& bone = *model->rootBone;
    bone.name = "root";
    bone.tail = {0, 10, 0};
    bone.up = {0, 0, 1};
    bone.vertices = {0, 1, 2, 3};
    return model;
}

std::unique_ptr<AnimationData> makeExampleAnimation() {
    auto animation = std::make_unique<AnimationData>();
    animation->header = std::make_unique<AnimationHeader>();
    animation->header->magic = AnimationMagic;
    animation->header->duration = 1.0f;
    animation->header->trackCount = 1;
    animation->tracks.push_back(exampleTrack());
    return animation;
}

std::string exampleManifestText() {
    return std::string("1 model\nsquare\n") + ExampleModelFile + "\n1 animation\nSlide\n" +
           ExampleAnimationFile + "\n";
}

std::string annotatedModelHex() {
    const std::vector<Field> fields = {
        {3, "magic \"PLY\""},
        {4, "version 2"},
        count("material"),
        {3, "first colour 255 255 255"},
        {4, "first scalar (kept, not used)"},
        {3, "second colour"},
        {32, "eight fields (kept, not used)"},
        count("named record"),
        count("position"),
        point("position 0: -5, 0, 0"),
        point("position 1: 5, 0, 0"),
        point("position 2: 5, 10, 0"),
        point("position 3: -5, 10, 0"),
        count("normal"),
        point("normal 0: 0, 0, 1"),
        count("face"),
        {4, "face 0: leading word (kept, not used)"},
        {16, "position indices 0, 1, 2, 3"},
        {16, "normal indices 0, 0, 0, 0"},
        count("layer"),
        {1, "bone 0: has-child flag 0"},
        {1, "has-sibling flag 0"},
        {5, "name \"root\" and its zero byte"},
        point("head 0, 0, 0"),
        point("tail 0, 10, 0"),
        point("up 0, 0, 1"),
        count("vertex"),
        {16, "vertex indices 0, 1, 2, 3"},
    };
    return annotate(encodeModel(*makeExampleModel()), fields);
}

std::string annotatedAnimationHex() {
    std::vector<Field> fields = {
        {4, "magic 0x12345679"},
        {4, "duration 1.0"},
        {2, "track count 1"},
        {5, "track 0: name \"root\" and its zero byte"},
        {48, "four unused vectors"},
        {2, "channel 0 (translation x): key count 2"},
        {9, "key: time 0, value 0, flags 03 (linear, no tangents)"},
        {9, "key: time 1, value 5, flags 03"},
        {2, "channel 1 (translation y): key count 1"},
        {9, "key: time 0, value 0, flags 04 (curve, tangents in the file)"},
        {8, "  out tangent: time -0.5, value 0"},
        {8, "  in tangent: time -0.5, value 0"},
    };
    const char* const names[] = {"translation z", "scale x",    "scale y",    "scale z",
                                 "rotation x",    "rotation y", "rotation z", "rotation w"};
    const char* const values[] = {"0", "1", "1", "1", "0", "0", "0", "1"};
    for (int i = 0; i < 8; ++i) {
        fields.push_back(
            {2, "channel " + std::to_string(i + 2) + " (" + names[i] + "): key count 1"});
        fields.push_back({9, std::string("key: time 0, value ") + values[i] + ", flags 03"});
    }
    return annotate(encodeAnimation(*makeExampleAnimation()), fields);
}

std::string bytesOfAnnotatedHex(const std::string& listing) {
    std::string hex;
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t end = listing.find('\n', start);
        if (end == std::string::npos) end = listing.size();
        const std::string line = listing.substr(start, end - start);
        hex += line.substr(0, line.find('|')) + " ";
        start = end + 1;
    }
    return test_support::fromHex(hex);
}

}  // namespace vorel::docs
