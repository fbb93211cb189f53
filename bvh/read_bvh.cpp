// readBvh: the HIERARCHY and MOTION sections of a BVH text into a BvhMotion. Blocks are read
// with an explicit stack, so a deep nesting costs heap in proportion to the joints the file
// holds, never the call stack. Every failure names the line it was found on.
#include "bvh/read_bvh.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

#include "assets/file_bytes.h"
#include "bvh/bvh_tokenizer.h"
#include "bvh/double_from_chars.h"
#include "convert/unique_names.h"

namespace vorel {

namespace {

// A longer frame time is not a capture but a lying header.
constexpr double MaxFrameTime = 3600.0;

// A word as an error message quotes it: at most 40 bytes, anything unprintable as '?'.
std::string quoted(std::string_view word) {
    std::string text = "'";
    for (char c : word.substr(0, 40)) {
        const bool printable = c >= 0x20 && c < 0x7f;
        text += printable ? c : '?';
    }
    if (word.size() > 40) text += "...";
    return text + "'";
}

bool holdsControlCharacter(std::string_view word) {
    for (char c : word) {
        if ((c >= 0 && c < 0x20) || c == 0x7f) return true;
    }
    return false;
}

bool parseChannel(std::string_view word, BvhChannel& channel) {
    static const std::pair<std::string_view, BvhChannel> names[] = {
        {"Xposition", BvhChannel::Xposition}, {"Yposition", BvhChannel::Yposition},
        {"Zposition", BvhChannel::Zposition}, {"Xrotation", BvhChannel::Xrotation},
        {"Yrotation", BvhChannel::Yrotation}, {"Zrotation", BvhChannel::Zrotation}};
    for (const auto& [name, value] : names) {
        if (word == name) {
            channel = value;
            return true;
        }
    }
    return false;
}

// What a block has declared so far, for refusing a second OFFSET or CHANNELS.
struct BlockSeen {
    bool offset = false;
    bool channels = false;
};

class BvhReader {
  public:
    BvhReader(const std::string& text, BvhMotion& motion, LoadError& error)
        : words_(text), motion_(motion), error_(error) {}

    bool read() { return readHierarchy() && readMotionHeader() && readFrames(); }

  private:
    bool fail(const std::string& message) {
        return vorel::fail(error_, "line " + std::to_string(words_.line()), message);
    }

    std::string describeJoint(int joint) const {
        const BvhJoint& j = motion_.joints[static_cast<std::size_t>(joint)];
        if (!j.endSite) return "joint '" + j.name + "'";
        return "the End Site of '" + motion_.joints[static_cast<std::size_t>(j.parent)].name + "'";
    }

    bool readNumber(std::string_view word, double& value) {
        // The number syntax takes no plus sign; a file may still write one.
        if (word.size() > 1 && word[0] == '+' && word[1] != '-') word.remove_prefix(1);
        const auto [end, problem] = doubleFromChars(word.data(), word.data() + word.size(), value);
        if (problem == std::errc::result_out_of_range)
            return fail(quoted(word) + " is out of range");
        if (problem != std::errc() || end != word.data() + word.size()) {
            return fail(quoted(word) + " is not a number");
        }
        if (!std::isfinite(value)) return fail(quoted(word) + " is not a finite number");
        return true;
    }

    bool readFloat(std::string_view word, float& value) {
        double wide = 0.0;
        if (!readNumber(word, wide)) return false;
        if (std::fabs(wide) > double{FLT_MAX}) return fail(quoted(word) + " is too large");
        value = static_cast<float>(wide);
        return true;
    }

    bool readCount(std::string_view word, const std::string& what, int& count) {
        const auto [end, problem] = std::from_chars(word.data(), word.data() + word.size(), count);
        if (problem != std::errc() || end != word.data() + word.size() || count < 0) {
            return fail(what + " needs a whole number of 0 or more, found " + quoted(word));
        }
        return true;
    }

    bool nextWord(std::string_view& word, const std::string& where) {
        if (words_.next(word)) return true;
        return fail("the file ends " + where);
    }

    bool readHierarchy() {
        std::string_view word;
        if (!words_.next(word)) return fail("the file is empty: expected HIERARCHY");
        if (word != "HIERARCHY") return fail("expected HIERARCHY, found " + quoted(word));
        while (true) {
            const std::string where =
                open_.empty() ? "before MOTION" : "inside " + describeJoint(open_.back());
            if (!nextWord(word, where)) return false;
            if (!open_.empty()) {
                if (!readBlockWord(word)) return false;
            } else if (word == "ROOT") {
                if (!openJoint(-1, "ROOT")) return false;
            } else if (word == "MOTION" && !motion_.joints.empty()) {
                return finishHierarchy();
            } else {
                return fail("expected ROOT" +
                            std::string(motion_.joints.empty() ? "" : " or MOTION") + ", found " +
                            quoted(word));
            }
        }
    }

