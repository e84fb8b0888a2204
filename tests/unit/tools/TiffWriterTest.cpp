// Whole files read back by independent readers: libtiff's tiffinfo and tiffdump, and
// ImageMagick's identify and convert.
#include "TiffWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

using namespace vlprint;

namespace {

struct CommandResult {
    int status;
    std::string output;
};

// Runs a shell command; output holds what it wrote to stdout and stderr together.
CommandResult RunCommand(const std::string& command) {
    CommandResult result{-1, ""};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        return result;
    }
    char chunk[4096];
    std::size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof(chunk), pipe)) > 0) {
        result.output.append(chunk, read);
    }
    result.status = pclose(pipe);
    return result;
}

class TiffFile : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string Write(const std::string& name, const std::vector<const BilevelPage*>& pages,
                      Compression compression) {
        const std::vector<std::uint8_t> bytes = WriteTiff(pages, compression, 150);
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vlprint-tiff-" + std::to_string(getpid()));
};

// A page that exercises every path of the encoders: noise (literals, a full LZW table), long
// white and black runs, and a width that is no multiple of eight.
BilevelPage TestPage(std::uint32_t width, std::uint32_t height, unsigned seed) {
    BilevelPage page(width, height);
    std::mt19937 random(seed);
    const std::size_t rowBytes = page.BytesPerRow();
    const std::uint8_t lastByteMask = static_cast<std::uint8_t>(0xFF << ((8 - width % 8) % 8));
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = page.Row(y);
        for (std::size_t x = 0; x < rowBytes; ++x) {
            if (y < height / 3) {
                row[x] = static_cast<std::uint8_t>(random());
            } else if (y % 17 == 0) {
                row[x] = 0xFF;
            } else if (x == y % rowBytes) {
                row[x] = 0x3C;
            }
        }
        row[rowBytes - 1] &= lastByteMask;
    }
    return page;
}

// The page's pixels as ImageMagick reads them: a PBM raster, rows padded to bytes, 1 = black.
std::string PixelsOf(const std::string& file, int page) {
    const CommandResult converted =
        RunCommand("convert '" + file + "[" + std::to_string(page) + "]' pbm:- ");
    const std::size_t width = converted.output.find('\n', 3);
    return width == std::string::npos ? std::string() : converted.output.substr(width + 1);
}

