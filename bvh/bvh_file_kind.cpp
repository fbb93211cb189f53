// Recognising BVH text by its first word.
#include "bvh/bvh_file_kind.h"

#include "bvh/bvh_tokenizer.h"

namespace vorel {

bool looksLikeBvh(const std::string& bytes) {
    BvhTokenizer words(bytes);
    std::string_view first;
    return words.next(first) && first == "HIERARCHY";
}

}  // namespace vorel
