#include "SettingsRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// What the program makes of a stored text key: the read's empty-value rule, then the key's own.
std::string TextAfterRead(const std::string& stored, const TextSetting& setting) {
    std::string buffer(setting.bufferSize, '\0');
    std::memcpy(&buffer[0], stored.c_str(),
                std::min<std::size_t>(stored.size(), setting.bufferSize - 1));
    UseDefaultWhenEmpty(&buffer[0], setting.bufferSize, setting.defaultValue);
    return buffer.c_str();
}

} // namespace

TEST(SettingsPath, is_the_windows_directory_a_backslash_and_the_file_name) {
    char path[vellora::kPathBufferSize];
    ASSERT_TRUE(JoinSettingsPath("C:\\windows", path));
    EXPECT_STREQ(path, "C:\\windows\\Vellora.ini");
}

TEST(SettingsPath, directory_at_a_drive_root_gives_a_doubled_backslash) {
    char path[vellora::kPathBufferSize];
    ASSERT_TRUE(JoinSettingsPath("C:\\", path));
    EXPECT_STREQ(path, "C:\\\\Vellora.ini");
}

TEST(SettingsPath, longest_path_that_fits_has_259_characters) {
    char path[vellora::kPathBufferSize];
    const std::string directory = "C:\\" + std::string(244, 'd');
    ASSERT_TRUE(JoinSettingsPath(directory, path));
    EXPECT_EQ(std::strlen(path), 259u);
    EXPECT_EQ(std::string(path), directory + "\\Vellora.ini");
}

TEST(SettingsPath, path_one_character_too_long_is_refused_not_cut) {
    char path[vellora::kPathBufferSize];
    std::memset(path, 'x', sizeof(path));
    EXPECT_FALSE(JoinSettingsPath("C:\\" + std::string(245, 'd'), path));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(JoinSettingsPath(std::string(400, 'd'), path));
    EXPECT_STREQ(path, "");
}

TEST(SettingsPath, unknown_windows_directory_is_refused) {
    char path[vellora::kPathBufferSize] = "C:\\windows\\Vellora.ini";
    EXPECT_FALSE(JoinSettingsPath("", path));
    EXPECT_STREQ(path, "");
}

TEST(PrintOnFilePrompt, only_exactly_OFF_means_the_default_filename) {
    EXPECT_EQ(FilenameModeFromText("OFF"), FilenameMode::UseDefaultFilename);
    for (const char* text : {"ON", "On", "off", "Off", "oFF", "OF", " OFF", "1", "0", "x"}) {
        EXPECT_EQ(FilenameModeFromText(text), FilenameMode::FromFilenameDialog) << text;
    }
}

TEST(PrintOnFilePrompt, longer_text_counts_by_its_first_three_characters) {
    for (const char* text : {"OFFx", "OFF ", "OFFICE"}) {
        EXPECT_EQ(FilenameModeFromText(text), FilenameMode::UseDefaultFilename) << text;
    }
    EXPECT_EQ(FilenameModeFromText("ONOFF"), FilenameMode::FromFilenameDialog);
}

TEST(CompressionType, digits_0_and_1_are_rle_and_none_every_other_number_lzw) {
    EXPECT_EQ(CompressionFromText("0"), Compression::Rle);
    EXPECT_EQ(CompressionFromText("1"), Compression::None);
    for (const char* text : {"2", "3", "5", "7", "9"}) {
        EXPECT_EQ(CompressionFromText(text), Compression::Lzw) << text;
    }
}

TEST(CompressionType, only_the_first_character_counts) {
    EXPECT_EQ(CompressionFromText("12"), Compression::None);
    EXPECT_EQ(CompressionFromText("01"), Compression::Rle);
    EXPECT_EQ(CompressionFromText("21"), Compression::Lzw);
}

TEST(CompressionType, anything_but_a_digit_converts_to_0_and_means_rle) {
    for (const char* text : {"a", "Z", "-1", "+2", " 2", "."}) {
        EXPECT_EQ(CompressionFromText(text), Compression::Rle) << text;
    }
}

TEST(Multipage, only_the_low_8_bits_count) {
    EXPECT_EQ(MultipageFromValue(0), Multipage::OneFilePerPage);
    EXPECT_EQ(MultipageFromValue(256), Multipage::OneFilePerPage);
    EXPECT_EQ(MultipageFromValue(512), Multipage::OneFilePerPage);
    EXPECT_EQ(MultipageFromValue(1), Multipage::MultipageTiff);
    EXPECT_EQ(MultipageFromValue(2), Multipage::MultipageTiff);
    EXPECT_EQ(MultipageFromValue(257), Multipage::MultipageTiff);
    EXPECT_EQ(MultipageFromValue(0xFFFFFFFFu), Multipage::MultipageTiff);
}

TEST(EmptyValues, fall_back_to_the_defaults) {
    EXPECT_EQ(TextAfterRead("", kPrintOnFilePrompt), "OFF");
    EXPECT_EQ(TextAfterRead("", kOutputPath), "c:\\VelloraDoc");
    EXPECT_EQ(TextAfterRead("", kCompressionType), "2");
    EXPECT_EQ(FilenameModeFromText(TextAfterRead("", kPrintOnFilePrompt)),
              FilenameMode::UseDefaultFilename);
    EXPECT_EQ(CompressionFromText(TextAfterRead("", kCompressionType)), Compression::Lzw);
    EXPECT_EQ(kMultipageDefault, 1);
}

TEST(EmptyValues, a_present_value_is_kept) {
    EXPECT_EQ(TextAfterRead("ON", kPrintOnFilePrompt), "ON");
    EXPECT_EQ(TextAfterRead("d:\\out\\", kOutputPath), "d:\\out\\");
    EXPECT_EQ(TextAfterRead("0", kCompressionType), "0");
}

TEST(EmptyValues, a_default_longer_than_the_buffer_is_cut_to_fit) {
    char buffer[2] = "";
    UseDefaultWhenEmpty(buffer, sizeof(buffer), "OFF");
    EXPECT_STREQ(buffer, "O");
}

TEST(WrittenValues, are_normalised_whatever_was_stored) {
    EXPECT_STREQ(PrintOnFilePromptText(FilenameModeFromText("off")), "ON");
    EXPECT_STREQ(PrintOnFilePromptText(FilenameModeFromText("OFFx")), "OFF");
    EXPECT_EQ(CompressionTypeText(CompressionFromText("0")), "0");
    EXPECT_EQ(CompressionTypeText(CompressionFromText("12")), "1");
    EXPECT_EQ(CompressionTypeText(CompressionFromText("7")), "2");
    EXPECT_EQ(CompressionTypeText(CompressionFromText("q")), "0");
    EXPECT_EQ(CompressionTypeText(CompressionFromText("-1")), "0");
    EXPECT_STREQ(MultipageText(MultipageFromValue(256)), "0");
    EXPECT_STREQ(MultipageText(MultipageFromValue(2)), "1");
}
