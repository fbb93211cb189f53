// BoxSetFolder: a per-test folder under the temporary directory with writeBoxSet's files.
#include "tests/support/box_set_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tests/support/box_figure.h"

namespace vorel::test_support {

BoxSetFolder::BoxSetFolder()
    : folder_(std::filesystem::temp_directory_path() /
              ("vorel-app-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::create_directories(folder_);
    made_ = writeBoxSet(folder_.string());
}

BoxSetFolder::~BoxSetFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string BoxSetFolder::path(const std::string& name) const {
    return (folder_ / name).string();
}

void BoxSetFolder::writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
}

}  // namespace vorel::test_support
