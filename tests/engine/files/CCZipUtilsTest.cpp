#include "engine/files/CCZipUtils.h"
#include "engine/files/CCFileUtils.h"

#include "FilesTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <zlib.h>

using namespace kvengine;
using kvtest::TempDir;

namespace {

std::string sample(size_t n) {
    std::string s(n, '\0');
    unsigned x = 12345;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = static_cast<char>((i % 64 < 40) ? 'a' + i % 7 : (x >> 16)); // partly compressible
    }
    return s;
}

std::string zlibCompress(const std::string& plain) {
    uLongf size = compressBound(plain.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(plain.data()),
             plain.size());
    out.resize(size);
    return out;
}

std::string gzipCompress(const std::string& plain) {
    z_stream s{};
    deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&s, plain.size()) + 32, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    s.avail_in = static_cast<uInt>(plain.size());
    s.next_out = reinterpret_cast<Bytef*>(&out[0]);
    s.avail_out = static_cast<uInt>(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

std::string cczImage(const std::string& plain, unsigned type = 0, unsigned version = 2,
                     long lengthField = -1) {
    unsigned length =
        lengthField < 0 ? static_cast<unsigned>(plain.size()) : static_cast<unsigned>(lengthField);
    std::string header = "CCZ!";
    header += static_cast<char>(type >> 8);
    header += static_cast<char>(type);
    header += static_cast<char>(version >> 8);
    header += static_cast<char>(version);
    header += std::string(4, '\0');
    for (int shift = 24; shift >= 0; shift -= 8)
        header += static_cast<char>(length >> shift);
    return header + zlibCompress(plain);
}

std::string scrambled(std::string text) {
    scrambleDataBuffer(reinterpret_cast<unsigned char*>(&text[0]), static_cast<unsigned>(text.size()));
    return text;
}

} // namespace

TEST(CCZ, ReadsAScrambledContainer) {
    TempDir dir;
    std::string plain = sample(70000);
    kvtest::writeBytes(dir.file("sheet.pvr.ccz"), scrambled(cczImage(plain)));
    unsigned char* out = nullptr;
    int length = inflateCCZFile(dir.file("sheet.pvr.ccz").c_str(), &out);
    ASSERT_EQ(length, 70000);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), length), plain);
    free(out);
}

TEST(CCZ, RefusesBadHeadersAndLengthsThatDoNotMatch) {
    std::string plain = sample(5000);
    struct Case {
        const char* what;
        std::string image;
        int expected;
    } cases[] = {
        {"version 2", cczImage(plain, 0, 2), 5000},
        {"version 0", cczImage(plain, 0, 0), 5000},
        {"type 1", cczImage(plain, 1, 2), -1},
        {"version 3", cczImage(plain, 0, 3), -1},
        {"ten bytes", cczImage(plain).substr(0, 10), -1},
        {"bad signature", "CCY!" + cczImage(plain).substr(4), -1},
        {"length too long", cczImage(plain, 0, 2, 5001), -1},
        {"length too short", cczImage(plain, 0, 2, 4999), -1},
        {"huge length", cczImage(plain, 0, 2, 0xFFFFFFF0L), -1},

        {"truncated payload", cczImage(plain).substr(0, 40), -1},
        {"empty payload", cczImage(""), 0},
    };
    for (const Case& c : cases) {
        unsigned char* out = reinterpret_cast<unsigned char*>(1);
        testing::internal::CaptureStderr();
        int length = inflateCCZBuffer(reinterpret_cast<const unsigned char*>(c.image.data()),
                                      static_cast<unsigned>(c.image.size()), &out);
        std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(length, c.expected) << c.what;
        if (c.expected < 0) {
            EXPECT_EQ(out, nullptr) << c.what;
            EXPECT_NE(log, "") << c.what;
        } else {
            EXPECT_NE(out, nullptr) << c.what;
        }
        free(c.expected < 0 ? nullptr : out);
    }
    unsigned char* out = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(inflateCCZFile("/no/such/file.ccz", &out), -1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, nullptr);
}

TEST(GZip, ReadsFilesOfEverySizeClass) {
    TempDir dir;
    // 524,288 bytes exactly fills the first read; the larger one needs two growths.
    for (size_t n : {size_t(0), size_t(1000), size_t(524288), size_t(2 * 1024 * 1024 + 3)}) {
        std::string plain = sample(n);
        std::string path = dir.file("t" + std::to_string(n) + ".pvr.gz");
        kvtest::writeBytes(path, gzipCompress(plain));
        unsigned char* out = nullptr;
        int length = inflateGZipFile(path.c_str(), &out);
        ASSERT_EQ(length, static_cast<int>(n));
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), n), plain);
        free(out);
    }
}

