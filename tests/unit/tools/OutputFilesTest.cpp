#include "OutputFiles.h"

#include <gtest/gtest.h>

using namespace vlprint;

namespace {

std::vector<std::string> Suffixes(const std::vector<OutputFile>& files) {
    std::vector<std::string> suffixes;
    for (const OutputFile& file : files) {
        suffixes.push_back(file.nameSuffix);
    }
    return suffixes;
}

} // namespace

TEST(OutputFiles, a_multipage_print_is_one_file_without_suffix) {
    const std::vector<OutputFile> files = PlanOutputFiles(5, true);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].nameSuffix, "000");
    EXPECT_EQ(files[0].firstPage, 0u);
    EXPECT_EQ(files[0].pageCount, 5u);
}

TEST(OutputFiles, one_file_per_page_is_named_by_page_number) {
    const std::vector<OutputFile> files = PlanOutputFiles(3, false);
    EXPECT_EQ(Suffixes(files), (std::vector<std::string>{"001", "002", "003"}));
    for (std::size_t page = 0; page < files.size(); ++page) {
        EXPECT_EQ(files[page].firstPage, page);
        EXPECT_EQ(files[page].pageCount, 1u);
    }
}

TEST(OutputFiles, page_numbers_past_999_grow_a_digit) {
    const std::vector<OutputFile> files = PlanOutputFiles(1001, false);
    EXPECT_EQ(files[98].nameSuffix, "099");
    EXPECT_EQ(files[998].nameSuffix, "999");
    EXPECT_EQ(files[999].nameSuffix, "1000");
    EXPECT_EQ(files[1000].nameSuffix, "1001");
}