std::string Bits(const BilevelPage& page) {
    return std::string(page.bits.begin(), page.bits.end());
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace

TEST_F(TiffFile, every_compression_gives_pages_that_readers_decode_to_the_same_pixels) {
    const BilevelPage first = TestPage(1001, 300, 1);
    const BilevelPage second = TestPage(1001, 300, 2);
    const BilevelPage third = TestPage(37, 5, 3);
    for (Compression compression : {Compression::None, Compression::PackBits, Compression::Lzw}) {
        SCOPED_TRACE(CompressionTag(compression));
        const std::string file = Write("pages.tif", {&first, &second, &third}, compression);
        EXPECT_EQ(PixelsOf(file, 0), Bits(first));
        EXPECT_EQ(PixelsOf(file, 1), Bits(second));
        EXPECT_EQ(PixelsOf(file, 2), Bits(third));
        const CommandResult decoded = RunCommand("tiffinfo -D '" + file + "'");
        EXPECT_EQ(decoded.status, 0);
        EXPECT_EQ(Count(decoded.output, "TIFF Directory at offset"), 3u);
        EXPECT_EQ(decoded.output.find("rror"), std::string::npos) << decoded.output;
        EXPECT_EQ(decoded.output.find("arning"), std::string::npos) << decoded.output;
    }
}

TEST_F(TiffFile, tiffinfo_reads_a_bilevel_page_at_150_dpi) {
    const BilevelPage page = TestPage(1240, 1754, 4);
    const std::string file = Write("page.tif", {&page}, Compression::Lzw);
    const std::string info = RunCommand("tiffinfo '" + file + "'").output;
    EXPECT_NE(info.find("Image Width: 1240 Image Length: 1754"), std::string::npos) << info;
    EXPECT_NE(info.find("Resolution: 150, 150 pixels/inch"), std::string::npos) << info;
    EXPECT_NE(info.find("Bits/Sample: 1"), std::string::npos) << info;
    EXPECT_NE(info.find("Compression Scheme: LZW"), std::string::npos) << info;
    EXPECT_NE(info.find("Photometric Interpretation: min-is-white"), std::string::npos) << info;
    EXPECT_NE(info.find("Samples/Pixel: 1"), std::string::npos) << info;
    EXPECT_NE(info.find("Rows/Strip: 52"), std::string::npos) << info;
    EXPECT_NE(info.find("Page Number: 0-1"), std::string::npos) << info;
    EXPECT_EQ(Count(info, "TIFF Directory at offset"), 1u);
}

TEST_F(TiffFile, tags_hold_the_exact_baseline_values) {
    const BilevelPage first = TestPage(64, 10, 5);
    const BilevelPage second = TestPage(64, 10, 6);
    const std::string file = Write("tags.tif", {&first, &second}, Compression::PackBits);
    const std::string dump = RunCommand("tiffdump '" + file + "'").output;
    EXPECT_NE(dump.find("Magic: 0x4949 <little-endian> Version: 0x2a"), std::string::npos) << dump;
    for (const char* tag :
         {"SubFileType (254) LONG (4) 1<2>", "ImageWidth (256) LONG (4) 1<64>",
          "ImageLength (257) LONG (4) 1<10>", "BitsPerSample (258) SHORT (3) 1<1>",
          "Compression (259) SHORT (3) 1<32773>", "Photometric (262) SHORT (3) 1<0>",
          "SamplesPerPixel (277) SHORT (3) 1<1>", "RowsPerStrip (278) LONG (4) 1<1024>",
          "XResolution (282) RATIONAL (5) 1<150>", "YResolution (283) RATIONAL (5) 1<150>",
          "ResolutionUnit (296) SHORT (3) 1<2>"}) {
        EXPECT_EQ(Count(dump, tag), 2u) << tag << "\n" << dump;
    }
    EXPECT_EQ(Count(dump, "PageNumber (297) SHORT (3) 2<0 2>"), 1u) << dump;
    EXPECT_EQ(Count(dump, "PageNumber (297) SHORT (3) 2<1 2>"), 1u) << dump;
}

TEST_F(TiffFile, a_file_of_one_page_is_no_page_of_a_multipage_file) {
    const BilevelPage page = TestPage(16, 4, 7);
    const std::string file = Write("one.tif", {&page}, Compression::None);
    const std::string dump = RunCommand("tiffdump '" + file + "'").output;
    EXPECT_NE(dump.find("SubFileType (254) LONG (4) 1<0>"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Compression (259) SHORT (3) 1<1>"), std::string::npos) << dump;
    EXPECT_NE(dump.find("PageNumber (297) SHORT (3) 2<0 1>"), std::string::npos) << dump;
}

TEST_F(TiffFile, identify_sees_every_page_as_one_bit_bilevel) {
    const BilevelPage first = TestPage(200, 100, 8);
    const BilevelPage second = TestPage(200, 100, 9);
    const BilevelPage third = TestPage(200, 100, 10);
    const std::string file = Write("identify.tif", {&first, &second, &third}, Compression::Lzw);
    const CommandResult identified =
        RunCommand("identify -format '%p %wx%h %z %[type] %C %x\\n' '" + file + "'");
    EXPECT_EQ(identified.status, 0);
    EXPECT_EQ(identified.output, "0 200x100 1 Bilevel LZW 150\n"
                                 "1 200x100 1 Bilevel LZW 150\n"
                                 "2 200x100 1 Bilevel LZW 150\n");
}