TEST(CCZ, ALengthThePayloadCannotGiveIsRefusedBeforeAnythingIsAllocated) {
    // 256 MB stated in a 26-byte file, and 100 MB for a payload that deflate can expand to at most
    // about a thousand times its size.
    for (const std::string& image :
         {cczImage("ab", 0, 2, 256L * 1024 * 1024), cczImage(std::string(100000, 'z'), 0, 2, 100000000L)}) {
        unsigned char* out = reinterpret_cast<unsigned char*>(1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(inflateCCZBuffer(reinterpret_cast<const unsigned char*>(image.data()),
                                   static_cast<unsigned>(image.size()), &out),
                  -1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot come from"), std::string::npos);
        EXPECT_EQ(out, nullptr);
    }
}

TEST(CCZ, LargeContainersGrowTheirBufferToTheStatedLength) {
    // Highly compressible: the payload is far smaller than the first buffer guess.
    std::string plain(3 * 1024 * 1024 + 5, 'q');
    plain[1000] = 'x';
    const std::string image = cczImage(plain);
    unsigned char* out = nullptr;
    ASSERT_EQ(inflateCCZBuffer(reinterpret_cast<const unsigned char*>(image.data()),
                               static_cast<unsigned>(image.size()), &out),
              static_cast<int>(plain.size()));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), plain.size()), plain);
    free(out);
}

TEST(GZip, TruncatedMissingOrNonGzipFilesFail) {
    TempDir dir;
    std::string whole = gzipCompress(sample(100000));
    kvtest::writeBytes(dir.file("cut.gz"), whole.substr(0, whole.size() / 2));
    std::string corrupt = whole;
    corrupt[corrupt.size() - 3] ^= 0x55; // damages the length/checksum trailer
    kvtest::writeBytes(dir.file("corrupt.gz"), corrupt);
    // zlib's transparent mode would hand these back as they are, as if unpacked.
    kvtest::writeBytes(dir.file("plain.pvr.gz"), "PVR!" + sample(3000));
    kvtest::writeBytes(dir.file("empty.pvr.gz"), "");
    for (std::string path : {dir.file("cut.gz"), dir.file("corrupt.gz"), dir.file("missing.gz"),
                             dir.file("plain.pvr.gz"), dir.file("empty.pvr.gz")}) {
        unsigned char* out = reinterpret_cast<unsigned char*>(1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(inflateGZipFile(path.c_str(), &out), -1) << path;
        EXPECT_NE(testing::internal::GetCapturedStderr(), "") << path;
        EXPECT_EQ(out, nullptr) << path;
    }
}

TEST(InflateMemory, AnyHintGivesTheWholeResultForZlibAndGzip) {
    std::string plain = sample(300000);
    for (const std::string& packed : {zlibCompress(plain), gzipCompress(plain)}) {
        for (unsigned hint : {0u, 1u, 4096u, 300000u, 5000000u}) {
            unsigned char* out = nullptr;
            int length = inflateMemoryWithHint(reinterpret_cast<const unsigned char*>(packed.data()),
                                               static_cast<unsigned>(packed.size()), &out, hint);
            ASSERT_EQ(length, 300000) << "hint " << hint;
            EXPECT_EQ(std::string(reinterpret_cast<char*>(out), length), plain) << "hint " << hint;
            delete[] out;
        }
    }
}

TEST(InflateMemory, EveryMemberOfAGzipStreamIsRead) {
    const std::string first = sample(5000), second = sample(7000).substr(100), third = "z";
    const std::string packed = gzipCompress(first) + gzipCompress(second) + gzipCompress(third);
    for (unsigned hint : {0u, 5000u, 100000u}) {
        unsigned char* out = nullptr;
        int length = inflateMemoryWithHint(reinterpret_cast<const unsigned char*>(packed.data()),
                                           static_cast<unsigned>(packed.size()), &out, hint);
        ASSERT_EQ(length, static_cast<int>(first.size() + second.size() + third.size())) << hint;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), length), first + second + third);
        delete[] out;
    }
    // A cut second member is a cut stream.
    const std::string cut = gzipCompress(first) + gzipCompress(second).substr(0, 40);
    unsigned char* out = reinterpret_cast<unsigned char*>(1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(inflateMemoryWithHint(reinterpret_cast<const unsigned char*>(cut.data()),
                                    static_cast<unsigned>(cut.size()), &out, 0),
              0);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(out, nullptr);
}

TEST(InflateMemory, CutOrCorruptStreamsFailWithoutLooping) {
    std::string packed = zlibCompress(sample(50000));
    std::string corrupt = packed;
    corrupt[2] = static_cast<char>(0xFF);
    struct Case {
        const char* what;
        std::string data;
    } cases[] = {
        {"truncated", packed.substr(0, packed.size() / 2)},
        {"one byte short", packed.substr(0, packed.size() - 1)},
        {"corrupt", corrupt},
        {"empty", ""},
        {"not compressed", "plain text, not a stream"},
    };
    for (const Case& c : cases) {
        unsigned char* out = reinterpret_cast<unsigned char*>(1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(inflateMemoryWithHint(reinterpret_cast<const unsigned char*>(c.data.data()),
                                        static_cast<unsigned>(c.data.size()), &out, 16),
                  0)
            << c.what;
        EXPECT_NE(testing::internal::GetCapturedStderr(), "") << c.what;
        EXPECT_EQ(out, nullptr) << c.what;
    }
}
