#include "tools/common/option_scanner.h"

#include <cctype>

namespace vorel {

bool OptionScanner::isOperand(const std::string& word) const {
    if (optionsEnded_ || word.size() < 2 || word[0] != '-') return true;
    const char second = word[1];
    return dashedNumbers_ == DashedNumbers::AreOperands &&
           (std::isdigit(static_cast<unsigned char>(second)) || second == '.');
}

void OptionScanner::enterOption(const std::string& word) {
    const std::size_t equals = word.find('=');
    hasInlineValue_ = equals != std::string::npos;
    option_ = word.substr(0, equals);
    inlineValue_ = hasInlineValue_ ? word.substr(equals + 1) : std::string();
}

bool OptionScanner::nextOption() {
    if (hasInlineValue_ && unusedValueProblem_.empty()) {
        unusedValueProblem_ = "option '" + option_ + "' takes no value";
    }
    hasInlineValue_ = false;
    while (++at_ < arguments_.size()) {
        const std::string& word = arguments_[at_];
        if (isOperand(word)) {
            operands_.push_back(word);
        } else if (word == "--") {
            optionsEnded_ = true;
        } else if (word == "--help" || word == "-h") {
            helpRequested_ = true;
            return false;
        } else {
            enterOption(word);
            return true;
        }
    }
    return false;
}

bool OptionScanner::takeValue(std::string& value, std::string& problem) {
    if (hasInlineValue_) {
        value = inlineValue_;
        hasInlineValue_ = false;
        return true;
    }
    if (at_ + 1 >= arguments_.size()) {
        problem = "option '" + option_ + "' needs a value";
        return false;
    }
    value = arguments_[++at_];
    return true;
}

bool OptionScanner::finishOperands(std::size_t fewest, std::size_t most, const std::string& wanted,
                                   std::string& problem) const {
    if (helpRequested_) return true;
    if (!unusedValueProblem_.empty()) {
        problem = unusedValueProblem_;
        return false;
    }
    if (operands_.size() < fewest || operands_.size() > most) {
        problem = wanted;
        return false;
    }
    return true;
}

}  // namespace vorel
