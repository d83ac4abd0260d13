// The ACE decryption entry point on damaged or unusual encryption
// descriptions: the kinds we do not decode, absurd sizes and spin counts,
// missing parts. Each gives a clear error, never garbage pages.
#include "crypto/ace_codec.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <string>
#include <vector>

#include "header_page.h"

namespace jet {
namespace {

constexpr size_t kInfo = 0x299;

class AceDescription : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string path =
            std::string(TABLESCOPE_TESTDATA) + "/mdb-reader/password/V2010_with-password.accdb";
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in.good()) << "test file missing: " << path;
        file.assign(std::istreambuf_iterator<char>(in), {});
        ASSERT_GE(file.size(), 3 * 4096u);
        page0.assign(file.begin(), file.begin() + 4096);
    }

    std::string xml() const {
        size_t length = page0[kInfo] | page0[kInfo + 1] << 8;
        return std::string(page0.begin() + kInfo + 10, page0.begin() + kInfo + 2 + length);
    }
    void setXml(const std::string& text) {
        size_t length = text.size() + 8;
        page0[kInfo] = static_cast<uint8_t>(length);
        page0[kInfo + 1] = static_cast<uint8_t>(length >> 8);
        std::copy(text.begin(), text.end(), page0.begin() + kInfo + 10);
    }
    void replaceInXml(const std::string& from, const std::string& to) {
        std::string text = xml();
        size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        setXml(text.replace(at, from.size(), to));
    }
    void setVersion(uint16_t major, uint16_t minor, uint32_t flags) {
        page0[kInfo + 2] = static_cast<uint8_t>(major);
        page0[kInfo + 4] = static_cast<uint8_t>(minor);
        for (int i = 0; i < 4; ++i)
            page0[kInfo + 6 + i] = static_cast<uint8_t>(flags >> (8 * i));
    }
    void expectError(ErrorCode code, const std::string& phrase) {
        Result<std::unique_ptr<PageCodec>> codec = makeAceCodec(page0, "password");
        ASSERT_FALSE(codec.isOk()) << "accepted";
        EXPECT_EQ(codec.status().code(), code) << codec.status().message();
        EXPECT_NE(codec.status().message().find(phrase), std::string::npos)
            << codec.status().message();
    }

    std::vector<uint8_t> file;
    std::vector<uint8_t> page0;
};

TEST_F(AceDescription, RightPasswordDecryptsPagesWrongOneIsRefused) {
    Result<std::unique_ptr<PageCodec>> codec = makeAceCodec(page0, "password");
    ASSERT_TRUE(codec.isOk()) << codec.status().message();
    ASSERT_NE(codec->get(), nullptr);
    std::vector<uint8_t> page(file.begin() + 2 * 4096, file.begin() + 3 * 4096);
    EXPECT_NE(page[0], 0x02);  // stored encrypted
    ASSERT_TRUE((*codec)->decode(2, page).isOk());
    EXPECT_EQ(page[0], 0x02);  // the catalog's table definition
    // Encoding (for saved queries) gives back the stored bytes exactly.
    ASSERT_TRUE((*codec)->encode(2, page).isOk());
    EXPECT_TRUE(std::equal(page.begin(), page.end(), file.begin() + 2 * 4096));
    Result<std::unique_ptr<PageCodec>> wrong = makeAceCodec(page0, "Password");
    ASSERT_FALSE(wrong.isOk());
    EXPECT_EQ(wrong.status().code(), ErrorCode::BadPassword);
    EXPECT_EQ(wrong.status().message(), "Not a valid password.");
}

TEST_F(AceDescription, NoPageKeyMeansNotEncrypted) {
    // The key at 0x3E is masked; store the mask itself so it reads as zero.
    std::vector<uint8_t> mask = HeaderPage::unmask(std::vector<uint8_t>(4096, 0), false);
    std::copy(mask.begin() + 0x3E, mask.begin() + 0x42, page0.begin() + 0x3E);
    Result<std::unique_ptr<PageCodec>> codec = makeAceCodec(page0, "");
    ASSERT_TRUE(codec.isOk()) << codec.status().message();
    EXPECT_EQ(codec->get(), nullptr);
}

TEST_F(AceDescription, KindsWeDoNotDecodeAreNamedAsUnsupported) {
    const std::vector<std::vector<uint32_t>> kinds = {{3, 3, 0}, {4, 3, 0},    {1, 1, 0},
                                                      {9, 9, 0}, {4, 2, 0x24}, {3, 2, 0x00}};
    for (const auto& kind : kinds) {
        SetUp();
        setVersion(static_cast<uint16_t>(kind[0]), static_cast<uint16_t>(kind[1]), kind[2]);
        SCOPED_TRACE(std::to_string(kind[0]) + "." + std::to_string(kind[1]));
        expectError(ErrorCode::Unsupported, "encrypted databases are not supported");
    }
}

TEST_F(AceDescription, DamagedDescriptionsAreCorrupt) {
    page0[kInfo] = 0xFF;
    page0[kInfo + 1] = 0xFF;
    expectError(ErrorCode::Corrupt, "page 0");
    SetUp();
    replaceInXml("encryptedKeyValue=", "encryptedKeyValu_=");
    expectError(ErrorCode::Corrupt, "encryption description");
    SetUp();
    replaceInXml("<keyData ", "<keyDat_ ");
    expectError(ErrorCode::Corrupt, "keyData");
    SetUp();
    replaceInXml("saltValue=\"DAyc", "saltValue=\"D!yc");
    expectError(ErrorCode::Corrupt, "encryption description");
    SetUp();
    replaceInXml("keyBits=\"256\"", "keyBits=\"99999\"");
    expectError(ErrorCode::Corrupt, "absurd");
}

TEST_F(AceDescription, AnAbsurdSpinCountIsRefusedNotComputed) {
    replaceInXml("spinCount=\"100000\"", "spinCount=\"4000000000\"");
    expectError(ErrorCode::Corrupt, "spin count");
}

TEST_F(AceDescription, UnknownCipherOrHashIsUnsupported) {
    replaceInXml("cipherAlgorithm=\"AES\"", "cipherAlgorithm=\"DES\"");
    expectError(ErrorCode::Unsupported, "not supported");
    SetUp();
    replaceInXml("hashAlgorithm=\"SHA512\"", "hashAlgorithm=\"WHIRL9\"");
    expectError(ErrorCode::Unsupported, "not supported");
}

}  // namespace
}  // namespace jet
