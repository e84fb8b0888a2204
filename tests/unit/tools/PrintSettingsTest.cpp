#include "PrintSettings.h"

#include <gtest/gtest.h>

using namespace vlprint;

namespace {

PrintSettings Interpret(const std::string& prompt, const std::string& path,
                        const std::string& compression, unsigned multipage = 1) {
    return InterpretSettings({prompt, path, compression, multipage});
}

} // namespace

TEST(PrintSettings, empty_texts_read_as_their_defaults) {
    const PrintSettings settings = Interpret("", "", "");
    EXPECT_FALSE(settings.printOnFilePrompt);
    EXPECT_EQ(settings.outputPath, "c:\\VelloraDoc");
    EXPECT_EQ(settings.compression, Compression::Lzw);
    EXPECT_TRUE(settings.multipage);
}

TEST(PrintSettings, the_prompt_is_off_only_for_exactly_OFF) {
    EXPECT_FALSE(Interpret("OFF", "", "").printOnFilePrompt);
    for (const char* on : {"ON", "off", "On", "Of", "x", "OF "}) {
        EXPECT_TRUE(Interpret(on, "", "").printOnFilePrompt) << on;
    }
}

TEST(PrintSettings, the_output_path_is_taken_as_it_is) {
    EXPECT_EQ(Interpret("", "e:\\My%20Files\\", "").outputPath, "e:\\My%20Files\\");
    EXPECT_EQ(Interpret("", " ", "").outputPath, " ");
}

TEST(PrintSettings, compression_0_is_packbits_1_none_and_any_other_lzw) {
    EXPECT_EQ(Interpret("", "", "0").compression, Compression::PackBits);
    EXPECT_EQ(Interpret("", "", "1").compression, Compression::None);
    EXPECT_EQ(Interpret("", "", "2").compression, Compression::Lzw);
    EXPECT_EQ(Interpret("", "", "5").compression, Compression::Lzw);
    EXPECT_EQ(Interpret("", "", "9").compression, Compression::Lzw);
    // Not a digit: the decimal conversion gives 0.
    EXPECT_EQ(Interpret("", "", "x").compression, Compression::PackBits);
    EXPECT_EQ(Interpret("", "", "-").compression, Compression::PackBits);
}

TEST(PrintSettings, multipage_counts_by_its_low_eight_bits) {
    EXPECT_TRUE(Interpret("", "", "", 1).multipage);
    EXPECT_TRUE(Interpret("", "", "", 2).multipage);
    EXPECT_FALSE(Interpret("", "", "", 0).multipage);
    EXPECT_FALSE(Interpret("", "", "", 256).multipage);
    EXPECT_TRUE(Interpret("", "", "", 257).multipage);
    EXPECT_TRUE(Interpret("", "", "", 0xFFFFFFFFu).multipage);
}

TEST(PrintSettings, are_described_in_the_words_of_the_properties_dialog) {
    EXPECT_EQ(DescribeSettings(Interpret("OFF", "c:\\Out\\", "2", 1)),
              "output default filename root \"c:\\Out\\\", compression LZW, multipage TIFF");
    EXPECT_EQ(DescribeSettings(Interpret("ON", "", "0", 0)),
              "output from filename dialog, compression RLE, one TIFF file per page");
    EXPECT_EQ(DescribeSettings(Interpret("", "", "1", 1)),
              "output default filename root \"c:\\VelloraDoc\", compression None, multipage TIFF");
}
