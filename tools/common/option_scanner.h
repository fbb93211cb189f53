// OptionScanner: reads a tool's command line the way every Vorel tool reads it. A word that
// does not start with '-' (and "-" itself) is an operand, "--" makes every later word an
// operand, --help or -h asks for the usage and ends the reading; any other option is handed to
// the tool, which takes the value ("--name=value" or the next word) or the words it needs.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace vorel {

// Whether a word such as "-3" or "-.5" names an option or is an operand, for tools whose
// operands may be negative numbers.
enum class DashedNumbers { AreOptions, AreOperands };

class OptionScanner {
  public:
    explicit OptionScanner(const std::vector<std::string>& arguments,
                           DashedNumbers dashedNumbers = DashedNumbers::AreOptions)
        : arguments_(arguments), dashedNumbers_(dashedNumbers) {}

    // Moves to the next option, collecting the operands on the way; false at the end of the
    // line or at --help.
    bool nextOption();
    // The option nextOption moved to, without any "=value".
    const std::string& option() const { return option_; }
    // The option's "=value", or else the word after it, used up; false, with problem
    // "option 'OPTION' needs a value", when the line ends first.
    bool takeValue(std::string& value, std::string& problem);
    // The option's "=value" and the words after it for which take(word) returns true, used up
    // in order up to the first for which it returns false; how many there were.
    template <typename Take>
    std::size_t takeWordsWhile(Take take) {
        std::size_t taken = 0;
        if (hasInlineValue_) {
            if (!take(inlineValue_)) return 0;
            hasInlineValue_ = false;
            ++taken;
        }
        while (at_ + 1 < arguments_.size() && take(arguments_[at_ + 1])) {
            ++at_;
            ++taken;
        }
        return taken;
    }

    // Once nextOption has returned false: true when --help was asked for, or when no option
    // was given a value it does not take ("option 'OPTION' takes no value") and the operands
    // number from fewest to most; otherwise false, with problem set (to wanted for the count).
    bool finishOperands(std::size_t fewest, std::size_t most, const std::string& wanted,
                        std::string& problem) const;
    static constexpr std::size_t AnyNumber = std::numeric_limits<std::size_t>::max();

    bool helpRequested() const { return helpRequested_; }
    const std::vector<std::string>& operands() const { return operands_; }

  private:
    bool isOperand(const std::string& word) const;
    // Takes word as the current option, split at its first '='.
    void enterOption(const std::string& word);

    const std::vector<std::string>& arguments_;
    const DashedNumbers dashedNumbers_;
    // The word last looked at; the largest size_t before the first, so one step reaches 0.
    std::size_t at_ = static_cast<std::size_t>(-1);
    std::string option_;
    std::string inlineValue_;
    // An "=value" given with the option and not yet taken.
    bool hasInlineValue_ = false;
    bool optionsEnded_ = false;
    bool helpRequested_ = false;
    // The first value given to an option that took none.
    std::string unusedValueProblem_;
    std::vector<std::string> operands_;
};

}  // namespace vorel