    bool readBlockWord(std::string_view word) {
        const int joint = open_.back();
        const bool endSite = motion_.joints[static_cast<std::size_t>(joint)].endSite;
        if (word == "OFFSET") return readOffset(joint);
        if (word == "CHANNELS" && !endSite) return readChannels(joint);
        if (word == "JOINT" && !endSite) return openJoint(joint, "JOINT");
        if (word == "End" && !endSite) return openEndSite(joint);
        if (word == "}") return closeBlock(joint);
        if (endSite) return fail("an End Site holds only an OFFSET, found " + quoted(word));
        if (word == "MOTION") {
            return fail("MOTION inside " + describeJoint(joint) + ": " +
                        std::to_string(open_.size()) + " block(s) not closed with '}'");
        }
        return fail("unexpected " + quoted(word) + " inside " + describeJoint(joint));
    }

    bool openJoint(int parent, const std::string& keyword) {
        std::string_view name;
        if (!words_.nextOnLine(name) || name == "{" || name == "}")
            return fail(keyword + " without a name");
        if (holdsControlCharacter(name)) return fail(keyword + " name holds a control character");
        BvhJoint joint;
        joint.name = std::string(name);
        joint.parent = parent;
        const std::string opener = keyword + " " + joint.name;
        return openBlock(std::move(joint), opener);
    }

    bool openEndSite(int parent) {
        std::string_view site;
        if (!words_.nextOnLine(site) || site != "Site") return fail("expected 'Site' after 'End'");
        BvhJoint joint;
        joint.parent = parent;
        joint.endSite = true;
        return openBlock(std::move(joint), "End Site");
    }

    bool openBlock(BvhJoint joint, const std::string& opener) {
        std::string_view brace;
        if (!nextWord(brace, "after " + opener)) return false;
        if (brace != "{") return fail("expected '{' after " + opener + ", found " + quoted(brace));
        open_.push_back(static_cast<int>(motion_.joints.size()));
        motion_.joints.push_back(std::move(joint));
        seen_.emplace_back();
        return true;
    }

    bool closeBlock(int joint) {
        if (!seen_[static_cast<std::size_t>(joint)].offset)
            return fail(describeJoint(joint) + " has no OFFSET");
        open_.pop_back();
        return true;
    }

    bool readOffset(int joint) {
        BlockSeen& seen = seen_[static_cast<std::size_t>(joint)];
        if (seen.offset) return fail(describeJoint(joint) + " has a second OFFSET");
        seen.offset = true;
        float components[3] = {0.0f, 0.0f, 0.0f};
        for (float& component : components) {
            std::string_view word;
            if (!nextWord(word, "inside an OFFSET") || !readFloat(word, component)) return false;
        }
        motion_.joints[static_cast<std::size_t>(joint)].offset.set(components[0], components[1],
                                                                   components[2]);
        return true;
    }

    bool readChannels(int joint) {
        BlockSeen& seen = seen_[static_cast<std::size_t>(joint)];
        if (seen.channels) return fail(describeJoint(joint) + " has a second CHANNELS");
        seen.channels = true;
        std::string_view word;
        int count = 0;
        if (!nextWord(word, "inside CHANNELS") || !readCount(word, "CHANNELS", count)) return false;
        // NOTE: no reserve(count): the count is the file's claim, the names are what it holds.
        std::vector<BvhChannel>& channels =
            motion_.joints[static_cast<std::size_t>(joint)].channels;
        for (int c = 0; c < count; ++c) {
            BvhChannel channel = BvhChannel::Xposition;
            if (!nextWord(word, "inside CHANNELS")) return false;
            if (!parseChannel(word, channel)) return fail("unknown channel " + quoted(word));
            channels.push_back(channel);
        }
        return true;
    }

    // Frame values follow the joints in file order, each joint's channels in its own order.
    bool finishHierarchy() {
        long long total = 0;
        for (BvhJoint& joint : motion_.joints) {
            joint.firstValue = static_cast<int>(total);
            total += static_cast<long long>(joint.channels.size());
            if (total > INT32_MAX) return fail("the hierarchy has too many channels");
        }
        if (total == 0) return fail("the hierarchy has no channels");
        motion_.valuesPerFrame = static_cast<int>(total);
        nameEndSites();
        return true;
    }

