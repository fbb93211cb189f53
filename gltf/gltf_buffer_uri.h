// checkBufferUri: whether an external buffer's URI stays inside the document's folder. A file
// someone sent may name only files beside it or below it, never other files of the machine.
#pragma once

#include <string>

namespace vorel {

// Empty when `uri` (a data URI, or a relative path, percent escapes decoded as the reader
// decodes them) is acceptable; else what is wrong, revealing nothing about any other file.
std::string bufferUriProblem(const std::string& uri);

}  // namespace vorel
