// Prints the example blocks of docs/formats.md as the writers make them today, for pasting
// into the document when a format's example has to change.
#include <iostream>

#include "tests/docs/format_examples.h"

int main() {
    using namespace vorel::docs;
    std::cout << "<!-- example: " << ExampleModelFile << " -->\n```text\n"
              << annotatedModelHex() << "```\n\n"
              << "<!-- example: " << ExampleAnimationFile << " -->\n```text\n"
              << annotatedAnimationHex() << "```\n\n"
              << "<!-- example: vorel.txt -->\n```text\n"
              << exampleManifestText() << "```\n";
    return 0;
}