    void nameEndSites() {
        UniqueNames taken;
        for (const BvhJoint& joint : motion_.joints) {
            if (!joint.endSite) taken.reserve(joint.name);
        }
        for (BvhJoint& joint : motion_.joints) {
            if (!joint.endSite) continue;
            joint.name =
                taken.take(motion_.joints[static_cast<std::size_t>(joint.parent)].name + "_end");
        }
    }

    bool readMotionHeader() {
        std::string_view word;
        if (!nextWord(word, "after MOTION")) return false;
        if (word != "Frames:")
            return fail("expected 'Frames:' after MOTION, found " + quoted(word));
        if (!nextWord(word, "after 'Frames:'") || !readCount(word, "Frames:", frameCount_))
            return false;
        if (!nextWord(word, "before 'Frame Time:'")) return false;
        std::string_view second;
        if (word != "Frame" || !words_.nextOnLine(second) || second != "Time:") {
            return fail("expected 'Frame Time:', found " + quoted(word));
        }
        double frameTime = 0.0;
        if (!nextWord(word, "after 'Frame Time:'") || !readNumber(word, frameTime)) return false;
        if (!(frameTime > 0.0) || frameTime > MaxFrameTime) {
            return fail("Frame Time: needs a positive number of seconds up to 3600, found " +
                        quoted(word));
        }
        if (words_.nextOnLine(word))
            return fail("unexpected " + quoted(word) + " after the frame time");
        motion_.frameTime = frameTime;
        return true;
    }

    bool readFrames() {
        const std::size_t perFrame = static_cast<std::size_t>(motion_.valuesPerFrame);
        // Every value takes at least one byte and one separator: the text bounds the frames
        // it can hold, whatever `Frames:` claims.
        const std::size_t framesTextHolds = words_.remainingBytes() / (2 * perFrame) + 1;
        const std::size_t framesToReserve =
            std::min(static_cast<std::size_t>(frameCount_), framesTextHolds);
        motion_.values.reserve(framesToReserve * perFrame);
        // Real exporters miscount `Frames:` by one or two: the motion lines present are used,
        // and declaredFrameCount keeps the claim for a warning.
        int framesRead = 0;
        std::string_view word;
        while (words_.next(word)) {
            if (framesRead == std::numeric_limits<int>::max()) return fail("too many motion lines");
            if (!readFrame(word)) return false;
            ++framesRead;
        }
        motion_.frameCount = framesRead;
        motion_.declaredFrameCount = frameCount_;
        return true;
    }

    // One motion line, starting with its first word: exactly valuesPerFrame numbers.
    bool readFrame(std::string_view word) {
        long long count = 0;
        do {
            ++count;
            if (count > motion_.valuesPerFrame) continue;
            float value = 0.0f;
            if (!readFloat(word, value)) return false;
            motion_.values.push_back(value);
        } while (words_.nextOnLine(word));
        if (count != motion_.valuesPerFrame) {
            return fail("a motion line has " + std::to_string(count) +
                        " values, the channels need " + std::to_string(motion_.valuesPerFrame));
        }
        return true;
    }

    BvhTokenizer words_;
    BvhMotion& motion_;
    LoadError& error_;
    // Blocks whose '}' is still to come, innermost last.
    std::vector<int> open_;
    // Per joint, what its block has declared.
    std::vector<BlockSeen> seen_;
    int frameCount_ = 0;
};

}  // namespace

bool readBvh(const std::string& text, const std::string& path, BvhMotion& motion,
             LoadError& error) {
    motion = BvhMotion();
    error = LoadError();
    error.file = path;
    if (BvhReader(text, motion, error).read()) return true;
    motion = BvhMotion();
    return false;
}

bool readBvhFile(const std::string& path, BvhMotion& motion, LoadError& error) {
    std::string text;
    if (!readFileBytes(path, text, &error)) {
        motion = BvhMotion();
        return false;
    }
    return readBvh(text, path, motion, error);
}

bool checkBvhHasFrames(const BvhMotion& motion, const std::string& path, LoadError& error) {
    if (motion.frameCount > 0) return true;
    error = LoadError();
    error.file = path;
    return fail(error, "", "the capture has no frames");
}

std::string frameCountWarning(const BvhMotion& motion) {
    if (motion.declaredFrameCount == motion.frameCount) return {};
    const std::string present = std::to_string(motion.frameCount);
    return "'Frames:' says " + std::to_string(motion.declaredFrameCount) + ", but " + present +
           " motion line" + (motion.frameCount == 1 ? " follows" : "s follow") + "; " +
           (motion.frameCount == 1 ? "it is" : "all " + present + " are") + " used";
}

}  // namespace vorel
