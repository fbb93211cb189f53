#include "tools/common/option_scanner.h"

namespace vorel {

bool OptionScanner::nextOption() {
    while (++at_ < arguments_.size()) {
        const std::string& word = arguments_[at_];
        if (optionsEnded_ || word.empty() || word[0] != '-' || word == "-") {
            operands_.push_back(word);
        } else if (word == "--") {
            optionsEnded_ = true;
        } else if (word == "--help" || word == "-h") {
            helpRequested_ = true;
            return false;
        } else {
            return true;
        }
    }
    return false;
}

bool OptionScanner::takeValue(std::string& value, std::string& problem) {
    if (at_ + 1 >= arguments_.size()) {
        problem = option() + " needs a value";
        return false;
    }
    value = arguments_[++at_];
    return true;
}

}  // namespace vorel
