#include "engine/files/CCBase64.h"

#include <gtest/gtest.h>

#include <string>

using namespace kvengine;

namespace {

struct Decoded {
    int result;
    std::string bytes;
};

Decoded decode(const std::string& text) {
    std::string out(text.size() * 3 / 4 + 1, '\0');
    unsigned length = 12345;
    int result =
        base64Decode(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()),
                     reinterpret_cast<unsigned char*>(&out[0]), &length);
    out.resize(length);
    return {result, out};
}

} // namespace

TEST(Base64, DecodesGroupsPaddingAndSkipsOtherBytes) {
    struct Case {
        std::string in;
        int result;
        std::string out;
        const char* message;
    } cases[] = {
        {"TWFu", 0, "Man", nullptr},
        {"TWE=", 0, "Ma", nullptr},
        {"TQ==", 0, "M", nullptr},
        {"TWFu\nTWFu\r\n  ", 0, "ManMan", nullptr},
        {"", 0, "", nullptr},
        {"TWFuTWF", 1, "Man", "at least 6 bits truncated"},
        {"TWFuT", 1, "Man", "at least 18 bits truncated"},
        {"T=", 1, "", "at least 2 bits missing"},
        {"TWFu=ignored", 0, "Man", nullptr},
        {"/+/+", 0, "\xff\xef\xfe", nullptr},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        Decoded d = decode(c.in);
        std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(d.result, c.result) << c.in;
        EXPECT_EQ(d.bytes, c.out) << c.in;
        if (c.message)
            EXPECT_NE(log.find(c.message), std::string::npos) << c.in;
        else
            EXPECT_EQ(log, "") << c.in;
    }
}

TEST(Base64, ToBufferGivesTheBytesOrNull) {
    const std::string good = "AQAAAAIAAAA=";
    unsigned char* out = reinterpret_cast<unsigned char*>(1);
    int length = base64DecodeToBuffer(&out, static_cast<unsigned>(good.size()),
                                      reinterpret_cast<const unsigned char*>(good.data()));
    ASSERT_EQ(length, 8);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 8), std::string("\1\0\0\0\2\0\0\0", 8));
    delete[] out;

    for (std::string bad : {std::string("QUJ"), std::string(""), std::string("\n\n")}) {
        testing::internal::CaptureStderr();
        out = reinterpret_cast<unsigned char*>(1);
        EXPECT_EQ(base64DecodeToBuffer(&out, static_cast<unsigned>(bad.size()),
                                       reinterpret_cast<const unsigned char*>(bad.data())),
                  0);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(out, nullptr);
    }
}
