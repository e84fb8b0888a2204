#include "PathFieldText.h"
#include "PrintSettings.h"
#include "SettingsFilePath.h"
#include "SettingsRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>

namespace {

// What the program makes of a stored text key: the read's empty-value rule, then the key's own.
std::string TextAfterRead(const std::string& stored, const SettingKey& setting) {
    std::string buffer(setting.bufferSize, '\0');
    std::memcpy(&buffer[0], stored.c_str(),
                std::min<std::size_t>(stored.size(), setting.bufferSize - 1));
    UseDefaultWhenEmpty(&buffer[0], setting.bufferSize, setting.defaultValue);
    return buffer.c_str();
}

// The settings of the four stored values, each read as the platform reads it.
Settings Read(const std::string& prompt, const std::string& path, const std::string& compression,
              unsigned multipage = 1) {
    const std::map<std::string, std::string> stored = {{"PrintOnFilePrompt", prompt},
                                                       {"OutputPath", path},
                                                       {"CompressionType", compression},
                                                       {"Multipage", std::to_string(multipage)}};
    return ReadSettingsWith([&stored](const SettingKey& key) {
        const std::string& value = stored.at(key.key);
        return key.readAs == ReadAs::Text ? TextAfterRead(value, key) : value;
    });
}

// What the driver stand-in makes of them.
vlprint::PrintSettings Interpret(const std::string& prompt, const std::string& path,
                                 const std::string& compression, unsigned multipage = 1) {
    return vlprint::ForPrinting(Read(prompt, path, compression, multipage));
}

} // namespace

TEST(SettingKeys, are_read_and_written_in_the_order_of_the_file) {
    ASSERT_EQ(std::size(kSettingKeys), 4u);
    EXPECT_STREQ(kSettingKeys[0].key, "PrintOnFilePrompt");
    EXPECT_STREQ(kSettingKeys[1].key, "OutputPath");
    EXPECT_STREQ(kSettingKeys[2].key, "CompressionType");
    EXPECT_STREQ(kSettingKeys[3].key, "Multipage");
}

TEST(SettingKeys, text_keys_are_read_into_buffers_of_4_260_and_2_bytes) {
    EXPECT_EQ(kPrintOnFilePrompt.bufferSize, 4u);
    EXPECT_EQ(kOutputPath.bufferSize, 260u);
    EXPECT_EQ(kCompressionType.bufferSize, 2u);
    EXPECT_EQ(kMultipage.readAs, ReadAs::Integer);
}

TEST(SettingKeys, a_new_installation_writes_the_defaults) {
    const char* defaults[] = {"OFF", "c:\\VelloraDoc", "2", "1"};
    for (std::size_t i = 0; i < std::size(kSettingKeys); ++i) {
        EXPECT_STREQ(kSettingKeys[i].defaultValue, defaults[i]) << kSettingKeys[i].key;
    }
    const Settings settings = DefaultSettings();
    EXPECT_EQ(settings.filenameMode, FilenameMode::UseDefaultFilename);
    EXPECT_EQ(settings.outputPath, "c:\\VelloraDoc");
    EXPECT_EQ(settings.compression, Compression::Lzw);
    EXPECT_EQ(settings.multipage, Multipage::MultipageTiff);
}

TEST(SettingKeys, ok_writes_each_key_from_the_settings_shown) {
    const Settings shown{FilenameMode::FromFilenameDialog, "d:\\out", Compression::None,
                         Multipage::OneFilePerPage};
    const char* written[] = {"ON", "d:\\out", "1", "0"};
    for (std::size_t i = 0; i < std::size(kSettingKeys); ++i) {
        EXPECT_EQ(kSettingKeys[i].written(shown), written[i]) << kSettingKeys[i].key;
    }
}

TEST(SettingKeys, an_integer_passes_through_as_its_decimal_text) {
    for (unsigned value : {0u, 1u, 256u, 257u, 0xFFFFFFFFu}) {
        EXPECT_EQ(IntegerFromText(std::to_string(value)), value);
    }
}

TEST(SettingsFilePath, is_the_windows_directory_a_backslash_and_the_file_name) {
    EXPECT_EQ(SettingsFilePath("C:\\windows"), "C:\\windows\\Vellora.ini");
}

TEST(SettingsFilePath, directory_at_a_drive_root_gives_a_doubled_backslash) {
    EXPECT_EQ(SettingsFilePath("C:\\"), "C:\\\\Vellora.ini");
}

TEST(SettingsFilePath, longest_path_that_fits_has_259_characters) {
    const std::string directory = "C:\\" + std::string(244, 'd');
    const std::optional<std::string> path = SettingsFilePath(directory);
    ASSERT_TRUE(path);
    EXPECT_EQ(path->size(), 259u);
    EXPECT_EQ(*path, directory + "\\Vellora.ini");
}

TEST(SettingsFilePath, path_one_character_too_long_is_refused_not_cut) {
    EXPECT_EQ(SettingsFilePath("C:\\" + std::string(245, 'd')), std::nullopt);
    EXPECT_EQ(SettingsFilePath(std::string(400, 'd')), std::nullopt);
}

