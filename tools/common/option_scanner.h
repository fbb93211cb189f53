// OptionScanner: reads a tool's command line the way every conversion tool reads it. A word
// that does not start with '-' (and "-" itself) is an operand, "--" makes every later word an
// operand, --help or -h asks for the usage and ends the reading; any other option is handed to
// the tool, which takes the words after it that it needs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vorel {

class OptionScanner {
  public:
    explicit OptionScanner(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    // Moves to the next option, collecting the operands on the way; false at the end of the
    // line or at --help.
    bool nextOption();
    // The option nextOption moved to.
    const std::string& option() const { return arguments_[at_]; }
    // The word after the option, used up; false, with problem "OPTION needs a value", when the
    // line ends first.
    bool takeValue(std::string& value, std::string& problem);
    // The words after the option for which take(word) returns true, used up in order up to
    // the first for which it returns false; how many there were.
    template <typename Take>
    std::size_t takeWordsWhile(Take take) {
        std::size_t taken = 0;
        while (at_ + 1 < arguments_.size() && take(arguments_[at_ + 1])) {
            ++at_;
            ++taken;
        }
        return taken;
    }

    bool helpRequested() const { return helpRequested_; }
    const std::vector<std::string>& operands() const { return operands_; }

  private:
    const std::vector<std::string>& arguments_;
    // The word last looked at; the largest size_t before the first, so one step reaches 0.
    std::size_t at_ = static_cast<std::size_t>(-1);
    bool optionsEnded_ = false;
    bool helpRequested_ = false;
    std::vector<std::string> operands_;
};

}  // namespace vorel