TEST(SettingsFilePath, unknown_windows_directory_is_refused) {
    EXPECT_EQ(SettingsFilePath(""), std::nullopt);
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
    EXPECT_EQ(MultipageFromValue(128), Multipage::MultipageTiff);
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
    EXPECT_STREQ(kMultipage.defaultValue, "1");
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

TEST(PrintSettings, empty_texts_read_as_their_defaults) {
    const vlprint::PrintSettings settings = Interpret("", "", "");
    EXPECT_FALSE(settings.printOnFilePrompt);
    EXPECT_EQ(settings.outputPath, "c:\\VelloraDoc");
    EXPECT_EQ(settings.compression, vlprint::Compression::Lzw);
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

// With the lead bytes 0x81-0x9F of code page 932: "\x83\x5C" is one character.
TEST(PathField, an_edit_keeps_its_characters_without_control_bytes_that_fit_and_the_rest) {
    const LeadByteTest shiftJis = [](unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; };
    const auto kept = [&](std::string_view before, std::string_view after, std::size_t caret) {
        const auto field = KeepEditWithinField(before, after, caret, shiftJis);
        return field ? field->text + "|" + std::to_string(field->caret) : "as is";
    };
    const std::string full = "c:\\" + std::string(254, 'p') + "\x83\x5C";
    EXPECT_EQ(kept("", "c:\\" + std::string(255, 'p') + "\x83\x5C", 0),
              "c:\\" + std::string(255, 'p') + "|258");
    EXPECT_EQ(kept(full, "c:\\\x83\x5C" + full.substr(3), 5), full + "|3");
    EXPECT_EQ(kept("c:\\ab", "c:\\aX\rY\x83\tb", 9), "c:\\aXYb|6");
    // Two of them typed at the end where 2 bytes are left: the first fills them.
    EXPECT_EQ(kept(full.substr(0, 257), full.substr(0, 257) + "\x83\x5C\x83\x5C", 261),
              full + "|259");
    // "\x83\x5C" made "\x83\x1F\x5C": the "\x5C" after the caret is no longer the same character.
    EXPECT_EQ(kept("c:\\\x83\x5C", "c:\\\x83\x1F\x5C", 5), "c:\\\\|4");
    // A full field that ends in a lone lead byte, as Windows 9x types a character byte by byte:
    // its second byte makes one character with it, which does not fit and goes whole.
    const std::string lone = std::string(258, 'p') + "\x83";
    EXPECT_EQ(kept(lone, lone + "\x5C", 260), std::string(258, 'p') + "|258");
    EXPECT_EQ(CaretInFieldCount(full, 259, 258, shiftJis), 258u);
    EXPECT_EQ(CaretInBytes(full, 258, 258, shiftJis), 259u);
    // A lead byte as the last byte is a character of one byte.
    EXPECT_EQ(CaretInBytes("\x83\x5Cq\x83", 3, 3, shiftJis), 4u);
}

// The profile calls drop the spaces at either end and one pair of quotation marks around the
// whole: the field shows what then remains, by whole characters of code page 932.
TEST(PathField, shows_the_text_as_the_file_reads_it_back) {
    const LeadByteTest shiftJis = [](unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; };
    const std::pair<const char*, const char*> rows[] = {
        {" c:\\My Scans\\ Doc  ", "c:\\My Scans\\ Doc"},
        {" ' c:\\x ' ", "c:\\x"},
        {"\"\"x\"\"", "x"},
        {"\"x'", "\"x'"},
        {"'", "'"},
        // The space and the quotation mark are second bytes of a character here.
        {"c:\\\x83 ", "c:\\\x83 "},
        {"\"c:\\\x83\"", "\"c:\\\x83\""},
    };
    for (const auto& [shown, read] : rows) {
        EXPECT_EQ(TextAsTheFileReadsIt(shown, shiftJis), read) << shown;
    }
}

TEST(PrintSettings, compression_0_is_packbits_1_none_and_any_other_lzw) {
    EXPECT_EQ(Interpret("", "", "0").compression, vlprint::Compression::PackBits);
    EXPECT_EQ(Interpret("", "", "1").compression, vlprint::Compression::None);
    EXPECT_EQ(Interpret("", "", "2").compression, vlprint::Compression::Lzw);
    EXPECT_EQ(Interpret("", "", "5").compression, vlprint::Compression::Lzw);
    EXPECT_EQ(Interpret("", "", "9").compression, vlprint::Compression::Lzw);
    // Not a digit: the decimal conversion gives 0.
    EXPECT_EQ(Interpret("", "", "x").compression, vlprint::Compression::PackBits);
    EXPECT_EQ(Interpret("", "", "-").compression, vlprint::Compression::PackBits);
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
    EXPECT_EQ(vlprint::DescribeSettings(Read("OFF", "c:\\Out\\", "2", 1)),
              "output default filename root \"c:\\Out\\\", compression LZW, multipage TIFF");
    EXPECT_EQ(vlprint::DescribeSettings(Read("ON", "", "0", 0)),
              "output from filename dialog, compression RLE, one TIFF file per page");
    EXPECT_EQ(vlprint::DescribeSettings(Read("", "", "1", 1)),
              "output default filename root \"c:\\VelloraDoc\", compression None, multipage TIFF");
}
